// Two operators of one press PC in a test: a program folder shared by a group (mode 2775, as
// the package makes it) and a way to run part of a test as either operator. The operators are
// plain numeric ids, no accounts; only root can take them on, so without root the tests that
// use them are skipped.
#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

struct Operator {
    uid_t uid;
};

constexpr gid_t kOperatorsGroup = 61000;
constexpr Operator kOperatorA{61001};
constexpr Operator kOperatorB{61002};

inline bool CanActAsOperators() {
    return ::geteuid() == 0;
}

#define SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON()                                             \
    if (!CanActAsOperators()) {                                                             \
        GTEST_SKIP() << "acting as two different operators needs root (setuid in a child)"; \
    }

// True when `work` returned true, run in a child process as the operator, a member of the
// operators' group only.
inline bool RunAs(Operator who, const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        const gid_t group = kOperatorsGroup;
        const bool ok = ::setgroups(1, &group) == 0 && ::setresgid(group, group, group) == 0 &&
                        ::setresuid(who.uid, who.uid, who.uid) == 0 && work();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// <scratch>/press: owned by root and the operators' group, mode 2775; the scratch folder
// around it lets everyone through.
class SharedFolder {
  public:
    SharedFolder() {
        const QByteArray outer = QFile::encodeName(scratch_.path());
        const QByteArray inner = QFile::encodeName(Path());
        ok_ = scratch_.isValid() && ::chmod(outer.constData(), 0711) == 0 && QDir().mkdir(Path()) &&
              ::chown(inner.constData(), 0, kOperatorsGroup) == 0 &&
              ::chmod(inner.constData(), 02775) == 0;
    }

    bool IsReady() const { return ok_; }
    QString Path() const { return scratch_.filePath(QStringLiteral("press")); }
    QString FilePath(const QString& name) const { return Path() + '/' + name; }
    // <scratch>/<name>: a folder of the operator's own beside the shared one, like his home,
    // that nobody else may enter. Empty when it cannot be made.
    QString PrivateFolder(Operator owner, const QString& name) const {
        const QString path = scratch_.filePath(name);
        const QByteArray encoded = QFile::encodeName(path);
        const bool made = QDir().mkdir(path) && ::chown(encoded.constData(), owner.uid, 0) == 0 &&
                          ::chmod(encoded.constData(), 0700) == 0;
        return made ? path : QString();
    }

  private:
    QTemporaryDir scratch_;
    bool ok_ = false;
};

inline struct stat StatOf(const QString& path) {
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}
