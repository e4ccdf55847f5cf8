// The entry of a test file: made from the file's bytes as opening it reads them; damaged and
// foreign files refused with their reason.
#include "archive/test_file_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "archive_test_support.h"
#include "records/test_file.h"

namespace {

using archive::EntryFromTestFile;

class TestFileEntry : public ::testing::Test {
  protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    QByteArray Good() {
        SaveTest(PathOf("good.ktd"), QStringLiteral("Бетон"), {1000, 2500, 1800});
        return ReadBytes(PathOf("good.ktd"));
    }

    archive::TTestFileEntry EntryOf(const QString& name) {
        return EntryFromTestFile(PathOf(name), *store_);
    }

    QTemporaryDir dir_;
    std::unique_ptr<TSampleStore> store_ = std::make_unique<TSampleStore>();
};

TEST_F(TestFileEntry, DescribesAGoodFileAsOpeningItShowsIt) {
    const QByteArray bytes = Good();
    const archive::TTestFileEntry made = EntryOf("good.ktd");
    ASSERT_TRUE(made.ok) << made.reason.toStdString();
    const archive::TArchiveEntry& e = made.entry;
    auto opened = records::OpenTestFile(PathOf("good.ktd"), *store_);
    EXPECT_EQ(e.filePath, PathOf("good.ktd"));
    EXPECT_EQ(e.fileSize, 144);
    EXPECT_EQ(e.sha256, QString::fromLatin1(
                            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    EXPECT_EQ(e.testDate, QStringLiteral("14.03.2026"));
    EXPECT_EQ(e.testName, QStringLiteral("Бетон"));
    EXPECT_EQ(e.marking, QStringLiteral("М-1"));
    EXPECT_EQ(e.sampleType, QStringLiteral("куб"));
    EXPECT_EQ(e.areaText, QStringLiteral("100"));
    EXPECT_EQ(e.forceScale, 100);
    EXPECT_EQ(e.sampleCount, 3);
    EXPECT_EQ(e.periodMs, 100);
    EXPECT_EQ(e.fmaxN, 2500);
    EXPECT_DOUBLE_EQ(e.fmaxKn, 2.5);
    EXPECT_EQ(e.areaMm2, 100.0);
    EXPECT_EQ(e.rmax, 25.0);
    EXPECT_EQ(e.fmaxText, opened.info.Fmax);
    EXPECT_EQ(e.rmaxText, opened.info.Rmax);
    EXPECT_EQ(made.owner, ::geteuid());
    EXPECT_TRUE(made.modified.isValid());
}

TEST_F(TestFileEntry, ResultsFollowWhatTheFileHolds) {
    // Times off the registration's steps give no period; an area that is no number (only a
    // foreign header holds one) gives no strength.
    const QByteArray good = Good();
    QByteArray odd = good;
    const records::TRecordBytes late = records::RecordBytes(2500, 150);
    odd.replace(120 + 8, 8, QByteArray(late.data(), late.size()));
    odd.replace(108, 3, QByteArray("abc"));
    WriteBytes(PathOf("odd.ktd"), odd);
    const archive::TTestFileEntry made = EntryOf("odd.ktd");
    ASSERT_TRUE(made.ok) << made.reason.toStdString();
    EXPECT_EQ(made.entry.periodMs, std::nullopt);
    EXPECT_EQ(made.entry.areaMm2, std::nullopt);
    EXPECT_EQ(made.entry.rmax, std::nullopt);
    EXPECT_EQ(made.entry.rmaxText, QStringLiteral("-"));
}

TEST_F(TestFileEntry, DamagedAndForeignFilesAreRefusedWithTheirReason) {
    const QByteArray good = Good();
    QByteArray negative = good;
    negative.replace(20, 4, QByteArray("\xff\xff\xff\xff", 4));
    QByteArray unsigned_ = good;
    unsigned_[0] = 'k';
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"empty.ktd", {}, "короче заголовка"},
        {"header-only.ktd", good.left(119), "короче заголовка"},
        {"cut.ktd", good.left(140), "должна быть 144"},
        {"longer.ktd", good + "x", "должна быть 144"},
        {"unsigned.ktd", unsigned_, "подписи"},
        {"negative.ktd", negative, "число отсчётов (-1)"},
        {"huge.ktd", good + QByteArray(archive::kLargestTestFile, '\0'), "длиннее"},
    };
    for (const auto& c : cases) {
        WriteBytes(PathOf(c.name), c.bytes);
        const archive::TTestFileEntry made = EntryOf(c.name);
        EXPECT_FALSE(made.ok) << c.name;
        EXPECT_TRUE(made.reason.contains(QString::fromUtf8(c.reason)))
            << c.name << ": " << made.reason.toStdString();
    }
    ASSERT_TRUE(QFile::link(PathOf("good.ktd"), PathOf("link.ktd")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(PathOf("fifo.ktd")).constData(), 0600), 0);
    for (const char* name : {"link.ktd", "fifo.ktd", "absent.ktd"}) {
        const archive::TTestFileEntry made = EntryOf(name);
        EXPECT_FALSE(made.ok) << name;
        EXPECT_FALSE(made.reason.isEmpty()) << name;
    }
}

}  // namespace
