#include "records/journal_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "journal_test_util.h"
#include "platform/unique_fd.h"
#include "records/journal_recovery.h"
#include "support/shared_folder.h"

namespace {

using JournalSetAside = JournalFixture;

platform::TUniqueFd OpenFolder(const QString& path) {
    return platform::TUniqueFd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// Sets the modification time of a file, or of a link itself, to `seconds` since 1970.
bool SetModified(const QString& path, time_t seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) ==
           0;
}

// Set-aside journals of November 2026, day 1 to `days`, modified at `firstModified` + day.
QStringList WriteNovemberSetAside(const QString& folder, int days, time_t firstModified) {
    QStringList names;
    for (int day = 1; day <= days; ++day) {
        const QString name = records::SetAsideName(QDateTime(QDate(2026, 11, day), QTime(8, 0)), 1);
        const QString path = QDir(folder).filePath(name);
        WriteAll(path, "set aside");
        if (QFileInfo(path).size() == 9 && SetModified(path, firstModified + day)) {
            names << name;
        }
    }
    return names;
}

TEST(JournalNames, TheDateOfTheMoveThenANumberForMoreInTheSameSecond) {
    EXPECT_EQ(records::SetAsideName(kMoveTime, 1), "~registration-2026-12-10_14-03-27.ktd");
    EXPECT_EQ(records::SetAsideName(kMoveTime, 2), "~registration-2026-12-10_14-03-27_2.ktd");
    EXPECT_EQ(records::SetAsideName(QDateTime(QDate(2027, 1, 2), QTime(9, 5, 7, 999)), 12),
              "~registration-2027-01-02_09-05-07_12.ktd");
    EXPECT_EQ(records::JournalPath("/lab/DBCustom"), "/lab/DBCustom/~registration.ktd");
}

TEST(JournalNames, ATestFileNameIsAJournalsWhenItIsRegistrationSomethingKtd) {
    const struct {
        const char* name;
        bool journal;
    } cases[] = {{"~registration.ktd", true},
                 {"~registration-2026-12-10_14-03-27_2.ktd", true},
                 {"~registration (копия).ktd", true},
                 {"registration.ktd", false},
                 {"тест~registration.ktd", false},
                 {"~registration.ktd.csv", false},
                 {"~registration", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(records::IsJournalFileName(QString::fromUtf8(c.name)), c.journal) << c.name;
    }
}

// Of journals modified at one time, newest by the date and number in the name: neither the
// order of the names (where "_10" comes before "_2") nor the order of creation.
TEST_F(JournalSetAside, OnlyTheNewestOfItsOwnFilesAreKept) {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    QStringList setAside = {"~registration-2026-12-09_23-59-59.ktd"};
    for (int number = 1; number <= 12; ++number) {
        setAside << records::SetAsideName(kMoveTime, number)
                 << records::SetAsideName(kMoveTime.addSecs(1), number);
    }
    for (auto name = setAside.rbegin(); name != setAside.rend(); ++name) {
        WriteAll(InFolder(*name), "set aside");
    }
    const QStringList others = {"~registration.ktd",
                                "test.ktd",
                                "~registration-2026-12-01_10-00-00.csv",
                                "~registration-notes.ktd",
                                "~registration-2026-12-01_10-00-00_x.ktd",
                                "~registration-2026-12-01_10-00-00_0.ktd",
                                "~registration-2026-12-01_10-00.ktd"};
    for (const QString& name : others) {
        WriteAll(InFolder(name), "other");
    }
    for (const QString& name : setAside) {
        ASSERT_TRUE(SetModified(InFolder(name), 1800000000));
    }

    records::KeepNewestSetAside(OpenFolder(Folder()).Get(), 20);

    QStringList expected = others;
    for (const QString& name : setAside) {
        expected << name;
    }
    for (const char* removed :
         {"~registration-2026-12-09_23-59-59.ktd", "~registration-2026-12-10_14-03-27.ktd",
          "~registration-2026-12-10_14-03-27_2.ktd", "~registration-2026-12-10_14-03-27_3.ktd",
          "~registration-2026-12-10_14-03-27_4.ktd"}) {
        expected.removeOne(removed);
    }
    expected.sort();
    EXPECT_EQ(FilesIn(Folder()), expected);
}

TEST_F(JournalSetAside, SettingAJournalAsideDropsTheOldestBeyondTwenty) {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    for (int day = 1; day <= 20; ++day) {
        WriteAll(InFolder(records::SetAsideName(QDateTime(QDate(2026, 11, day), QTime(8, 0)), 1)),
                 "older");
    }
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 3);
    const QString moved = journal->SetAside(kMoveTime);

    EXPECT_EQ(moved, InFolder("~registration-2026-12-10_14-03-27.ktd"));
    const QStringList files = FilesIn(Folder());
    EXPECT_EQ(files.size(), 20);
    EXPECT_TRUE(files.contains("~registration-2026-12-10_14-03-27.ktd"));
    EXPECT_FALSE(files.contains("~registration-2026-11-01_08-00-00.ktd"));
    EXPECT_TRUE(files.contains("~registration-2026-11-02_08-00-00.ktd"));
}

// The clock was set back: the journal set aside now is dated, and modified, before the 20
// kept. It stays, and of the others the one modified longest ago goes, whatever its name says.
// A link or a folder of a set-aside name is no journal: never counted, never removed.
TEST_F(JournalSetAside, AfterTheClockWasSetBackTheJournalJustSetAsideStays) {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const time_t later = QDateTime::currentSecsSinceEpoch() + 10 * 24 * 3600;
    const QStringList november = WriteNovemberSetAside(Folder(), 20, later);
    ASSERT_EQ(november.size(), 20);
    // Modified in the reverse order of their names: the 20th of November first.
    for (int day = 1; day <= 20; ++day) {
        ASSERT_TRUE(SetModified(InFolder(november[day - 1]), later + 21 - day));
    }
    const QString outside = dir_.filePath("outside.ktd");
    WriteAll(outside, "not a journal");
    const QString link = InFolder("~registration-2001-01-01_00-00-00.ktd");
    ASSERT_TRUE(QFile::link(outside, link));
    ASSERT_TRUE(QDir().mkdir(InFolder("~registration-2001-01-01_00-00-01.ktd")));

    auto journal = MakeJournal();
    const QDateTime setBack(QDate(2026, 10, 1), QTime(9, 0));
    journal->Begin(JournalHeader(), 100, setBack);
    Record(*journal, 0, 3);
    const QString moved = journal->SetAside(setBack);

    EXPECT_EQ(moved, InFolder("~registration-2026-10-01_09-00-00.ktd"));
    EXPECT_TRUE(QFile::exists(moved));
    EXPECT_FALSE(QFile::exists(InFolder(november[19]))) << "modified longest ago";
    EXPECT_TRUE(QFile::exists(InFolder(november[0])));
    EXPECT_EQ(FilesIn(Folder()).filter(QStringLiteral("~registration-2026")).size(), 20);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadAll(outside), "not a journal");
    EXPECT_TRUE(QFileInfo(InFolder("~registration-2001-01-01_00-00-01.ktd")).isDir());
}

