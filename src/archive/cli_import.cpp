// ve17-archive import: every test file under the paths that the archive does not know yet.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "archive/cli_commands.h"
#include "archive/cli_output.h"
#include "archive/station.h"
#include "archive/test_file_entry.h"
#include "config/config.h"
#include "platform/profile.h"
#include "records/journal_folder.h"

namespace archive {
namespace {

constexpr size_t kBatch = 500;

QString Clean(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The test files of a folder and its subfolders. A link to a folder is not entered; a link or a
// special file of a test file's name is taken, to be refused with its reason. Journals of
// registrations are no saved tests.
void AddFolder(const QString& folder, QStringList& files) {
    QDirIterator found(folder, QDir::Files | QDir::System | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (found.hasNext()) {
        const QString path = found.next();
        const QString name = found.fileName();
        if (name.endsWith(QLatin1String(".ktd"), Qt::CaseInsensitive) &&
            !records::IsJournalFileName(name)) {
            files << Clean(path);
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
            files << Clean(path);
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

class TImporter {
  public:
    TImporter(TArchive& archive, QSet<QString> known)
        : archive_(archive),
          known_(std::move(known)),
          host_(HostName()),
          settings_(ReadIniRecord(
              platform::PrivateProfile(QFile::encodeName(IniFilePath()).toStdString()))),
          scratch_(std::make_unique<TSampleStore>()) {}

    // False when the archive refused to store a batch.
    bool Take(const QString& path) {
        if (known_.contains(path)) {
            ++counts_.known;
            return true;
        }
        const TTestFileEntry made = EntryFromTestFile(path, *scratch_);
        if (!made.ok) {
            PrintFields({path, made.reason});
            ++counts_.refused;
            return true;
        }
        batch_.push_back(ImportedEntry(made));
        known_.insert(path);
        return batch_.size() < kBatch || Flush();
    }

    bool Flush() {
        int added = 0;
        if (!batch_.empty() && !archive_.Insert(batch_, &added)) {
            return false;
        }
        counts_.added += added;
        counts_.known += static_cast<int>(batch_.size()) - added;
        batch_.clear();
        return true;
    }

    const TImportCounts& Counts() const { return counts_; }

  private:
    // An imported file was saved when it was last written, by its owner, on this PC.
    TArchiveEntry ImportedEntry(const TTestFileEntry& made) const {
        TArchiveEntry entry = made.entry;
        entry.savedAt = made.modified;
        entry.userAccount = AccountName(made.owner);
        entry.hostName = host_;
        entry.operatorName = settings_.NAME;
        entry.machine = settings_.MACHINE;
        entry.serNum = settings_.SER_NUM;
        entry.origin = TOrigin::Imported;
        return entry;
    }

    TArchive& archive_;
    QSet<QString> known_;
    QString host_;
    TIniFileData settings_;
    std::unique_ptr<TSampleStore> scratch_;
    std::vector<TArchiveEntry> batch_;
    TImportCounts counts_;
};

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
    TImporter importer(archive, std::move(*known));
    bool stored = true;
    {
        TProgress progress(QStringLiteral("Импорт"), files->size());
        for (qsizetype i = 0; i < files->size() && stored; ++i) {
            progress.Step(i);
            stored = importer.Take(files->at(i));
        }
        stored = stored && importer.Flush();
    }
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
