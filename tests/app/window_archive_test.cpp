// The window's saves in the archive: each saved test is entered as the window showed it, and an
// archive that cannot take it is told once, never while a registration runs, while the test
// file itself is saved as always.
#include <QDir>
#include <QFile>

#include "archive/archive.h"
#include "archive/archive_queue.h"
#include "archive/archive_settings.h"
#include "support/wait.h"
#include "window_fixture.h"

namespace {

constexpr uint16_t kHalfScaleCode = 26214;  // 50 kN under the default FORCE_SCALE of 100

class ArchiveWindowTest : public DrivenWindowTest {
  protected:
    QByteArray IniText() const override {
        return "[CONFIG]\r\nLINK_PORT=none\r\n[USER]\r\nNAME=Ivanov\r\nMACHINE=P-125\r\n";
    }
    // Three samples of 50 kN recorded and saved under `name`.
    void RecordAndSave(const char* name) {
        Record(3, kHalfScaleCode);
        Click(Button("btStop"));
        dialogs.fileAnswers = {PathOf(name)};
        Click(Button("btSaveTest"));
        ASSERT_TRUE(QFile::exists(PathOf(name)));
    }
    std::vector<archive::TArchiveEntry> Entries() const {
        QString error;
        const auto store = archive::TArchive::Open(archive::ReadArchiveSettings(), &error);
        if (!store) {
            return {};
        }
        return store->Find({}).value_or(std::vector<archive::TArchiveEntry>{});
    }
    int Queued() const {
        return archive::TArchiveQueue(archive::ReadArchiveSettings().queueFolder).Count();
    }
};

TEST_F(ArchiveWindowTest, ASavedTestIsEnteredAsTheWindowShowedIt) {
    Edit("edTestName")->setText(QStringLiteral("Куб-7"));
    Edit("edSQR")->setText(QStringLiteral("2500"));
    RecordAndSave("cube.ktd");
    ASSERT_TRUE(WaitUntil([&] { return Entries().size() == 1; }));
    const archive::TArchiveEntry entry = Entries().front();
    EXPECT_EQ(QFileInfo(entry.filePath), QFileInfo(PathOf("cube.ktd")));
    EXPECT_EQ(entry.testName, QStringLiteral("Куб-7"));
    EXPECT_EQ(entry.operatorName, QStringLiteral("Ivanov"));
    EXPECT_EQ(entry.machine, QStringLiteral("P-125"));
    EXPECT_EQ(entry.sampleCount, 3);
    EXPECT_EQ(entry.periodMs, 100);
    EXPECT_EQ(entry.fmaxN, form->Recording().Store().ForceN[2]);
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

// The archive's database name is a folder another user planted: the archive cannot be opened.
TEST_F(ArchiveWindowTest, AnArchiveThatCannotTakeTheTestIsToldOnceAfterTheRegistration) {
    ASSERT_TRUE(QDir().mkpath(archive::ReadArchiveSettings().databasePath));
    RecordAndSave("first.ktd");
    Click(Button("btStart"));  // before the archive's answer reaches the window
    ASSERT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return Queued() == 1;
    }));
    QTest::qWait(100);
    EXPECT_TRUE(dialogs.notices.isEmpty()) << "no box while a registration runs";
    Click(Button("btStop"));
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(QFile::exists(PathOf("first.ktd")));

    Click(Button("btCancel"));
    RecordAndSave("second.ktd");
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return Queued() == 2;
    }));
    QTest::qWait(100);
    EXPECT_EQ(dialogs.notices.size(), 1) << "one outage, one notice";
}

}  // namespace
