// The table of a series for a spreadsheet.
//
// One line per specimen: test name, marking, type, date, area in mm2, maximum force in kN,
// ultimate strength in N/mm2 and "учтён" or why it counts in nothing. Then the lines "n",
// "mean", "s", "cv %", "min", "max" and "series strength", each figure under its column: the
// force's in the sixth, the strength's in the seventh, the rule in the eighth. Every line has
// the eight fields.
//
// Made for a spreadsheet in a Russian locale: UTF-8 with a byte order mark (so that it is not
// read as code page 1251), fields separated by ';', numbers with the protocol's decimals and a
// decimal comma (so that they are read as numbers), lines ended by CR LF. A text holding ';',
// '"' or a line break is quoted, its '"' doubled; a text that a spreadsheet would take for a
// formula (beginning with '=', '+', '-', '@', a tab or a carriage return) gets a leading "'".
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "archive/series_statistics.h"

namespace archive {

QByteArray SeriesCsv(const std::vector<TSeriesSpecimen>& specimens, const TSeriesRule& rule);

// Writes SeriesCsv to the file with platform::WriteWholeFile: an existing file is replaced only
// by the complete new one. Returns the reason of a failure, an empty text on success.
QString WriteSeriesCsv(const QString& path, const std::vector<TSeriesSpecimen>& specimens,
                       const TSeriesRule& rule);

}  // namespace archive
