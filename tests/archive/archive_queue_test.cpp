// The local queue: entries kept whole until delivered, in the order they came; names and
// contents that another operator planted in the shared folder are neither followed nor trusted.
#include "archive/archive_queue.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "archive_test_support.h"

namespace {

using archive::TArchiveQueue;

class ArchiveQueue : public ::testing::Test {
  protected:
    QString PathOf(const QString& name) const { return dir_.filePath(QStringLiteral("q/") + name); }

    QTemporaryDir dir_;
    TArchiveQueue queue_{dir_.filePath(QStringLiteral("q"))};
};

TEST_F(ArchiveQueue, AnEntryComesBackWholeUntilItIsRemoved) {
    archive::TArchiveEntry sparse = SampleEntry(2);
    sparse.periodMs.reset();
    sparse.rmax.reset();
    sparse.areaMm2.reset();
    sparse.origin = archive::TOrigin::Imported;
    ASSERT_TRUE(queue_.Put(SampleEntry(1)).isEmpty());
    ASSERT_TRUE(queue_.Put(sparse).isEmpty());
    const archive::TQueueListing listing = queue_.Pending(10);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.unreadable, 0);
    QList<archive::TArchiveEntry> entries;
    for (const auto& queued : listing.entries) {
        entries << queued.entry;
    }
    EXPECT_TRUE(entries.contains(SampleEntry(1)));
    EXPECT_TRUE(entries.contains(sparse));
    EXPECT_TRUE(queue_.Remove(listing.entries[0].name));
    EXPECT_EQ(queue_.Count(), 1);
}

TEST_F(ArchiveQueue, TheOldestComesFirst) {
    QDir().mkpath(PathOf(""));
    WriteBytes(PathOf("1700000000002-b.entry"), archive::QueuedEntryBytes(SampleEntry(2)));
    WriteBytes(PathOf("1700000000001-z.entry"), archive::QueuedEntryBytes(SampleEntry(1)));
    WriteBytes(PathOf("1700000000003-a.entry"), archive::QueuedEntryBytes(SampleEntry(3)));
    const auto listing = queue_.Pending(2);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.entries[0].entry, SampleEntry(1));
    EXPECT_EQ(listing.entries[1].entry, SampleEntry(2));
}

TEST_F(ArchiveQueue, PlantedNamesAndContentsAreNeitherFollowedNorTrusted) {
    QDir().mkpath(PathOf(""));
    const QByteArray good = archive::QueuedEntryBytes(SampleEntry(1));
    // Not of the queue's names: never read, never removed.
    for (const char* name :
         {"x.entry", "170000000000-a.entry", "1700000000000-A.entry", ".ve17-abc.tmp"}) {
        WriteBytes(PathOf(name), good);
    }
    const QString outside = dir_.filePath(QStringLiteral("outside.entry"));
    WriteBytes(outside, good);
    ASSERT_TRUE(QFile::link(outside, PathOf("1700000000001-link.entry")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(PathOf("1700000000002-fifo.entry")).constData(), 0600), 0);
    QByteArray relative = good;
    relative.replace("/lab/", "lab/");
    QByteArray badHash = good;
    badHash.replace(QString(64, '1').toLatin1(), QString(64, 'g').toLatin1());
    QByteArray wrongType = good;
    wrongType.replace("\"ser_num\":17", "\"ser_num\":\"17\"");
    const QByteArray contents[] = {"{",     "[]",      good.left(good.size() / 2),       relative,
                                   badHash, wrongType, good + QByteArray(70 * 1024, ' ')};
    int n = 10;
    for (const QByteArray& bytes : contents) {
        WriteBytes(PathOf(QStringLiteral("17000000000%1-bad.entry").arg(n++)), bytes);
    }
    WriteBytes(PathOf("1700000000099-good.entry"), good);

    const archive::TQueueListing listing = queue_.Pending(100);
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name, QStringLiteral("1700000000099-good.entry"));
    EXPECT_EQ(listing.unreadable, 2 + static_cast<int>(std::size(contents)));
    EXPECT_FALSE(queue_.Remove(QStringLiteral("x.entry")));
    EXPECT_FALSE(queue_.Remove(QStringLiteral("../outside.entry")));
    EXPECT_TRUE(QFile::exists(PathOf("x.entry")));
    EXPECT_TRUE(QFile::exists(outside));
}

}  // namespace