// A link at a set-aside name, even one pointing nowhere, takes that name: the journal goes to
// the next one, and nothing is written where the link points.
TEST_F(JournalSetAside, ALinkAtASetAsideNameTakesTheName) {
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const QString nowhere = dir_.filePath("nowhere.ktd");
    ASSERT_TRUE(QFile::link(nowhere, InFolder(records::SetAsideName(kMoveTime, 1))));
    auto journal = MakeJournal();
    journal->Begin(JournalHeader(), 100, kMoveTime);
    Record(*journal, 0, 3);

    EXPECT_EQ(journal->SetAside(kMoveTime), InFolder(records::SetAsideName(kMoveTime, 2)));
    EXPECT_EQ(records::ScanJournal(InFolder(records::SetAsideName(kMoveTime, 2))).Samples, 3);
    EXPECT_FALSE(QFileInfo::exists(nowhere));
    EXPECT_TRUE(QFileInfo(InFolder(records::SetAsideName(kMoveTime, 1))).isSymLink());
    EXPECT_FALSE(QFile::exists(journal->Path()));
    EXPECT_TRUE(journal->TakeFailure().isEmpty());
}

// Two operators of one press: each keeps the 20 newest of his own set-aside journals, however
// many the other has, and however old the other's are.
TEST(JournalSetAsideShared, EachOperatorKeepsTwentyOfHisOwn) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    const SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    const QString folder = shared.FilePath(QStringLiteral("DBCustom"));
    const auto fixedClock = [] { return std::chrono::milliseconds(0); };
    // A's first registration makes DBCustom, which B may then write into.
    ASSERT_TRUE(RunAs(kOperatorA, [&] {
        records::TRegistrationJournal journal(folder, fixedClock);
        journal.Begin(JournalHeader(), 100, kMoveTime);
        journal.Append(1, 0);
        journal.Discard();
        return journal.TakeFailure().isEmpty();
    }));
    const struct stat made = StatOf(folder);
    EXPECT_EQ(made.st_gid, kOperatorsGroup);
    EXPECT_EQ(made.st_mode & 07777, 02775);

    ASSERT_TRUE(RunAs(kOperatorB, [&] {
        for (int day = 1; day <= 20; ++day) {
            const QString path = QDir(folder).filePath(
                records::SetAsideName(QDateTime(QDate(2026, 10, day), QTime(8, 0)), 1));
            WriteAll(path, "B's");
            if (!SetModified(path, 946684800 + day)) {  // in 2000, before any of A's
                return false;
            }
        }
        return true;
    }));
    ASSERT_TRUE(RunAs(kOperatorA, [&] {
        if (WriteNovemberSetAside(folder, 20, 978307200).size() != 20) {  // in 2001
            return false;
        }
        records::TRegistrationJournal journal(folder, fixedClock);
        journal.Begin(JournalHeader(), 100, kMoveTime);
        for (int32_t i = 0; i < 3; ++i) {
            journal.Append(ForceOf(i), 100 * i);
        }
        return !journal.SetAside(kMoveTime).isEmpty();
    }));

    const QStringList files = FilesIn(folder);
    EXPECT_EQ(files.filter(QStringLiteral("~registration-2026-10-")).size(), 20) << "all of B's";
    EXPECT_EQ(files.filter(QStringLiteral("~registration-2026-11-")).size(), 19);
    EXPECT_FALSE(files.contains(QStringLiteral("~registration-2026-11-01_08-00-00.ktd")));
    EXPECT_TRUE(files.contains(QStringLiteral("~registration-2026-12-10_14-03-27.ktd")));
}

}  // namespace
