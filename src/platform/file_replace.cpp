#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

#include "platform/file_attributes.h"
#include "platform/regular_file.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

constexpr int kNameAttempts = 100;

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The mode of the new file: that of the regular file it replaces, or the one a new file gets.
mode_t ModeFor(int folder, const QByteArray& name, const struct stat& newFile) {
    struct stat old = {};
    if (::fstatat(folder, name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(old.st_mode)) {
        return old.st_mode & 07777;
    }
    struct stat folderInfo = {};
    if (::fstat(folder, &folderInfo) != 0) {
        return 0666 & ~CurrentUmask();
    }
    struct stat fresh = newFile;
    fresh.st_mode = (fresh.st_mode & ~07777) | (0666 & ~CurrentUmask());
    return NormalMode(fresh, folderInfo);
}

int WriteEvery(int fd, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        done += written;
    }
    return 0;
}

// A folder that cannot be synced at all (EINVAL) still holds the name; any other failure counts.
int SyncFolder(int folder) {
    return ::fsync(folder) == 0 || errno == EINVAL ? 0 : errno;
}

struct TNewFile {
    TUniqueFd fd;
    QByteArray name;
};

TNewFile CreateBeside(int folder, int& error) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name =
            ".ve17-" + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        TUniqueFd fd(::openat(folder, name.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.IsValid()) {
            return {std::move(fd), name};
        }
        if (errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    error = EEXIST;
    return {};
}

int Fill(int folder, const TNewFile& file, const QByteArray& target, const QByteArray& bytes,
         std::optional<mode_t> mode) {
    struct stat info = {};
    if (::fstat(file.fd.Get(), &info) != 0) {
        return errno;
    }
    const mode_t wanted = mode ? *mode : ModeFor(folder, target, info);
    if (const int error = WriteEvery(file.fd.Get(), bytes); error != 0) {
        return error;
    }
    if (::fchmod(file.fd.Get(), wanted) != 0 || ::fdatasync(file.fd.Get()) != 0) {
        return errno;
    }
    if (::renameat(folder, file.name.constData(), folder, target.constData()) != 0) {
        return errno;
    }
    return 0;
}

}  // namespace

QString WriteWholeFile(const QString& path, const QByteArray& bytes, std::optional<mode_t> mode) {
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.fileName());
    const TUniqueFd folder(::open(QFile::encodeName(info.absolutePath()).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsValid()) {
        return FileErrorText(errno);
    }
    int error = 0;
    const TNewFile file = CreateBeside(folder.Get(), error);
    if (!file.fd.IsValid()) {
        return FileErrorText(error);
    }
    error = Fill(folder.Get(), file, target, bytes, mode);
    if (error != 0) {
        ::unlinkat(folder.Get(), file.name.constData(), 0);
        return FileErrorText(error);
    }
    // Renamed: the old file is gone whatever the folder's sync says, but the save is not on the
    // disk until the folder is.
    if (const int synced = SyncFolder(folder.Get()); synced != 0) {
        return FileErrorText(synced);
    }
    return {};
}

}  // namespace platform
