#include "platform/file_attributes.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <optional>

namespace platform {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kGroupWrite = S_IWGRP | S_IXGRP;
constexpr mode_t kOthersWrite = S_IWOTH | S_IXOTH;

std::optional<struct stat> StatOf(const QString& path) {
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

QString FolderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

// Those whom the folder lets replace or remove an entry of the given group may as well write
// it: the owner, the folder's group for an entry of that group, and others in a folder open to
// all. A sticky folder lets nobody but the owner replace an entry.
mode_t GrantedWriteBits(const struct stat& folder, gid_t group) {
    mode_t bits = S_IWUSR;
    if ((folder.st_mode & S_ISVTX) != 0) {
        return bits;
    }
    if ((folder.st_mode & kGroupWrite) == kGroupWrite && group == folder.st_gid) {
        bits |= S_IWGRP;
    }
    if ((folder.st_mode & kOthersWrite) == kOthersWrite) {
        bits |= S_IWOTH;
    }
    return bits;
}

// The mode of `file` with its write bits replaced: none, or those its folder grants.
using ModeRule = mode_t (*)(const struct stat& file, const struct stat& folder);

mode_t NormalMode(const struct stat& file, const struct stat& folder) {
    return (file.st_mode & 07777 & ~kWriteBits) | GrantedWriteBits(folder, file.st_gid);
}

mode_t ReadOnlyMode(const struct stat& file, const struct stat&) {
    return file.st_mode & 07777 & ~kWriteBits;
}

// Only the owner may change a file's bits; another operator of a shared folder may still
// replace the file, so he puts an identical copy of his own in its place, all at once.
bool ReplaceByOwnCopy(const QString& path, const struct stat& file, const struct stat& folder,
                      ModeRule rule) {
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = original.readAll();
    if (original.error() != QFileDevice::NoError) {
        return false;
    }
    QTemporaryFile copy(FolderOf(path) + QStringLiteral("/.ve17-XXXXXX"));
    struct stat copyInfo = {};
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush() ||
        ::fstat(copy.handle(), &copyInfo) != 0) {
        return false;
    }
    // The copy belongs to the group the folder gives new files.
    struct stat model = file;
    model.st_gid = copyInfo.st_gid;
    if (::fchmod(copy.handle(), rule(model, folder)) != 0 || ::fsync(copy.handle()) != 0 ||
        std::rename(QFile::encodeName(copy.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        return false;
    }
    copy.setAutoRemove(false);
    return true;
}

bool SetWriteBits(const QString& path, ModeRule rule) {
    const auto file = StatOf(path);
    const auto folder = StatOf(FolderOf(path));
    if (!file || !folder) {
        return false;
    }
    const mode_t mode = rule(*file, *folder);
    if ((file->st_mode & 07777) == mode) {
        return true;
    }
    if (::chmod(QFile::encodeName(path).constData(), mode) == 0) {
        return true;
    }
    return errno == EPERM && ReplaceByOwnCopy(path, *file, *folder, rule);
}

}  // namespace

bool SetFileAttributesNormal(const QString& path) {
    return SetWriteBits(path, NormalMode);
}

bool SetFileAttributesReadOnlySystem(const QString& path) {
    return SetWriteBits(path, ReadOnlyMode);
}

bool CreateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0777) != 0) {
        return errno == EEXIST && QFileInfo(path).isDir();
    }
    const auto folder = StatOf(path);
    const auto parent = StatOf(FolderOf(path));
    if (!folder || !parent) {
        return true;
    }
    // Those who may write into the folder need to list and enter it as well.
    const mode_t granted = GrantedWriteBits(*parent, folder->st_gid);
    mode_t mode = (folder->st_mode & 07777) | granted;
    if ((granted & S_IWGRP) != 0) {
        mode |= S_IRGRP | S_IXGRP;
    }
    if ((granted & S_IWOTH) != 0) {
        mode |= S_IROTH | S_IXOTH;
    }
    ::chmod(name.constData(), mode);
    return true;
}

}  // namespace platform
