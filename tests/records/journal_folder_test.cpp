#include "records/journal_folder.h"

#include <gtest/gtest.h>

#include <QDir>

#include "journal_test_util.h"

namespace {

using JournalSetAside = JournalFixture;

TEST(JournalNames, TheDateOfTheMoveThenANumberForMoreInTheSameSecond) {
    EXPECT_EQ(records::SetAsideName(kMoveTime, 1), "~registration-2026-12-10_14-03-27.ktd");
    EXPECT_EQ(records::SetAsideName(kMoveTime, 2), "~registration-2026-12-10_14-03-27_2.ktd");
    EXPECT_EQ(records::SetAsideName(QDateTime(QDate(2027, 1, 2), QTime(9, 5, 7, 999)), 12),
              "~registration-2027-01-02_09-05-07_12.ktd");
    EXPECT_EQ(records::JournalPath("/lab/DBCustom"), "/lab/DBCustom/~registration.ktd");
}

// Newest by the date and number in the name: neither the order of the names (where "_10"
// comes before "_2") nor the order of creation.
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

    records::KeepNewestSetAside(Folder(), 20);

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

}  // namespace
