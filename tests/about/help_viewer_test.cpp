// The help command starts one viewer at a time, in the program's folder, and lets it live on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "about/help_viewer.h"

namespace {

class HelpViewerTest : public ::testing::Test {
  protected:
    // A stand-in viewer: notes its working folder in the log, runs for a while, notes its end.
    void UseStandIn(THelpViewer& viewer, const char* seconds = "1") {
        viewer.SetCommand(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("pwd -P >> \"$0\"; sleep $1; echo end >> \"$0\""),
             log, QLatin1String(seconds)});
    }

    QStringList LogLines() const {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static bool WaitForEnd(const THelpViewer& viewer) {
        return QTest::qWaitFor([&] { return !viewer.IsRunning(); }, 10000);
    }

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("viewer.log"));
    const QString programDir =
        QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath();
};

TEST_F(HelpViewerTest, OneViewerWhileItRunsAnotherAfterItEnded) {
    THelpViewer viewer;
    UseStandIn(viewer);
    viewer.Show();
    EXPECT_TRUE(viewer.IsRunning());
    viewer.Show();
    ASSERT_TRUE(WaitForEnd(viewer));
    EXPECT_EQ(LogLines(), (QStringList{programDir, QStringLiteral("end")}));

    viewer.Show();
    EXPECT_TRUE(viewer.IsRunning());
    ASSERT_TRUE(WaitForEnd(viewer));
    EXPECT_EQ(LogLines().count(programDir), 2);
}

TEST_F(HelpViewerTest, AViewerThatCannotStartIsNotRunning) {
    THelpViewer viewer;
    viewer.SetCommand(QStringLiteral("/nonexistent/ve17-help-viewer"), {});
    viewer.Show();
    EXPECT_FALSE(viewer.IsRunning());

    UseStandIn(viewer, "0");
    viewer.Show();
    ASSERT_TRUE(WaitForEnd(viewer));
    EXPECT_EQ(LogLines(), (QStringList{programDir, QStringLiteral("end")}));
}

TEST_F(HelpViewerTest, TheViewerOutlivesTheCommand) {
    {
        THelpViewer viewer;
        UseStandIn(viewer);
        viewer.Show();
        ASSERT_TRUE(viewer.IsRunning());
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return LogLines().contains(QStringLiteral("end")); }, 10000));
}

}  // namespace
