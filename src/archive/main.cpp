// ve17-archive: the lab's archive of saved tests. With a command, from the command line (see
// UsageText); the window comes without one.
#include <QCoreApplication>

#include "archive/cli_arguments.h"
#include "archive/cli_commands.h"
#include "archive/cli_output.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        archive::PrintMessage(archive::UsageText());
        return archive::kExitFailure;
    }
    return archive::RunCommandLine(arguments);
}
