// The registration journal's file as the operating system sees it: every write goes straight
// to the kernel (no buffer of the program's own for a killed process to lose), and the data
// syncs run in the background, so the UI thread does not wait for the disk while it records.
//
// The file is known by the descriptor it was created or taken over with, never by its name
// alone: while it is open this copy holds its lock (flock, exclusive), which tells every other
// copy of the program, another operator's too, that the journal is in use.
#pragma once

#include <aio.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <QByteArray>
#include <cstddef>
#include <optional>

namespace records {

// Which file a name or a descriptor stands for.
struct TFileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const TFileId&) const = default;
};

TFileId IdOf(const struct stat& info);

// Every call returns 0 or the errno of the failure.
class TJournalFile {
  public:
    TJournalFile() = default;
    ~TJournalFile();
    TJournalFile(const TJournalFile&) = delete;
    TJournalFile& operator=(const TJournalFile&) = delete;

    // Creates `name` in the open folder, never over an existing name nor through a link, locks
    // it and syncs the folder so that the new name survives a power loss.
    int Create(int folder, const QByteArray& name);
    // Takes over the regular file at `name` (a link is not followed) and locks it. EWOULDBLOCK
    // while another copy holds its lock, ESTALE when the name is no longer the `expected` file,
    // platform::kNotRegularFile for a folder, a FIFO or a device.
    int Adopt(int folder, const QByteArray& name, const std::optional<TFileId>& expected);
    bool IsOpen() const { return fd_ >= 0; }
    // Whether `name` in the folder still is this file.
    bool IsAt(int folder, const QByteArray& name) const;
    // The file's length; -1 when it cannot be told.
    off_t Size() const;

    // Appends every byte: one write(2), or more when the system takes only a part.
    int Append(const void* bytes, size_t size);
    int WriteAt(off_t offset, const void* bytes, size_t size);

    // Asks for what is written so far to reach the disk (fdatasync) in the background. While
    // an earlier sync still runs, the new one is owed and starts at a later call of
    // RequestDiskSync or Poll once the earlier has ended. Returns a finished sync's failure.
    int RequestDiskSync();
    int Poll();
    // Waits for a background sync, then syncs everything written.
    int SyncNow();

    // Waits for a background sync and closes the file, which releases its lock.
    void Close();

  private:
    // EINPROGRESS while a background sync runs; otherwise the result of the one that ran.
    int FinishedSync();
    int WaitForBackgroundSync();
    int StartBackgroundSync();

    int fd_ = -1;
    aiocb sync_{};
    bool syncRunning_ = false;
    bool syncOwed_ = false;
};

}  // namespace records
