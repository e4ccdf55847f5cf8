#include "records/registration_journal.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <memory>
#include <vector>

#include "journal_test_util.h"
#include "records/journal_recovery.h"
#include "records/test_file.h"
#include "support/file_size_limit.h"
#include "support/write_protected_folder.h"

namespace {

using std::chrono::milliseconds;

using RegistrationJournal = JournalFixture;

void ExpectSamples(const TSampleStore& store, int32_t count) {
    ASSERT_EQ(store.Count, count);
    for (int32_t i = 0; i < count; ++i) {
        ASSERT_EQ(store.ForceN[i], ForceOf(i)) << "sample " << i;
        ASSERT_EQ(store.TimeMs[i], 100 * i) << "sample " << i;
    }
}

TEST_F(RegistrationJournal, TheFileIsATestFileWithThePeriodInItsFiller) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 250, kMoveTime);
    journal->Append(-7, 0);
    journal->Close();

    const QByteArray bytes = ReadAll(InFolder("~registration.ktd"));
    ASSERT_EQ(bytes.size(), 128);
    QByteArray expected(reinterpret_cast<const char*>(JournalHeader().ToBytes().data()), 120);
    expected.replace(18, 2, QByteArray("\xFA\x00", 2));    // 250 ms
    expected.replace(20, 4, QByteArray("\x01\0\0\0", 4));  // one sample
    expected.append("\xF9\xFF\xFF\xFF\0\0\0\0", 8);
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
}

TEST_F(RegistrationJournal, RecordedSamplesComeBackIdenticalThroughBothReaders) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 305);  // the last samples come after the last sync of the pace
    journal->Close();

    const QString path = journal->Path();
    const TJournalScan scan = records::ScanJournal(path);
    EXPECT_TRUE(scan.Offered());
    EXPECT_EQ(scan.Samples, 305);
    EXPECT_EQ(scan.PeriodMs, 100);
    EXPECT_TRUE(scan.Damage.isEmpty()) << scan.Damage.toStdString();
    EXPECT_EQ(scan.Header.DateString(), "10.12.2026");
    EXPECT_EQ(scan.Header.TestNameString(), QStringLiteral("Куб-7"));

    auto recovered = std::make_unique<TSampleStore>();
    const TOpenedTest test = records::RecoverJournal(path, *recovered);
    ASSERT_TRUE(test.ok) << test.error.toStdString();
    EXPECT_TRUE(test.warning.isEmpty()) << test.warning.toStdString();
    ExpectSamples(*recovered, 305);
    EXPECT_EQ(test.info.Mark, QStringLiteral("М-1"));
    EXPECT_EQ(test.fmaxN, ForceOf(303));  // 304 is one of the negative ones

    auto opened = std::make_unique<TSampleStore>();
    const TOpenedTest asTest = records::OpenTestFile(path, *opened);
    ASSERT_TRUE(asTest.ok);
    EXPECT_TRUE(asTest.warning.isEmpty()) << asTest.warning.toStdString();
    ExpectSamples(*opened, 305);
    EXPECT_EQ(asTest.header, test.header);
}

// What a killed program leaves is what it had handed to the system: a copy of the file taken
// while the registration runs.
TEST_F(RegistrationJournal, AKilledRegistrationLeavesEverySampleAppended) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 25);
    journal->Append(ForceOf(25), 2500);
    const QString copy = dir_.filePath("killed.ktd");
    ASSERT_TRUE(QFile::copy(journal->Path(), copy));

    EXPECT_LT(HeaderCount(copy), 26);  // the header trails by the samples since the last sync
    const TJournalScan scan = records::ScanJournal(copy);
    EXPECT_TRUE(scan.Damage.isEmpty()) << scan.Damage.toStdString();
    auto recovered = std::make_unique<TSampleStore>();
    ASSERT_TRUE(records::RecoverJournal(copy, *recovered).ok);
    ExpectSamples(*recovered, 26);
}

TEST_F(RegistrationJournal, ClosingTheWindowKeepsTheJournalWithItsCount) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    journal->Append(ForceOf(0), 0);
    journal->Append(ForceOf(1), 100);
    const QString path = journal->Path();
    journal.reset();
    EXPECT_EQ(HeaderCount(path), 2);
}

