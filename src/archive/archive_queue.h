// The local queue: entries that the archive could not take (unreachable, locked, full) wait in
// a folder of the program's folder, one small file each, until they are delivered. Several
// operators share that folder, so any name in it may have been planted: only names of the
// queue's own pattern count, only regular files are read, never through a link and never more
// than an entry's bound, and their contents are checked like any outside bytes.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "archive/archive_entry.h"

namespace archive {

// An entry's file holds far less than this.
inline constexpr qint64 kMaxQueuedEntryBytes = 64 * 1024;

struct TQueuedEntry {
    QString name;  // of its file in the queue's folder
    TArchiveEntry entry;
};

class TQueueListing {
  public:
    std::vector<TQueuedEntry> entries;  // the oldest first
    int unreadable = 0;                 // files of the queue's names that hold no entry
};

class TArchiveQueue {
  public:
    explicit TArchiveQueue(QString folder) : folder_(std::move(folder)) {}

    // Writes the entry as a new file (the folder is made when missing); empty on success,
    // otherwise the reason.
    QString Put(const TArchiveEntry& entry) const;

    // At most `limit` of the waiting entries, the oldest first.
    TQueueListing Pending(int limit) const;

    // How many entries wait.
    int Count() const;

    // Removes a delivered entry's file; true when it is gone.
    bool Remove(const QString& name) const;

    const QString& Folder() const { return folder_; }

  private:
    std::vector<QString> Names() const;

    QString folder_;
};

// An entry as its queue file holds it, and back; nothing for bytes that hold no valid entry.
QByteArray QueuedEntryBytes(const TArchiveEntry& entry);
std::optional<TArchiveEntry> QueuedEntryOf(const QByteArray& bytes);

}  // namespace archive
