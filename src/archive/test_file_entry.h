// The archive entry of a test file, made from the file's own bytes with the project's test-file
// code, so that import and the recorder's save describe a file alike, and its results read as
// opening the file shows them.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "archive/archive_entry.h"
#include "measure/sample_store.h"

namespace archive {

// The longest file this program writes: the header and a full sample store.
inline constexpr qint64 kLargestTestFile = 120 + 8LL * kStoreCapacity;

struct TTestFileEntry {
    bool ok = false;
    QString reason;  // why it is no test file of this program (damaged or foreign), when !ok
    // The file's fields (path, size, SHA-256), the header's texts and the results; the rest is
    // for the caller to fill.
    TArchiveEntry entry;
    QDateTime modified;  // UTC, of the file as it was read
    uid_t owner = 0;
};

// `scratch` receives the samples on the way (a store is too large for the stack).
// Reads the regular file at `path` (a link is not followed; at most kLargestTestFile + 1 bytes).
TTestFileEntry EntryFromTestFile(const QString& path, TSampleStore& scratch);

// The same from the bytes of a file already read, `size` being its whole length.
TTestFileEntry EntryFromBytes(const QString& path, const QByteArray& bytes, qint64 size,
                              TSampleStore& scratch);

// The name a file stands under in the archive: absolute, without "." or ".." steps (links are
// kept as named). Entries are found by it, so a file named in any way finds its entry.
QString ArchivedPath(const QString& path);

// SHA-256 in lower-case hex.
QString Sha256Hex(const QByteArray& bytes);

}  // namespace archive
