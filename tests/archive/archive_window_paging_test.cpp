// The archive window over 100,000 entries: the count comes whole, the rows a page at a time as
// the view shows them.
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "archive_test_support.h"
#include "archive_window_fixture.h"
#include "support/wait.h"

namespace {

constexpr int kEntries = 100000;

TEST_F(ArchiveWindow, AHundredThousandEntriesAreReadOnlyAPageAtATimeAsTheViewShowsThem) {
    std::vector<archive::TArchiveEntry> entries;
    entries.reserve(kEntries);
    for (int n = 0; n < kEntries; ++n) {
        entries.push_back(SampleEntry(n));
    }
    Store(entries);
    entries.clear();

    archive::TArchiveWindow& window = Open();
    ASSERT_EQ(Rows().rowCount(), kEntries);
    const qint64 page = archive::TArchiveRows::kPageSize;
    EXPECT_EQ(Rows().RowsFetched(), page);

    window.Table().scrollToBottom();
    EXPECT_TRUE(WaitUntil([&] { return Rows().EntryAt(kEntries - 1) != nullptr; }));
    EXPECT_EQ(Rows().EntryAt(kEntries - 1)->testName, QStringLiteral("Испытание 0"));
    window.Table().verticalScrollBar()->setValue(kEntries / 2);
    EXPECT_TRUE(WaitUntil([&] { return Rows().EntryAt(kEntries / 2) != nullptr; }));
    EXPECT_EQ(Rows().EntryAt(kEntries / 2)->testName,
              QStringLiteral("Испытание %1").arg(kEntries / 2 - 1));
    // The first page, and the one or two pages each view showed.
    EXPECT_LE(Rows().RowsFetched(), 5 * page);
}

}  // namespace
