// The table of a test for a spreadsheet: time in ms and force in N, separated by a tab.
#pragma once

#include <QByteArray>
#include <QString>

#include "measure/sample_store.h"
#include "records/test_file.h"

namespace records {

// The whole table: the header line, then " %ld \t  %ld  \n" per sample (time, force).
QByteArray CsvTable(const TSampleStore& store);

// Writes CsvTable to the file; an existing file is replaced only once the new one is complete.
TFileResult ExportCsv(const QString& path, const TSampleStore& store);

}  // namespace records
