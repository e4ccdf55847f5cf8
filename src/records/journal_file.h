// The registration journal's file as the operating system sees it: every write goes straight
// to the kernel (no buffer of the program's own for a killed process to lose), and the data
// syncs run in the background, so the UI thread does not wait for the disk while it records.
#pragma once

#include <aio.h>
#include <sys/types.h>

#include <QString>
#include <cstddef>

namespace records {

// Every call returns 0 or the errno of the failure.
class TJournalFile {
  public:
    TJournalFile() = default;
    ~TJournalFile();
    TJournalFile(const TJournalFile&) = delete;
    TJournalFile& operator=(const TJournalFile&) = delete;

    // Creates `path`, never over an existing file, and syncs its folder so that the new name
    // survives a power loss.
    int Create(const QString& path);
    bool IsOpen() const { return fd_ >= 0; }

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

    // Waits for a background sync and closes the file.
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