struct PaceCase {
    const char* name;
    int sampleEveryMs;
    bool timerTicks;  // the window's 100 ms timer calls Sync
    std::vector<int> syncsAtMs;
};

void PrintTo(const PaceCase& c, std::ostream* out) {
    *out << c.name;
}

class JournalPace : public JournalFixture, public ::testing::WithParamInterface<PaceCase> {};

// Over 5 s the header's count and a disk sync follow the samples once a second: never more
// often, never a second without while samples are waiting.
TEST_P(JournalPace, TheHeaderAndTheDiskFollowOnceASecond) {
    const PaceCase& c = GetParam();
    now_ = milliseconds(0);
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    const QString path = journal->Path();

    std::vector<int> syncsAt;
    int32_t appended = 0;
    for (int t = 0; t <= 5000; t += 50) {
        now_ = milliseconds(t);
        const int syncsBefore = journal->DiskSyncs();
        if (t % c.sampleEveryMs == 0) {
            journal->Append(ForceOf(appended), 100 * appended);
            ++appended;
        }
        if (c.timerTicks && t % 100 == 0) {
            journal->Sync();
        }
        if (journal->DiskSyncs() != syncsBefore) {
            ASSERT_EQ(journal->DiskSyncs(), syncsBefore + 1) << "at " << t << " ms";
            syncsAt.push_back(t);
            EXPECT_EQ(HeaderCount(path), appended) << "at " << t << " ms";
        }
    }
    EXPECT_EQ(syncsAt, c.syncsAtMs);
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalPace,
    ::testing::Values(
        PaceCase{"SamplesEvery100msWithTheTimer", 100, true, {1000, 2000, 3000, 4000, 5000}},
        PaceCase{"SamplesEvery100msAlone", 100, false, {1000, 2000, 3000, 4000, 5000}},
        PaceCase{"SamplesEvery700msWithTheTimer", 700, true, {1000, 2000, 3000, 4000, 5000}},
        PaceCase{"SamplesEvery700msAlone", 700, false, {1400, 2800, 4200}},
        PaceCase{"SamplesEvery3sWithTheTimer", 3000, true, {1000, 3000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistrationJournal, NoSampleNoSync) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    for (int tick = 0; tick < 50; ++tick) {
        now_ += milliseconds(100);
        journal->Sync();
    }
    EXPECT_EQ(journal->DiskSyncs(), 0);
}

TEST_F(RegistrationJournal, AFullDiskStopsTheJournalWhichRecoversWhatItWrote) {
    auto journal = MakeJournal();
    {
        const FileSizeLimit fullDisk(120 + 8 * 10 + 3);  // the 11th record is cut
        journal->Begin(JournalHeader(), 100, kMoveTime);
        Record(*journal, 0, 20);
    }
    const QString failure = journal->TakeFailure();
    EXPECT_TRUE(failure.startsWith(QStringLiteral("Журнал регистрации \"")))
        << failure.toStdString();
    EXPECT_TRUE(failure.contains(QDir::toNativeSeparators(journal->Path())));
    EXPECT_TRUE(journal->TakeFailure().isEmpty()) << "reported a second time";

    Record(*journal, 20, 40);  // the disk has room again, but the journal has stopped
    journal->Close();
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
    EXPECT_EQ(ReadAll(journal->Path()).size(), 203);

    auto recovered = std::make_unique<TSampleStore>();
    const TOpenedTest test = records::RecoverJournal(journal->Path(), *recovered);
    ASSERT_TRUE(test.ok);
    ExpectSamples(*recovered, 10);
    EXPECT_TRUE(test.warning.contains(QStringLiteral("Восстановлено отсчётов: 10")))
        << test.warning.toStdString();
}

TEST_F(RegistrationJournal, AFailedJournalStaysStoppedThroughACancel) {
    auto journal = MakeJournal();
    {
        const FileSizeLimit fullDisk(120 + 8 * 3);
        journal->Begin(JournalHeader(), 100, kMoveTime);
        Record(*journal, 0, 5);
    }
    EXPECT_FALSE(journal->TakeFailure().isEmpty());
    journal->Restart(kMoveTime);
    Record(*journal, 0, 5);
    EXPECT_FALSE(QFile::exists(journal->Path()));
    EXPECT_TRUE(QFile::exists(InFolder("~registration-2026-12-10_14-03-27.ktd")));
    EXPECT_TRUE(journal->TakeFailure().isEmpty());

    journal->Begin(JournalHeader(), 100, kMoveTime);  // the next registration tries again
    Record(*journal, 0, 2);
    journal->Close();
    EXPECT_EQ(HeaderCount(journal->Path()), 2);
}

struct FolderCase {
    const char* name;
    const char* folder;  // under the scratch directory
    bool works;
};

void PrintTo(const FolderCase& c, std::ostream* out) {
    *out << c.name;
}

class JournalFolder : public JournalFixture, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(JournalFolder, AMissingFolderIsCreatedUnlessItsParentIsMissingToo) {
    const FolderCase& c = GetParam();
    records::TRegistrationJournal journal(dir_.filePath(c.folder), [this] { return now_; });
    journal.Begin(JournalHeader(), 100, kMoveTime);
    journal.Append(1, 0);
    journal.Close();
    EXPECT_EQ(QFile::exists(journal.Path()), c.works);
    const QString failure = journal.TakeFailure();
    EXPECT_EQ(failure.isEmpty(), c.works) << failure.toStdString();
    if (!c.works) {
        EXPECT_TRUE(failure.contains(QDir::toNativeSeparators(journal.Path())));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, JournalFolder,
                         ::testing::Values(FolderCase{"FolderMissing", "DBCustom", true},
                                           FolderCase{"ParentMissing", "gone/DBCustom", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistrationJournal, AWriteProtectedFolderReportsOnceAndNothingIsWritten) {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const WriteProtectedFolder writeProtected(Folder());
    if (!writeProtected.IsProtected()) {
        GTEST_SKIP() << "this file system or user cannot write-protect a folder";
    }
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 30);
    journal->Close();
    const QString failure = journal->TakeFailure();
    EXPECT_TRUE(failure.contains(QDir::toNativeSeparators(journal->Path())))
        << failure.toStdString();
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
    EXPECT_TRUE(FilesIn(Folder()).isEmpty());
}

TEST_F(RegistrationJournal, AnOldJournalInAWriteProtectedFolderStaysAsItWas) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 4);
    journal->Close();
    const QByteArray old = ReadAll(journal->Path());

    const WriteProtectedFolder writeProtected(Folder());
    if (!writeProtected.IsProtected()) {
        GTEST_SKIP() << "this file system or user cannot write-protect a folder";
    }
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 4);
    EXPECT_FALSE(journal->TakeFailure().isEmpty());
    EXPECT_TRUE(journal->SetAside(kMoveTime).isEmpty());
    journal->Discard();
    EXPECT_FALSE(journal->TakeFailure().isEmpty());
    EXPECT_EQ(ReadAll(journal->Path()), old);
    EXPECT_EQ(FilesIn(Folder()), QStringList{"~registration.ktd"});
}

TEST_F(RegistrationJournal, ACancelSetsTheJournalAsideAndStartsAgainFromSampleZero) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 5);
    journal->Restart(kMoveTime);
    Record(*journal, 0, 3);
    journal->Close();

    auto cancelled = std::make_unique<TSampleStore>();
    ASSERT_TRUE(
        records::RecoverJournal(InFolder("~registration-2026-12-10_14-03-27.ktd"), *cancelled).ok);
    ExpectSamples(*cancelled, 5);
    auto current = std::make_unique<TSampleStore>();
    const TOpenedTest test = records::RecoverJournal(journal->Path(), *current);
    ASSERT_TRUE(test.ok);
    ExpectSamples(*current, 3);
    EXPECT_EQ(test.header.TestNameString(), QStringLiteral("Куб-7"));
}

