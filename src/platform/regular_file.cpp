#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

TUniqueFd OpenRegularFile(const QString& path, int flags, int& error) {
    // Non-blocking only for the open itself: a FIFO without a writer would wait forever.
    TUniqueFd fd(::open(QFile::encodeName(path).constData(),
                        flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsValid()) {
        error = errno;
        return fd;
    }
    struct stat info = {};
    if (::fstat(fd.Get(), &info) != 0) {
        error = errno;
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        error = kNotRegularFile;
        return {};
    }
    const int status = ::fcntl(fd.Get(), F_GETFL);
    if (status < 0 || ::fcntl(fd.Get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
        error = errno;
        return {};
    }
    error = 0;
    return fd;
}

TFileRead ReadRegularFile(const QString& path, qint64 limit) {
    TFileRead read;
    const TUniqueFd fd = OpenRegularFile(path, O_RDONLY, read.error);
    return fd.IsValid() ? ReadOpenFile(fd.Get(), limit) : read;
}

TFileRead ReadOpenFile(int fd, qint64 limit) {
    TFileRead read;
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        read.error = errno;
        return read;
    }
    read.size = info.st_size;
    // The length may change while it is read: what the file holds up to the bound counts.
    read.bytes.resize(std::clamp<qint64>(info.st_size, 0, limit));
    qint64 done = 0;
    while (done < read.bytes.size()) {
        const ssize_t got = ::pread(fd, read.bytes.data() + done,
                                    static_cast<size_t>(read.bytes.size() - done), done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            read.error = errno;
            read.bytes.clear();
            return read;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    read.bytes.truncate(done);
    return read;
}

QString FileErrorText(int error) {
    switch (error) {
        case kNotRegularFile:
            return QStringLiteral("это не обычный файл");
        case ELOOP:
            return QStringLiteral("это символическая ссылка, программа по ней не переходит");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace platform
