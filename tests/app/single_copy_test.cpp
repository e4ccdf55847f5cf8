// One running copy per desktop: a second start is refused while the first goes on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "app/main.h"
#include "app/startup.h"
#include "records/journal_folder.h"
#include "records/registration_journal.h"
#include "support/fake_dialogs.h"

namespace {

// The real program, copied into a scratch folder so it reads its own VE17.ini there.
class RunningCopy {
  public:
    explicit RunningCopy(const QTemporaryDir& folder) {
        const QString program = folder.filePath(QStringLiteral("ve17"));
        QFile::copy(QStringLiteral(VE17_PROGRAM), program);
        QFile ini(folder.filePath(QStringLiteral("VE17.ini")));
        if (ini.open(QIODevice::WriteOnly)) {
            ini.write("[CONFIG]\r\nLINK_PORT=none\r\n");
        }
        process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process.start(program, {});
    }

    // Whether the copy started and took the single-copy lock, as it does first of all.
    bool StartedWithTheLock() {
        if (!process.waitForStarted(5000)) {
            return false;
        }
        for (int i = 0; i < 100; ++i) {
            if (!platform::SingleInstance(kMainWindowTitle).TryAcquire()) {
                return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

    QProcess process;
};

// The lock lives in the runtime folder of the session; this test and the copy it starts get a
// folder of their own, so they never meet a recorder the developer runs, nor another test run.
class SingleCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    void TearDown() override {
        if (saved.isNull()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", saved);
        }
    }

    QTemporaryDir runtime;
    QByteArray saved;
};

TEST_F(SingleCopy, SecondStartIsRefusedWhileTheFirstRuns) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(platform::SingleInstance(kMainWindowTitle).LockPath().startsWith(runtime.path()));
    RunningCopy first(folder);
    ASSERT_TRUE(first.StartedWithTheLock());
    platform::SingleInstance second(kMainWindowTitle);

    TFakeDialogs dialogs;
    EXPECT_TRUE(RefuseSecondCopy(second, dialogs));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("  Приложение уже работает !   ")});

    QTest::qWait(300);
    EXPECT_EQ(first.process.state(), QProcess::Running) << "the first copy is left untouched";
    ::kill(static_cast<pid_t>(first.process.processId()), SIGTERM);
    ASSERT_TRUE(first.process.waitForFinished(10000));
    EXPECT_EQ(first.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.process.exitCode(), 0) << "a terminated copy closes in order";

    platform::SingleInstance afterwards(kMainWindowTitle);
    EXPECT_TRUE(afterwards.TryAcquire()) << "the lock is released with the copy";
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A first copy that found a registration's journal sits at its recovery question; a second
// start meanwhile leaves that journal as it is.
TEST_F(SingleCopy, SecondStartLeavesTheJournalTheFirstCopyAsksAbout) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString dbCustom = folder.filePath(QStringLiteral("DBCustom"));
    {
        records::TRegistrationJournal killed(dbCustom);
        killed.Begin(
            FillForSave(QDate(2026, 12, 10), QStringLiteral("Куб-7"), QStringLiteral("М-1"),
                        QStringLiteral("куб"), QStringLiteral("2500"), 0, 100),
            100, QDateTime::currentDateTime());
        for (int32_t i = 0; i < 5; ++i) {
            killed.Append(1000 * i, 100 * i);
        }
    }
    const QString journal = records::JournalPath(dbCustom);
    const QByteArray journalBytes = ReadAll(journal);
    ASSERT_EQ(journalBytes.size(), 120 + 5 * 8);

    RunningCopy first(folder);
    ASSERT_TRUE(first.StartedWithTheLock());
    platform::SingleInstance second(kMainWindowTitle);
    TFakeDialogs dialogs;
    EXPECT_TRUE(RefuseSecondCopy(second, dialogs));
    EXPECT_TRUE(dialogs.questions.isEmpty());

    // Long enough for the first copy's window to come up and ask (about a second here).
    QTest::qWait(3000);
    EXPECT_EQ(first.process.state(), QProcess::Running);
    EXPECT_EQ(ReadAll(journal), journalBytes);
    EXPECT_EQ(QDir(dbCustom).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("~registration.ktd")});

    // Killed at its question, the first copy leaves the journal too.
    first.process.kill();
    ASSERT_TRUE(first.process.waitForFinished(10000));
    EXPECT_EQ(ReadAll(journal), journalBytes);
}

// A program the recorder starts (the help viewer) inherits none of its descriptors: each one is
// close-on-exec, the signal socket pair, the lock and Qt's own among them.
TEST_F(SingleCopy, EveryDescriptorOfTheRunningProgramClosesOnExec) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // What the test runner left open in this process is not the program's to pass on.
    for (const QString& fd : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files)) {
        if (fd.toInt() > 2) {
            ::fcntl(fd.toInt(), F_SETFD, ::fcntl(fd.toInt(), F_GETFD) | FD_CLOEXEC);
        }
    }
    RunningCopy first(folder);
    ASSERT_TRUE(first.StartedWithTheLock());
    QTest::qWait(1500);  // the window up, its timer running
    const QString fdinfo = QStringLiteral("/proc/%1/fdinfo").arg(first.process.processId());
    QStringList inherited;
    int seen = 0;
    for (const QString& fd : QDir(fdinfo).entryList(QDir::Files)) {
        if (fd.toInt() <= 2) {
            continue;  // the standard streams are meant to be passed on
        }
        ++seen;
        const QByteArray info = ReadAll(fdinfo + '/' + fd);
        const qsizetype at = info.indexOf("flags:");
        const uint flags = info.mid(at + 6).trimmed().split('\n').value(0).toUInt(nullptr, 8);
        if (at < 0 || (flags & O_CLOEXEC) == 0) {
            inherited
                << fd + QStringLiteral(" -> ") +
                       QFile::symLinkTarget(
                           QStringLiteral("/proc/%1/fd/%2").arg(first.process.processId()).arg(fd));
        }
    }
    EXPECT_GT(seen, 2) << "the program's own descriptors were found";
    EXPECT_TRUE(inherited.isEmpty()) << inherited.join(", ").toStdString();
    ::kill(static_cast<pid_t>(first.process.processId()), SIGTERM);
    ASSERT_TRUE(first.process.waitForFinished(10000));
}

}  // namespace
