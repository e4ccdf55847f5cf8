// Opening and reading files in a folder that several operators share. Any name there may be a
// link or a special file another user planted: a link in the last step is never followed, a
// FIFO or a device is never waited on, only a regular file is accepted, and a read never takes
// more than its caller's bound.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/unique_fd.h"

namespace platform {

// The error of a name that is there but is no regular file (a folder, a FIFO, a device, a
// socket). A symbolic link in the last step gives ELOOP.
inline constexpr int kNotRegularFile = -1;

// Opens the existing regular file at `path` with `flags` (O_RDONLY, O_WRONLY or O_RDWR, and
// others that create nothing); close-on-exec and blocking. On failure the descriptor is invalid
// and `error` holds the errno or kNotRegularFile.
TUniqueFd OpenRegularFile(const QString& path, int flags, int& error);

struct TFileRead {
    int error = 0;     // 0 when read; ENOENT for a missing file; an errno or kNotRegularFile
    QByteArray bytes;  // the start of the file, at most the bound
    qint64 size = 0;   // the file's length when it was opened, which may exceed the bound
};

// Reads at most `limit` bytes from the start of the regular file at `path`.
TFileRead ReadRegularFile(const QString& path, qint64 limit);
// The same from a descriptor open for reading, from its start, whatever its offset.
TFileRead ReadOpenFile(int fd, qint64 limit);

// The reason in words for the operator: what is wrong with a name that is not a regular file,
// or the system's text for the errno.
QString FileErrorText(int error);

}  // namespace platform
