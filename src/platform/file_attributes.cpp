#include "platform/file_attributes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <optional>

#include "platform/file_replace.h"
#include "platform/profile.h"
#include "platform/regular_file.h"

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

mode_t ReadOnlyMode(const struct stat& file, const struct stat&) {
    return file.st_mode & 07777 & ~kWriteBits;
}

// Only the owner may change a file's bits; another operator of a shared folder may still
// replace the file, so he puts an identical copy of his own in its place, all at once. The copy
// is made of what the open file holds, never of what its name may point to meanwhile.
bool ReplaceByOwnCopy(const QString& path, int fd, const struct stat& file,
                      const struct stat& folder, ModeRule rule) {
    const TFileRead original = ReadOpenFile(fd, kMaxProfileBytes);
    if (original.error != 0 || original.size > kMaxProfileBytes) {
        return false;
    }
    const auto parent = StatOf(FolderOf(path));
    if (!parent) {
        return false;
    }
    // The copy belongs to the group the folder gives new files.
    struct stat model = file;
    model.st_gid = (parent->st_mode & S_ISGID) != 0 ? parent->st_gid : ::getegid();
    return WriteWholeFile(path, original.bytes, rule(model, folder)).isEmpty();
}

bool SetWriteBits(const QString& path, ModeRule rule) {
    int error = 0;
    const TUniqueFd fd = OpenRegularFile(path, O_RDONLY, error);
    struct stat file = {};
    const auto folder = StatOf(FolderOf(path));
    if (!fd.IsValid() || ::fstat(fd.Get(), &file) != 0 || !folder) {
        return false;
    }
    const mode_t mode = rule(file, *folder);
    if ((file.st_mode & 07777) == mode || ::fchmod(fd.Get(), mode) == 0) {
        return true;
    }
    return errno == EPERM && ReplaceByOwnCopy(path, fd.Get(), file, *folder, rule);
}

}  // namespace

mode_t NormalMode(const struct stat& file, const struct stat& folder) {
    return (file.st_mode & 07777 & ~kWriteBits) | GrantedWriteBits(folder, file.st_gid);
}

bool SetFileAttributesNormal(const QString& path) {
    return SetWriteBits(path, NormalMode);
}

bool SetFileAttributesReadOnlySystem(const QString& path) {
    return SetWriteBits(path, ReadOnlyMode);
}

bool CreateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const bool made = ::mkdir(name.constData(), 0777) == 0;
    if (!made && errno != EEXIST) {
        return false;
    }
    const TUniqueFd folder(
        ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info = {};
    if (!folder.IsValid() || ::fstat(folder.Get(), &info) != 0) {
        return false;
    }
    const auto parent = StatOf(FolderOf(path));
    if (!made || !parent) {
        return true;
    }
    // The parent's group carries over (a setgid parent gives it by itself), and those who may
    // write into the folder need to list and enter it as well.
    if (info.st_gid != parent->st_gid &&
        ::fchown(folder.Get(), static_cast<uid_t>(-1), parent->st_gid) == 0) {
        info.st_gid = parent->st_gid;
    }
    const mode_t granted = GrantedWriteBits(*parent, info.st_gid);
    mode_t mode = (info.st_mode & 07777) | granted;
    if ((granted & S_IWGRP) != 0) {
        mode |= S_IRGRP | S_IXGRP;
    }
    if ((granted & S_IWOTH) != 0) {
        mode |= S_IROTH | S_IXOTH;
    }
    ::fchmod(folder.Get(), mode);
    return true;
}

}  // namespace platform
