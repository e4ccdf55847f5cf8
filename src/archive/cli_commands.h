// The commands of ve17-archive; each returns the program's exit status.
#pragma once

#include <QStringList>
#include <memory>

#include "archive/archive.h"
#include "archive/cli_arguments.h"

namespace archive {

// Runs the command the arguments (after the program's name) call for.
int RunCommandLine(const QStringList& arguments);

// Import enters the files' entries this many at a time, one transaction each.
constexpr int kImportBatch = 500;

int RunImport(TArchive& archive, const TCommandLine& line);
int RunList(TArchive& archive, const TCommandLine& line);
int RunVerify(TArchive& archive, const TCommandLine& line);
// Needs a QApplication: the series' page is drawn by the program's chart.
int RunSeries(TArchive& archive, const TCommandLine& line);

}  // namespace archive
