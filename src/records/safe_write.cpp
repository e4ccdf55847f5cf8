#include "records/safe_write.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "platform/file_attributes.h"

namespace records {

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    const bool isNew = !QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    // commit() does not notice a short write of its buffer (a full disk), so the buffer is
    // flushed and checked first; the system's own reason is kept, Qt reports none for it.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int reason = errno;
        return reason != 0 ? QString::fromLocal8Bit(std::strerror(reason)) : file.errorString();
    }
    if (!file.commit()) {
        return file.errorString();
    }
    // A replaced file keeps its permissions; a new one gets those the folder grants, so in a
    // shared program folder the other operators can replace it too.
    if (isNew) {
        platform::SetFileAttributesNormal(path);
    }
    return {};
}

}  // namespace records
