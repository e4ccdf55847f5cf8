#include "platform/program_dir.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace platform {
namespace {

QString& Override() {
    static QString dir;
    return dir;
}

QString WithSlash(QString dir) {
    if (!dir.endsWith('/')) {
        dir += '/';
    }
    return dir;
}

}  // namespace

QString ProgramDir() {
    if (!Override().isEmpty()) {
        return Override();
    }
    if (QCoreApplication::instance() != nullptr) {
        return WithSlash(QCoreApplication::applicationDirPath());
    }
    // Tools and tests without an application object still know their executable.
    return WithSlash(
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2));
}

void OverrideProgramDir(const QString& dir) {
    Override() = dir.isEmpty() ? QString() : WithSlash(QFileInfo(dir).absoluteFilePath());
}

}  // namespace platform
