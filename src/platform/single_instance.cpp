#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace platform {
namespace {

QString RuntimeFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

// The title holds blanks and Cyrillic letters; a digest of it makes a plain file name.
QString LockFileName(const QString& title) {
    const QByteArray digest = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("ve17-%1.lock").arg(QString::fromLatin1(digest.toHex().left(16)));
}

}  // namespace

SingleInstance::SingleInstance(const QString& title) : SingleInstance(title, RuntimeFolder()) {}

SingleInstance::SingleInstance(const QString& title, const QString& folder)
    : lock_(QDir(folder).filePath(LockFileName(title))) {
    // The running copy holds the lock for hours: only a dead owner makes it stale, never its age.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() {
    return lock_.isLocked() || lock_.tryLock(0);
}

}  // namespace platform
