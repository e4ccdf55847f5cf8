// One running copy per desktop: a second start is refused while the first goes on.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "app/main.h"
#include "app/startup.h"
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

    QProcess process;
};

TEST(SingleCopy, SecondStartIsRefusedWhileTheFirstRuns) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RunningCopy first(folder);
    ASSERT_TRUE(first.process.waitForStarted(5000));
    // The first copy takes the lock as it starts.
    for (int i = 0; i < 100 && platform::SingleInstance(kMainWindowTitle).TryAcquire(); ++i) {
        QTest::qWait(50);
    }
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

}  // namespace
