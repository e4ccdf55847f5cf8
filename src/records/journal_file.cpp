#include "records/journal_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace records {

namespace {

// Best effort: a file system that cannot sync a folder still keeps the journal's data.
void SyncFolder(const QString& folder) {
    const int fd = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Calls `write(at, left, done)` until every byte is written; a system that takes only a part
// (a disk about to fill) is asked again for the rest, which then fails with the real reason.
template <typename TWrite>
int WriteEvery(const void* bytes, size_t size, TWrite write) {
    const auto* at = static_cast<const char*>(bytes);
    size_t done = 0;
    while (done < size) {
        const ssize_t written = write(at + done, size - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;  // nothing written would never end
        }
        done += static_cast<size_t>(written);
    }
    return 0;
}

}  // namespace

TJournalFile::~TJournalFile() {
    Close();
}

int TJournalFile::Create(const QString& path) {
    Close();
    fd_ = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        return errno;
    }
    SyncFolder(QFileInfo(path).absolutePath());
    return 0;
}

int TJournalFile::Append(const void* bytes, size_t size) {
    return WriteEvery(bytes, size,
                      [this](const char* at, size_t left, off_t) { return write(fd_, at, left); });
}

int TJournalFile::WriteAt(off_t offset, const void* bytes, size_t size) {
    return WriteEvery(bytes, size, [this, offset](const char* at, size_t left, off_t done) {
        return pwrite(fd_, at, left, offset + done);
    });
}

int TJournalFile::RequestDiskSync() {
    syncOwed_ = true;
    return Poll();
}

int TJournalFile::Poll() {
    const int finished = FinishedSync();
    if (finished == EINPROGRESS) {
        return 0;
    }
    if (finished != 0) {
        return finished;
    }
    return syncOwed_ ? StartBackgroundSync() : 0;
}

int TJournalFile::SyncNow() {
    if (const int error = WaitForBackgroundSync(); error != 0) {
        return error;
    }
    syncOwed_ = false;
    return fdatasync(fd_) == 0 ? 0 : errno;
}

void TJournalFile::Close() {
    if (fd_ < 0) {
        return;
    }
    WaitForBackgroundSync();
    close(fd_);
    fd_ = -1;
    syncOwed_ = false;
}

int TJournalFile::FinishedSync() {
    if (!syncRunning_) {
        return 0;
    }
    const int state = aio_error(&sync_);
    if (state == EINPROGRESS) {
        return EINPROGRESS;
    }
    syncRunning_ = false;
    aio_return(&sync_);
    return state < 0 ? errno : state;
}

int TJournalFile::WaitForBackgroundSync() {
    int finished = FinishedSync();
    while (finished == EINPROGRESS) {
        const aiocb* const running[] = {&sync_};
        aio_suspend(running, 1, nullptr);  // an interrupted wait simply waits again
        finished = FinishedSync();
    }
    return finished;
}

int TJournalFile::StartBackgroundSync() {
    sync_ = aiocb{};
    sync_.aio_fildes = fd_;
    sync_.aio_sigevent.sigev_notify = SIGEV_NONE;
    if (aio_fsync(O_DSYNC, &sync_) != 0) {
        return errno;
    }
    syncRunning_ = true;
    syncOwed_ = false;
    return 0;
}

}  // namespace records
