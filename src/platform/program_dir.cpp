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

// An installed program keeps its settings and tests apart from its executables, in a folder the
// build names: the operators share that one, and only root writes the executables' folder. A
// development build names none and keeps everything beside the executable.
QString StateFolder() {
#ifdef VE17_STATE_FOLDER
    return QStringLiteral(VE17_STATE_FOLDER);
#else
    return {};
#endif
}

}  // namespace

QString ProgramDir() {
    if (!Override().isEmpty()) {
        return Override();
    }
    if (!StateFolder().isEmpty()) {
        return WithSlash(StateFolder());
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