TEST_F(RegistrationJournal, ANewStartSetsAnUnsavedJournalAsideAndDropsAnEmptyOne) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 4);
    journal->Close();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 3);
    journal->Close();
    journal->Begin(JournalHeader(), 100, kMoveTime);  // the same second once more
    journal->Begin(JournalHeader(), 100, kMoveTime);  // a journal without a sample goes
    EXPECT_TRUE(journal->SetAside(kMoveTime).isEmpty());

    EXPECT_EQ(FilesIn(Folder()), (QStringList{"~registration-2026-12-10_14-03-27.ktd",
                                              "~registration-2026-12-10_14-03-27_2.ktd"}));
    auto first = std::make_unique<TSampleStore>();
    ASSERT_TRUE(
        records::RecoverJournal(InFolder("~registration-2026-12-10_14-03-27.ktd"), *first).ok);
    ExpectSamples(*first, 4);
    auto second = std::make_unique<TSampleStore>();
    ASSERT_TRUE(
        records::RecoverJournal(InFolder("~registration-2026-12-10_14-03-27_2.ktd"), *second).ok);
    ExpectSamples(*second, 3);
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
}

// Another operator's copy of the program, started while this one records, reads the journal
// but takes it for what it is: in use. It neither offers, sets aside nor removes it, and its
// own registration goes without a journal, which it says once.
TEST_F(RegistrationJournal, AJournalAnotherCopyRecordsIntoIsLeftToIt) {
    auto first = MakeJournal();
    first->Begin(JournalHeader(), 100, kMoveTime);
    Record(*first, 0, 5);

    auto second = MakeJournal();
    const records::TJournalRead left = records::ReadJournal(second->Path());
    EXPECT_TRUE(left.scan.Locked);
    EXPECT_EQ(left.scan.Samples, 5);
    EXPECT_FALSE(second->TakeOver(left.file));
    EXPECT_TRUE(second->SetAside(kMoveTime).isEmpty());
    second->Discard();
    second->Begin(JournalHeader(), 100, kMoveTime);
    Record(*second, 0, 3);
    second->Close();
    const QString told = second->TakeFailure();
    EXPECT_TRUE(told.contains(QStringLiteral("ведёт другая копия программы")))
        << told.toStdString();
    second->Begin(JournalHeader(), 100, kMoveTime);
    EXPECT_TRUE(second->TakeFailure().isEmpty()) << "said once";

    Record(*first, 5, 8);
    first->Close();
    EXPECT_EQ(records::ScanJournal(first->Path()).Samples, 8);
    EXPECT_EQ(FilesIn(Folder()), QStringList{"~registration.ktd"});
    EXPECT_TRUE(first->TakeFailure().isEmpty());

    // Once the first copy has ended, its journal is a leftover like any other: set aside by
    // the next registration of the second.
    first.reset();
    second->Begin(JournalHeader(), 100, kMoveTime);
    second->Append(ForceOf(0), 0);
    second->Close();
    EXPECT_EQ(FilesIn(Folder()),
              (QStringList{"~registration-2026-12-10_14-03-27.ktd", "~registration.ktd"}));
    EXPECT_EQ(records::ScanJournal(InFolder("~registration-2026-12-10_14-03-27.ktd")).Samples, 8);
    EXPECT_EQ(records::ScanJournal(second->Path()).Samples, 1);
}

