#include "about/help_viewer.h"

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>

THelpViewer::THelpViewer(QObject* parent)
    : QObject(parent), program_(DefaultProgram()), arguments_(DefaultArguments()) {}

THelpViewer::~THelpViewer() {
    Watch(0);
}

QString THelpViewer::DefaultProgram() {
    // The "assistant" on PATH may be a chooser for another Qt; take the one of this Qt first.
    const QString own =
        QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/assistant");
    return QFileInfo(own).isExecutable() ? own : QStringLiteral("assistant");
}

QStringList THelpViewer::DefaultArguments() {
    return {QStringLiteral("-collectionFile"), QStringLiteral("ve17.qhc")};
}

QProcessEnvironment THelpViewer::Environment(const QProcessEnvironment& inherited,
                                             const QString& translations) {
    QProcessEnvironment environment = inherited;
    if (QFileInfo::exists(translations + QStringLiteral("/assistant_ru.qm"))) {
        // LC_ALL outranks every other locale variable, LANGUAGE the list of message languages.
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
        environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("ru"));
    }
    return environment;
}

void THelpViewer::SetCommand(const QString& program, const QStringList& arguments) {
    program_ = program;
    arguments_ = arguments;
}

void THelpViewer::Show() {
    if (IsRunning()) {
        return;
    }
    // Detached, so that the viewer outlives the recorder; its pid is watched through a pidfd,
    // which stays bound to that process even after the pid is reused.
    QProcess process;
    process.setProgram(program_);
    process.setArguments(arguments_);
    process.setWorkingDirectory(QCoreApplication::applicationDirPath());
    process.setProcessEnvironment(Environment(QProcessEnvironment::systemEnvironment(),
                                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    qint64 pid = 0;
    Watch(process.startDetached(&pid) ? pid : 0);
}

bool THelpViewer::IsRunning() const {
    if (pidfd_ < 0) {
        return false;
    }
    pollfd exited{pidfd_, POLLIN, 0};
    return ::poll(&exited, 1, 0) == 0;
}

void THelpViewer::Watch(qint64 pid) {
    if (pidfd_ >= 0) {
        ::close(pidfd_);
    }
    // A viewer that has already ended (ESRCH) or cannot be watched counts as not running.
    pidfd_ = pid > 0 ? static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0)) : -1;
}
