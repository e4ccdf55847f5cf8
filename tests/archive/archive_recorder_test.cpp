// The recorder's side on the engine of this test program: a saved test entered with what the
// window knew, an archive away during saves and back, nothing lost or stored twice.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>

#include "archive/archive_queue.h"
#include "archive/archive_recorder.h"
#include "archive/station.h"
#include "archive/test_file_entry.h"
#include "archive_engine.h"
#include "archive_test_support.h"
#include "records/test_file.h"
#include "support/wait.h"

namespace {

using archive::TArchiveRecorder;
using namespace std::chrono_literals;

class ArchiveRecorder : public ArchiveOnEngine {
  protected:
    // A saved test and what the window says of it.
    archive::TSaveFacts Saved(const QString& name,
                              const std::vector<int32_t>& forces = {1000, 2500, 1800}) {
        const QString path = PathOf(name);
        SaveTest(path, name, forces);
        return {path,
                QDateTime(QDate(2026, 3, 14), QTime(9, 30)),
                250,
                QStringLiteral("Иванов"),
                QStringLiteral("П-125"),
                17};
    }

    int Queued() const { return archive::TArchiveQueue(settings_.queueFolder).Count(); }

    QStringList ArchivedPaths() const {
        QStringList paths;
        for (const auto& entry : AllEntries(settings_)) {
            paths << entry.filePath;
        }
        paths.sort();
        return paths;
    }
};

TEST_F(ArchiveRecorder, ASavedTestIsEnteredWithWhatTheWindowKnew) {
    TArchiveRecorder recorder(settings_);
    QSignalSpy stored(&recorder, &TArchiveRecorder::Stored);
    const archive::TSaveFacts facts = Saved(QStringLiteral("Бетон.ktd"));
    recorder.Submit(facts);
    ASSERT_TRUE(WaitUntil([&] { return stored.count() == 1; }));

    const auto entries = AllEntries(settings_);
    ASSERT_EQ(entries.size(), 1u);
    const archive::TArchiveEntry& e = entries.front();
    auto store = std::make_unique<TSampleStore>();
    const TOpenedTest opened = records::OpenTestFile(facts.path, *store);
    EXPECT_EQ(e.filePath, QDir::cleanPath(facts.path));
    EXPECT_EQ(e.fileSize, 144);
    EXPECT_EQ(e.sha256, archive::Sha256Hex(ReadBytes(facts.path)));
    EXPECT_EQ(e.savedAt, facts.savedAt);
    EXPECT_EQ(e.periodMs, 250);
    EXPECT_EQ(e.operatorName, facts.operatorName);
    EXPECT_EQ(e.machine, facts.machine);
    EXPECT_EQ(e.serNum, 17);
    EXPECT_EQ(e.userAccount, archive::CurrentAccount());
    EXPECT_EQ(e.hostName, archive::HostName());
    EXPECT_EQ(e.testName, QStringLiteral("Бетон.ktd"));
    EXPECT_EQ(e.sampleCount, 3);
    // The results as opening the file shows them.
    EXPECT_EQ(e.fmaxText, opened.info.Fmax);
    EXPECT_EQ(e.rmaxText, opened.info.Rmax);
    EXPECT_EQ(e.fmaxText, QStringLiteral("2.500   "));
    EXPECT_EQ(e.rmax, 25.0);
    EXPECT_EQ(e.origin, archive::TOrigin::Saved);
}

TEST_F(ArchiveRecorder, SavesWhileTheArchiveIsAwayWaitAndGoInOnceWhenItIsBack) {
    TArchiveRecorder recorder(settings_, nullptr, 1h);
    QSignalSpy away(&recorder, &TArchiveRecorder::Unavailable);
    QSignalSpy back(&recorder, &TArchiveRecorder::Restored);
    QSignalSpy stored(&recorder, &TArchiveRecorder::Stored);
    const archive::TSaveFacts first = Saved(QStringLiteral("1.ktd"));
    recorder.Submit(first);
    ASSERT_TRUE(WaitUntil([&] { return stored.count() == 1; }));

    Engine().TakeDown(settings_);
    recorder.Submit(Saved(QStringLiteral("2.ktd")));
    recorder.Submit(Saved(QStringLiteral("3.ktd")));
    ASSERT_TRUE(WaitUntil([&] { return Queued() == 2; }));
    Engine().BringBack();
    recorder.RetryNow();
    ASSERT_TRUE(WaitUntil([&] { return back.count() == 1; }));
    EXPECT_EQ(away.count(), 1);  // told once for the whole outage
    EXPECT_TRUE(away.front().front().toString().startsWith(QStringLiteral("Архив недоступен")));
    EXPECT_EQ(Queued(), 0);

    // An entry delivered twice (another program delivering the same queue) is stored once.
    ASSERT_TRUE(
        archive::TArchiveQueue(settings_.queueFolder).Put(AllEntries(settings_).front()).isEmpty());
    recorder.RetryNow();
    ASSERT_TRUE(WaitUntil([&] { return Queued() == 0; }));
    recorder.Submit(Saved(QStringLiteral("4.ktd")));
    ASSERT_TRUE(WaitUntil([&] { return stored.count() == 2; }));
    EXPECT_EQ(ArchivedPaths(),
              QStringList({PathOf("1.ktd"), PathOf("2.ktd"), PathOf("3.ktd"), PathOf("4.ktd")}));
}

TEST_F(ArchiveRecorder, ASaveJustBeforeTheEndWaitsInTheQueueForTheNextRun) {
    Engine().TakeDown(settings_);
    {
        TArchiveRecorder recorder(settings_, nullptr, 1h);
        recorder.Submit(Saved(QStringLiteral("last.ktd")));
    }
    EXPECT_EQ(Queued(), 1);
    Engine().BringBack();
    TArchiveRecorder next(settings_, nullptr, 1h);
    ASSERT_TRUE(WaitUntil([&] { return Queued() == 0; }));
    EXPECT_EQ(ArchivedPaths(), QStringList{PathOf("last.ktd")});
}

TEST_F(ArchiveRecorder, AFileThatIsNoTestIsToldAndNotEntered) {
    TArchiveRecorder recorder(settings_);
    QSignalSpy refused(&recorder, &TArchiveRecorder::NotArchived);
    WriteBytes(PathOf("broken.ktd"), QByteArray(50, 'x'));
    recorder.Submit({PathOf("broken.ktd"), QDateTime::currentDateTime(), 100, {}, {}, 0});
    ASSERT_TRUE(WaitUntil([&] { return refused.count() == 1; }));
    EXPECT_TRUE(refused.front().front().toString().contains(QStringLiteral("broken.ktd")));
    EXPECT_TRUE(AllEntries(settings_).empty());
    EXPECT_EQ(Queued(), 0);
}

}  // namespace
