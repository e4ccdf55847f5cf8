// The page of a series report, drawn by one function on a printer or into a PDF file, so that
// the file shows exactly the page that would have been printed.
//
// One landscape page: the lab's heading (the series, the date of the report, the press, the
// operator, the rule), the table of the specimens (those that count in nothing struck out, with
// why), the figures of the series, and the load-time curves of the counted specimens on one
// chart, each in its own colour and named in the legend.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <vector>

#include "archive/series_statistics.h"
#include "measure/sample_store.h"

class QPagedPaintDevice;

namespace archive {

// The samples of one test: time in ms and force in N, as its file holds them.
struct TSeriesCurve {
    std::vector<int32_t> timeMs;
    std::vector<int32_t> forceN;
};

TSeriesCurve CurveOf(const TSampleStore& store);

struct TSeriesReport {
    QString name;          // of the series
    QString reportDate;    // as printed, e.g. 12.12.2011
    QString machine;       // the press (MACHINE of the configuration)
    QString operatorName;  // NAME of the configuration
    TSeriesRule rule;
    std::vector<TSeriesSpecimen> specimens;  // in the series' order
    // curves[i] belongs to specimens[i]; one not given draws nothing.
    std::vector<TSeriesCurve> curves;
};

// The colour of the curve of the specimen in row `index` (from 0): a specimen keeps its colour
// whichever others are excluded. The first twelve are well apart from each other and from the
// black, grey and white of the page.
QColor CurveColour(int index);

// Turns the page to landscape and draws the report into its printable area. False when the
// device refuses the page (a printer that does not take the job). Needs a QApplication: the
// curves are drawn by the program's chart.
bool DrawSeriesPage(QPagedPaintDevice& device, const TSeriesReport& report);

// The same page as a one-page PDF file (A4, 1200 dots per inch). The file appears only once
// the page is complete; an existing one is replaced only by the complete new one. Returns the
// reason of a failure, an empty text on success.
QString WriteSeriesPdf(const QString& path, const TSeriesReport& report);

}  // namespace archive
