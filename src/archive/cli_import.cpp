// ve17-archive import: every test file under the paths that the archive does not know yet.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <future>

#include "archive/cli_commands.h"
#include "archive/cli_output.h"
#include "archive/station.h"
#include "archive/test_file_batch.h"
#include "archive/test_file_entry.h"
#include "config/config.h"
#include "platform/profile.h"
#include "records/journal_folder.h"

namespace archive {
namespace {

// The test files of a folder and its subfolders. A link to a folder is not entered; a link or a
// special file of a test file's name is taken, to be refused with its reason. Journals of
// registrations are no saved tests. The names found under a clean folder are clean.
void AddFolder(const QString& folder, QStringList& files) {
    QDirIterator found(ArchivedPath(folder), QDir::Files | QDir::System | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (found.hasNext()) {
        const QString path = found.next();
        const QString name = found.fileName();
        if (name.endsWith(QLatin1String(".ktd"), Qt::CaseInsensitive) &&
            !records::IsJournalFileName(name)) {
            files << path;
        }
    }
}

// The files the paths name, each once; a path that is a file is taken whatever its name.
std::optional<QStringList> CollectFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            AddFolder(path, files);
        } else if (info.exists() || info.isSymLink()) {
            files << ArchivedPath(path);
        } else {
            PrintMessage(QStringLiteral("ve17-archive: нет файла или папки «%1»").arg(path));
            return std::nullopt;
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

struct TImportCounts {
    int added = 0;
    int known = 0;
    int refused = 0;
};

// Takes the files a batch at a time: the next batch's files are read and hashed on other
// threads while this one's entries go into the archive.
class TImporter {
  public:
    TImporter(TArchive& archive, QSet<QString> known)
        : archive_(archive),
          known_(std::move(known)),
          host_(HostName()),
          settings_(ReadIniRecord(
              platform::PrivateProfile(QFile::encodeName(IniFilePath()).toStdString()))) {}

    // The next files from `next` on that the archive does not know, at most a batch.
    QStringList NextBatch(const QStringList& files, qsizetype& next) {
        QStringList batch;
        for (; next < files.size() && batch.size() < kImportBatch; ++next) {
            if (known_.contains(files[next])) {
                ++counts_.known;
            } else {
                batch << files[next];
            }
        }
        return batch;
    }

    // Names the files that are no test files and stores the others' entries; false when the
    // archive refused them.
    bool Store(const QStringList& paths, const std::vector<TTestFileEntry>& made) {
        std::vector<TArchiveEntry> entries;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const TTestFileEntry& file = made[static_cast<size_t>(i)];
            if (file.ok) {
                entries.push_back(ImportedEntry(file));
            } else {
                PrintFields({paths[i], file.reason});
                ++counts_.refused;
            }
        }
        int added = 0;
        if (!entries.empty() && !archive_.Insert(entries, &added)) {
            return false;
        }
        counts_.added += added;
        counts_.known += static_cast<int>(entries.size()) - added;
        return true;
    }

    const TImportCounts& Counts() const { return counts_; }

  private:
    // An imported file was saved when it was last written, by its owner, on this PC.
    TArchiveEntry ImportedEntry(const TTestFileEntry& made) {
        TArchiveEntry entry = made.entry;
        entry.savedAt = made.modified;
        entry.userAccount = Account(made.owner);
        entry.hostName = host_;
        entry.operatorName = settings_.NAME;
        entry.machine = settings_.MACHINE;
        entry.serNum = settings_.SER_NUM;
        entry.origin = TOrigin::Imported;
        return entry;
    }

    // The owners' names, looked up once each: a lookup reads the system's account database.
    QString Account(uid_t uid) {
        auto found = accounts_.find(uid);
        if (found == accounts_.end()) {
            found = accounts_.insert(uid, AccountName(uid));
        }
        return *found;
    }

    TArchive& archive_;
    QSet<QString> known_;
    QHash<uid_t, QString> accounts_;
    QString host_;
    TIniFileData settings_;
    TImportCounts counts_;
};

// Stores every file's entry, a batch at a time; false when the archive refused a batch.
bool ImportAll(TImporter& importer, const QStringList& files) {
    TProgress progress(QStringLiteral("Импорт"), files.size());
    qsizetype next = 0;
    QStringList batch = importer.NextBatch(files, next);
    auto made = std::async(std::launch::async, EntriesFromTestFiles, batch);
    while (!batch.isEmpty()) {
        const std::vector<TTestFileEntry> entries = made.get();
        const QStringList paths = std::move(batch);
        batch = importer.NextBatch(files, next);
        made = std::async(std::launch::async, EntriesFromTestFiles, batch);
        if (!importer.Store(paths, entries)) {
            return false;
        }
        progress.Step(next);
    }
    return true;
}

}  // namespace

int RunImport(TArchive& archive, const TCommandLine& line) {
    const std::optional<QStringList> files = CollectFiles(line.paths);
    if (!files) {
        return kExitFailure;
    }
    std::optional<QSet<QString>> known = archive.KnownPaths(HostName());
    if (!known) {
        PrintMessage(QStringLiteral("ve17-archive: %1").arg(archive.Error()));
        return kExitFailure;
    }
    // An import interrupted by a power loss is simply run again.
    archive.DeferDiskSyncs();
    TImporter importer(archive, std::move(*known));
    const bool stored = ImportAll(importer, *files);
    const TImportCounts& counts = importer.Counts();
    PrintMessage(QStringLiteral("Внесено в архив: %1; уже были в архиве: %2; не внесено "
                                "(повреждены или чужие): %3.")
                     .arg(counts.added)
                     .arg(counts.known)
                     .arg(counts.refused));
    if (!stored) {
        PrintMessage(QStringLiteral("ve17-archive: импорт прерван: %1").arg(archive.Error()));
        return kExitFailure;
    }
    return counts.refused > 0 ? kExitFileFault : kExitOk;
}

}  // namespace archive
