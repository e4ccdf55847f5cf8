// ve17-archive list: every archived test, the newest first, with its file's state; and
// ve17-archive verify: every archived file re-hashed, the changed and missing ones listed.
#include "archive/cli_commands.h"
#include "archive/cli_output.h"
#include "archive/file_state.h"
#include "archive/station.h"

namespace archive {
namespace {

struct TStateCounts {
    int ok = 0;
    int changed = 0;
    int missing = 0;
    int elsewhere = 0;

    void Add(TFileState state) {
        switch (state) {
            case TFileState::Ok:
                ++ok;
                break;
            case TFileState::Changed:
                ++changed;
                break;
            case TFileState::Missing:
                ++missing;
                break;
            case TFileState::Elsewhere:
                ++elsewhere;
                break;
        }
    }
    int Faults() const { return changed + missing; }
    QString Summary() const {
        return QStringLiteral(
                   "целы: %1; изменены: %2; нет на месте: %3; на других "
                   "компьютерах: %4.")
            .arg(ok)
            .arg(changed)
            .arg(missing)
            .arg(elsewhere);
    }
};

TStoredFile FileOf(const TArchiveEntry& entry) {
    return {entry.id, entry.filePath, entry.fileSize, entry.sha256, entry.hostName};
}

int Failed(TArchive& archive) {
    PrintMessage(QStringLiteral("ve17-archive: %1").arg(archive.Error()));
    return kExitFailure;
}

}  // namespace

int RunList(TArchive& archive, const TCommandLine& line) {
    TArchiveQuery query;
    query.text = line.filter;
    const auto entries = archive.Find(query);
    if (!entries) {
        return Failed(archive);
    }
    const QString host = HostName();
    TStateCounts counts;
    {
        TProgress progress(QStringLiteral("Проверка файлов"), entries->size());
        for (size_t i = 0; i < entries->size(); ++i) {
            progress.Step(i);
            const TArchiveEntry& e = (*entries)[i];
            const TFileState state = CheckFile(FileOf(e), host).state;
            counts.Add(state);
            PrintFields({e.testDate, e.testName, e.marking, e.sampleType, e.areaText,
                         e.fmaxText.trimmed(), e.rmaxText.trimmed(), e.filePath,
                         FileStateWord(state)});
        }
    }
    PrintMessage(QStringLiteral("Испытаний: %1; %2").arg(entries->size()).arg(counts.Summary()));
    return counts.Faults() > 0 ? kExitFileFault : kExitOk;
}

int RunVerify(TArchive& archive, const TCommandLine&) {
    const auto files = archive.Files();
    if (!files) {
        return Failed(archive);
    }
    const QString host = HostName();
    TStateCounts counts;
    {
        TProgress progress(QStringLiteral("Проверка файлов"), files->size());
        for (size_t i = 0; i < files->size(); ++i) {
            progress.Step(i);
            const TStoredFile& file = (*files)[i];
            const TFileCheck check = CheckFile(file, host);
            counts.Add(check.state);
            if (check.state == TFileState::Changed || check.state == TFileState::Missing) {
                PrintFields({FileStateWord(check.state), file.path, check.reason});
            }
        }
    }
    PrintMessage(
        QStringLiteral("Проверено файлов: %1; %2").arg(files->size()).arg(counts.Summary()));
    return counts.Faults() > 0 ? kExitFileFault : kExitOk;
}

}  // namespace archive
