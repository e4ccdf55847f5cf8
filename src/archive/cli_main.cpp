#include <QDir>
#include <QFileInfo>

#include "archive/archive_queue.h"
#include "archive/cli_commands.h"
#include "archive/cli_output.h"
#include "archive/queue_delivery.h"
#include "platform/program_dir.h"

namespace archive {
namespace {

int WrongCall(const QString& error) {
    PrintMessage(QStringLiteral("ve17-archive: %1\n\n%2").arg(error, UsageText()));
    return kExitFailure;
}

// Entries that waited in this folder's queue go in first, so that they are listed and checked
// too; a queue that cannot be delivered is only mentioned.
void DeliverWaiting(TArchive& archive, const TArchiveSettings& settings) {
    const TArchiveQueue queue(settings.queueFolder);
    if (queue.Count() == 0) {
        return;
    }
    const TDelivery delivery = DeliverQueue(archive, queue);
    if (delivery.delivered > 0) {
        PrintMessage(
            QStringLiteral("Из очереди внесено в архив испытаний: %1.").arg(delivery.delivered));
    }
    if (!delivery.Done()) {
        PrintMessage(QStringLiteral("Очередь не внесена в архив: %1").arg(delivery.error));
    }
}

}  // namespace

int RunCommandLine(const QStringList& arguments) {
    const TCommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        return WrongCall(line.error);
    }
    if (line.command == TCommand::Help) {
        PrintMessage(UsageText());
        return kExitOk;
    }
    if (!line.folder.isEmpty()) {
        if (!QFileInfo(line.folder).isDir()) {
            return WrongCall(QStringLiteral("нет папки «%1»").arg(line.folder));
        }
        platform::OverrideProgramDir(line.folder);
    }
    const TArchiveSettings settings = ReadArchiveSettings();
    QString error;
    const std::unique_ptr<TArchive> archive = TArchive::Open(settings, &error);
    if (!archive) {
        PrintMessage(QStringLiteral("ve17-archive: %1").arg(error));
        return kExitFailure;
    }
    DeliverWaiting(*archive, settings);
    switch (line.command) {
        case TCommand::Import:
            return RunImport(*archive, line);
        case TCommand::List:
            return RunList(*archive, line);
        case TCommand::Verify:
            return RunVerify(*archive, line);
        case TCommand::Series:
            return RunSeries(*archive, line);
        case TCommand::Help:
            break;
    }
    return kExitOk;
}

}  // namespace archive
