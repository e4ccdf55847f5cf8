// The command line of ve17-archive: a command, its options and its paths.
#pragma once

#include <QString>
#include <QStringList>

namespace archive {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFileFault = 1;  // a file damaged, foreign, changed or missing
inline constexpr int kExitFailure = 2;    // a wrong call, or an archive that cannot be reached

enum class TCommand { Help, Import, List, Verify, Series };

struct TCommandLine {
    TCommand command = TCommand::Help;
    QString folder;      // --folder: the program's folder; empty: the recorder's own
    QString filter;      // --filter (list)
    QStringList paths;   // import's paths; the test files of a series
    QString seriesName;  // series: the series made or replaced
    QString rule;        // series --rule: "all" or "best:K"
    QString pdfPath;     // series --pdf
    QString csvPath;     // series --csv
    QString error;       // what is wrong with the call; empty when it is right
};

// The arguments after the program's name.
TCommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();

}  // namespace archive
