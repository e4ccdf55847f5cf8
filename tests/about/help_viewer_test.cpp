// The help command starts one viewer at a time, in the program's folder, and lets it live on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcessEnvironment>
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

// Qt Assistant takes its language from the locale: the viewer is started with a Russian one
// where its Russian translation exists, and with the recorder's own environment otherwise.
TEST(HelpViewerEnvironment, RussianLocaleOnlyWhereTheViewerIsTranslated) {
    QTemporaryDir translated;
    QTemporaryDir untranslated;
    QFile translation(translated.filePath(QStringLiteral("assistant_ru.qm")));
    ASSERT_TRUE(translation.open(QIODevice::WriteOnly));
    translation.close();
    QProcessEnvironment inherited;
    inherited.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    inherited.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en_US:en"));
    inherited.insert(QStringLiteral("HOME"), QStringLiteral("/home/operator"));
    const struct {
        const char* name;
        QString translations;
        const char* locale;
        const char* languages;
    } rows[] = {
        {"translated", translated.path(), "ru_RU.UTF-8", "ru"},
        {"untranslated", untranslated.path(), "en_US.UTF-8", "en_US:en"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QProcessEnvironment environment =
            THelpViewer::Environment(inherited, row.translations);
        EXPECT_EQ(environment.value(QStringLiteral("LC_ALL")), QLatin1String(row.locale));
        EXPECT_EQ(environment.value(QStringLiteral("LANGUAGE")), QLatin1String(row.languages));
        EXPECT_EQ(environment.value(QStringLiteral("HOME")), QStringLiteral("/home/operator"));
    }
}

TEST_F(HelpViewerTest, TheViewerOfThisQtStartsInRussian) {
    ASSERT_TRUE(QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                  QStringLiteral("/assistant_ru.qm")))
        << "Qt's translations (package qt6-translations-l10n)";
    THelpViewer viewer;
    viewer.SetCommand(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("echo \"$LC_ALL $LANGUAGE\" >> \"$0\""), log});
    viewer.Show();
    ASSERT_TRUE(WaitForEnd(viewer));
    EXPECT_EQ(LogLines(), QStringList{QStringLiteral("ru_RU.UTF-8 ru")});
}

}  // namespace
