// ve17-archive: the lab's archive of saved tests. With a command, from the command line (see
// UsageText); without one (or with only --folder), its window.
#include <QCoreApplication>

#include "archive/cli_commands.h"
#include "archive/window_main.h"

int main(int argc, char** argv) {
    if (QString folder; archive::IsWindowCall(archive::ArgumentsOf(argc, argv), &folder)) {
        return archive::RunArchiveWindow(argc, argv, folder);
    }
    QCoreApplication app(argc, argv);
    return archive::RunCommandLine(QCoreApplication::arguments().mid(1));
}
