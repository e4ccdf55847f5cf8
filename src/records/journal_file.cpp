#include "records/journal_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/regular_file.h"
#include "platform/unique_fd.h"

namespace records {

namespace {

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

TFileId IdOf(const struct stat& info) {
    return {info.st_dev, info.st_ino};
}

TJournalFile::~TJournalFile() {
    Close();
}

int TJournalFile::Create(int folder, const QByteArray& name) {
    Close();
    platform::TUniqueFd fd(::openat(folder, name.constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.IsValid() || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        return errno;
    }
    fd_ = fd.Release();
    // Best effort: a file system that cannot sync a folder still keeps the journal's data.
    ::fsync(folder);
    return 0;
}

int TJournalFile::Adopt(int folder, const QByteArray& name,
                        const std::optional<TFileId>& expected) {
    Close();
    // Nothing is read or written through it: non-blocking, a FIFO at the name is never waited on.
    platform::TUniqueFd fd(::openat(folder, name.constData(),
                                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info = {};
    if (!fd.IsValid() || ::fstat(fd.Get(), &info) != 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return platform::kNotRegularFile;
    }
    if (expected && IdOf(info) != *expected) {
        return ESTALE;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        return errno;
    }
    fd_ = fd.Release();
    return 0;
}

bool TJournalFile::IsAt(int folder, const QByteArray& name) const {
    struct stat held = {};
    struct stat named = {};
    return fd_ >= 0 && ::fstat(fd_, &held) == 0 &&
           ::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           IdOf(held) == IdOf(named);
}

off_t TJournalFile::Size() const {
    struct stat info = {};
    return fd_ >= 0 && ::fstat(fd_, &info) == 0 ? info.st_size : -1;
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