// The journal removes or renames only the file it made: once its name is another file, that
// file stays as it is.
TEST_F(RegistrationJournal, AJournalNoLongerAtItsNameIsLeftAlone) {
    for (const bool discard : {true, false}) {
        SCOPED_TRACE(discard ? "Discard" : "SetAside");
        QDir(Folder()).removeRecursively();
        auto journal = MakeJournal();
        journal->Begin(JournalHeader(), 100, kMoveTime);
        Record(*journal, 0, 4);
        journal->Close();
        ASSERT_TRUE(QFile::rename(journal->Path(), InFolder("moved.ktd")));
        WriteAll(journal->Path(), "another operator's file");

        if (discard) {
            journal->Discard();
        } else {
            EXPECT_TRUE(journal->SetAside(kMoveTime).isEmpty());
        }
        EXPECT_EQ(ReadAll(journal->Path()), "another operator's file");
        EXPECT_EQ(records::ScanJournal(InFolder("moved.ktd")).Samples, 4);
        EXPECT_EQ(FilesIn(Folder()), (QStringList{"moved.ktd", "~registration.ktd"}));
        EXPECT_TRUE(journal->TakeFailure().isEmpty());
    }
}

TEST_F(RegistrationJournal, ASavedTestsJournalIsRemoved) {
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 4);
    journal->Close();
    journal->Discard();
    EXPECT_FALSE(QFile::exists(journal->Path()));
    EXPECT_TRUE(journal->SetAside(kMoveTime).isEmpty());
    journal->Discard();
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
    EXPECT_TRUE(FilesIn(Folder()).isEmpty());
}

}  // namespace
