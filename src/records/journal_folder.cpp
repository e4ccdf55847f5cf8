#include "records/journal_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/regular_file.h"
#include "platform/unique_fd.h"

namespace records {

namespace {

// More journals set aside within one second than this would be a fault of the caller.
constexpr int kMaxNumberPerSecond = 999;

const QRegularExpression& SetAsidePattern() {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^~registration-(\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2})(?:_([1-9]\d{0,2}))?\.ktd$)"));
    return pattern;
}

struct TSetAsideFile {
    bool spared;
    struct timespec modified;
    QString date;
    int number;
    QByteArray name;
};

// Newest first: the spared one, then by the modification time, then by the date and number.
bool IsNewer(const TSetAsideFile& a, const TSetAsideFile& b) {
    return std::tie(a.spared, a.modified.tv_sec, a.modified.tv_nsec, a.date, a.number) >
           std::tie(b.spared, b.modified.tv_sec, b.modified.tv_nsec, b.date, b.number);
}

struct TCloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// This operator's set-aside journals in the folder.
std::vector<TSetAsideFile> OwnSetAside(int folder, const QString& spared) {
    std::vector<TSetAsideFile> found;
    platform::TUniqueFd listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::unique_ptr<DIR, TCloseDir> dir(listing.IsValid() ? ::fdopendir(listing.Get())
                                                                : nullptr);
    if (!dir) {
        return found;
    }
    listing.Release();  // the listing closes it
    while (const dirent* entry = ::readdir(dir.get())) {
        const QString name = QFile::decodeName(entry->d_name);
        const QRegularExpressionMatch match = SetAsidePattern().match(name);
        struct stat info = {};
        if (!match.hasMatch() ||
            ::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        const int number = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
        found.push_back({name == spared, info.st_mtim, match.captured(1), number, entry->d_name});
    }
    return found;
}

}  // namespace

QString JournalPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kJournalFileName));
}

QString SetAsideName(const QDateTime& when, int number) {
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    const QString suffix = number > 1 ? QStringLiteral("_%1").arg(number) : QString();
    return QStringLiteral("~registration-%1%2.ktd").arg(stamp, suffix);
}

bool IsJournalFileName(const QString& fileName) {
    return fileName.startsWith(QStringLiteral("~registration")) &&
           fileName.endsWith(QStringLiteral(".ktd"));
}

TMovedAside MoveAside(int folder, const QDateTime& when) {
    for (int number = 1; number <= kMaxNumberPerSecond; ++number) {
        const QString target = SetAsideName(when, number);
        const QByteArray name = QFile::encodeName(target);
        if (::renameat2(folder, kJournalFileName, folder, name.constData(), RENAME_NOREPLACE) ==
            0) {
            return {target, {}};
        }
        if (errno != EEXIST) {
            return {{}, platform::FileErrorText(errno)};
        }
    }
    return {{}, QStringLiteral("все имена этой секунды заняты")};
}

void KeepNewestSetAside(int folder, int keep, const QString& spared) {
    std::vector<TSetAsideFile> setAside = OwnSetAside(folder, spared);
    if (static_cast<int>(setAside.size()) <= keep) {
        return;
    }
    std::sort(setAside.begin(), setAside.end(), IsNewer);
    for (auto old = setAside.begin() + keep; old != setAside.end(); ++old) {
        ::unlinkat(folder, old->name.constData(), 0);
    }
}

}  // namespace records
