// A write-protected folder in a test: the folder is made immutable, so that no file can be
// created, renamed or removed in it, whoever runs the test (root ignores permission bits).
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <QString>

class WriteProtectedFolder {
  public:
    explicit WriteProtectedFolder(const QString& path)
        : fd_(open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY)) {
        int flags = 0;
        if (fd_ < 0 || ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) {
            return;
        }
        flags |= FS_IMMUTABLE_FL;
        protected_ = ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ~WriteProtectedFolder() {
        int flags = 0;
        if (protected_ && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    WriteProtectedFolder(const WriteProtectedFolder&) = delete;
    WriteProtectedFolder& operator=(const WriteProtectedFolder&) = delete;

    // False where the file system or the test's privileges do not allow the protection.
    bool IsProtected() const { return protected_; }

  private:
    int fd_ = -1;
    bool protected_ = false;
};
