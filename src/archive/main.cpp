// ve17-archive: the lab's archive of saved tests. With a command, from the command line (see
// UsageText); without one (or with only --folder), its window.
#include <QApplication>
#include <cstring>

#include "archive/cli_commands.h"
#include "archive/window_main.h"

namespace {

// A series' page is drawn by the program's chart, a widget: the command needs a QApplication,
// which needs no screen.
int RunSeriesCommand(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return archive::RunCommandLine(QCoreApplication::arguments().mid(1));
}

}  // namespace

int main(int argc, char** argv) {
    if (QString folder; archive::IsWindowCall(archive::ArgumentsOf(argc, argv), &folder)) {
        return archive::RunArchiveWindow(argc, argv, folder);
    }
    if (argc > 1 && std::strcmp(argv[1], "series") == 0) {
        return RunSeriesCommand(argc, argv);
    }
    QCoreApplication app(argc, argv);
    return archive::RunCommandLine(QCoreApplication::arguments().mid(1));
}
