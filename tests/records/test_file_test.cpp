#include "records/test_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "records/csv_export.h"
#include "records_test_util.h"
#include "support/shared_folder.h"

#include <QFileInfo>

namespace {

class TestFile : public ::testing::Test {
  protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    static TSpecimenData Header(int16_t forceScale = 100) {
        return FillForSave(QDate(2011, 12, 12), "Test-1", "M-7", "cube", "100", 3, forceScale);
    }

    // A file with the given header count followed by `records` records and `extra` bytes.
    QString FileWith(int32_t announced, int records, int extra = 0) {
        TSpecimenData header = Header();
        header.SampleCount = announced;
        const auto image = header.ToBytes();
        QByteArray bytes(reinterpret_cast<const char*>(image.data()), image.size());
        for (int i = 0; i < records; ++i) {
            const int32_t force = 1000 + i;
            const int32_t time = 100 * i;
            for (const int32_t value : {force, time}) {
                for (int shift = 0; shift < 32; shift += 8) {
                    bytes.append(static_cast<char>(static_cast<uint32_t>(value) >> shift));
                }
            }
        }
        bytes.append(QByteArray(extra, '\x7F'));
        const QString path = PathOf("made.ktd");
        WriteAll(path, bytes);
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(TestFile, ThreeSamplesMakeA144ByteFile) {
    const TSampleStore store = StoreOf({{0, 1000}, {100, -2500}, {200, 1800}});
    const QString path = PathOf("t.ktd");
    ASSERT_TRUE(records::SaveTestFile(path, Header(), store).ok);

    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 144);
    const auto header = Header().ToBytes();
    EXPECT_EQ(bytes.left(120), QByteArray(reinterpret_cast<const char*>(header.data()), 120));
    EXPECT_EQ(bytes.mid(120), QByteArray("\xE8\x03\x00\x00\x00\x00\x00\x00"
                                         "\x3C\xF6\xFF\xFF\x64\x00\x00\x00"
                                         "\x08\x07\x00\x00\xC8\x00\x00\x00",
                                         24));
}

TEST_F(TestFile, TheHeaderCountIsTheNumberOfRecordsWritten) {
    TSpecimenData header = Header();
    header.SampleCount = 99;
    const QString path = PathOf("t.ktd");
    ASSERT_TRUE(records::SaveTestFile(path, header, StoreOf({{0, 1}, {100, 2}})).ok);
    EXPECT_EQ(ReadAll(path).mid(20, 4), QByteArray("\x02\x00\x00\x00", 4));
}

TEST_F(TestFile, AFullTestRoundTripsByteForByte) {
    auto store = std::make_unique<TSampleStore>();
    std::mt19937 random(5);
    for (int i = 0; i < kStoreCapacity; ++i) {
        store->ForceN[i] = static_cast<int32_t>(random());
        store->TimeMs[i] = static_cast<int32_t>(random());
    }
    store->Count = kStoreCapacity;
    const QString first = PathOf("a.ktd");
    const QString second = PathOf("b.ktd");
    ASSERT_TRUE(records::SaveTestFile(first, Header(), *store).ok);

    auto opened = SentinelStore();
    const TOpenedTest result = records::OpenTestFile(first, *opened);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.warning.isEmpty());
    EXPECT_EQ(opened->Count, kStoreCapacity);
    EXPECT_EQ(opened->ForceN, store->ForceN);
    EXPECT_EQ(opened->TimeMs, store->TimeMs);

    ASSERT_TRUE(records::SaveTestFile(second, result.header, *opened).ok);
    EXPECT_EQ(ReadAll(first).size(), 120 + 8 * kStoreCapacity);
    EXPECT_EQ(ReadAll(second), ReadAll(first));
}

TEST_F(TestFile, OpeningShowsTheHeaderTextsAndTheLargestForce) {
    const QString path = PathOf("t.ktd");
    ASSERT_TRUE(
        records::SaveTestFile(path, Header(), StoreOf({{0, 1000}, {100, 2500}, {200, 1800}})).ok);
    auto store = SentinelStore();
    const TOpenedTest result = records::OpenTestFile(path, *store);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.header, Header());
    EXPECT_EQ(result.fmaxN, 2500);
    EXPECT_EQ(result.info.Date, "12.12.2011");
    EXPECT_EQ(result.info.Test, "Test-1");
    EXPECT_EQ(result.info.Mark, "M-7");
    EXPECT_EQ(result.info.Type, "cube");
    EXPECT_EQ(result.info.SQR, "100");
    EXPECT_EQ(result.info.Fmax, "2.500   ");
    EXPECT_EQ(result.info.Rmax, "25.000  ");
}

TEST_F(TestFile, AllNegativeForcesGiveAZeroMaximum) {
    const QString path = PathOf("t.ktd");
    ASSERT_TRUE(records::SaveTestFile(path, Header(), StoreOf({{0, -5}, {100, -1}, {200, -9}})).ok);
    auto store = SentinelStore();
    const TOpenedTest result = records::OpenTestFile(path, *store);
    EXPECT_EQ(result.fmaxN, 0);
    EXPECT_EQ(result.info.Fmax, "0.000   ");
}

TEST_F(TestFile, TheStoredForceScaleChangesNothing) {
    const TSampleStore samples = StoreOf({{0, 1000}, {100, 2500}, {200, 1800}});
    ASSERT_TRUE(records::SaveTestFile(PathOf("100.ktd"), Header(100), samples).ok);
    ASSERT_TRUE(records::SaveTestFile(PathOf("200.ktd"), Header(200), samples).ok);
    auto store100 = SentinelStore();
    auto store200 = SentinelStore();
    const TOpenedTest at100 = records::OpenTestFile(PathOf("100.ktd"), *store100);
    const TOpenedTest at200 = records::OpenTestFile(PathOf("200.ktd"), *store200);
    EXPECT_EQ(store100->ForceN, store200->ForceN);
    EXPECT_EQ(at100.info.Fmax, at200.info.Fmax);
    EXPECT_EQ(at100.info.Rmax, at200.info.Rmax);
}

struct CountCase {
    const char* name;
    int32_t announced;
    int records;
    int extraBytes;
    int32_t loaded;
    const char* warning;  // the part of the warning that gives the counts, or "" for none
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << c.name;
}

class TestFileCounts : public TestFile, public ::testing::WithParamInterface<CountCase> {};

TEST_P(TestFileCounts, LoadOnlyWholeRecordsUpToTheStoreCapacity) {
    const CountCase& c = GetParam();
    auto store = SentinelStore();
    const TOpenedTest result =
        records::OpenTestFile(FileWith(c.announced, c.records, c.extraBytes), *store);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.loaded, c.loaded);
    EXPECT_EQ(store->Count, c.loaded);
    for (int i = 0; i < c.loaded; ++i) {
        ASSERT_EQ(store->ForceN[i], 1000 + i);
        ASSERT_EQ(store->TimeMs[i], 100 * i);
    }
    // Entries past the loaded ones keep what they held.
    if (c.loaded < kStoreCapacity) {
        EXPECT_EQ(store->ForceN[c.loaded], -77);
        EXPECT_EQ(store->TimeMs[c.loaded], -88);
    }
    if (*c.warning == '\0') {
        EXPECT_TRUE(result.warning.isEmpty()) << result.warning.toStdString();
    } else {
        EXPECT_TRUE(result.warning.contains(QString::fromUtf8(c.warning)))
            << result.warning.toStdString();
        EXPECT_TRUE(result.warning.contains("made.ktd"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TestFileCounts,
                         ::testing::Values(CountCase{"Complete", 3, 3, 0, 3, ""},
                                           CountCase{"Truncated", 10, 4, 5, 4, "4 из 10"},
                                           CountCase{"HeaderOnly", 3, 0, 0, 0, "0 из 3"},
                                           CountCase{"NegativeCount", -7, 2, 0, 0, ""},
                                           CountCase{"OverCapacity", 40000, kStoreCapacity + 1, 0,
                                                     kStoreCapacity, "32767 из 40000"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TestFile, AFolderNamedWithAPercentSignIsNamedAsItIsInTheWarning) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("50%2"));
    const QString path = PathOf("50%2/short.ktd");
    ASSERT_TRUE(QFile::rename(FileWith(10, 4), path));
    auto store = SentinelStore();
    const TOpenedTest result = records::OpenTestFile(path, *store);
    EXPECT_EQ(result.warning, QStringLiteral("Из файла \"%1\" загружено 4 из 10 отсчётов.")
                                  .arg(QDir::toNativeSeparators(path)));
}

TEST_F(TestFile, FilesThatCannotBeReadLeaveTheStoreUntouched) {
    WriteAll(PathOf("empty.ktd"), {});
    WriteAll(PathOf("short.ktd"), QByteArray(119, '\1'));
    QDir(dir_.path()).mkdir("folder.ktd");
    for (const char* name : {"empty.ktd", "short.ktd", "missing.ktd", "folder.ktd"}) {
        auto store = SentinelStore();
        const TOpenedTest result = records::OpenTestFile(PathOf(name), *store);
        EXPECT_FALSE(result.ok) << name;
        EXPECT_TRUE(result.error.contains(name)) << result.error.toStdString();
        EXPECT_EQ(store->Count, 5) << name;
        EXPECT_EQ(store->ForceN[0], -77) << name;
    }
}

TEST_F(TestFile, ASaveIntoAMissingFolderFailsNamingTheFile) {
    WriteAll(PathOf("plain"), "x");
    for (const QString& path : {PathOf("nowhere/t.ktd"), PathOf("plain/t.ktd")}) {
        const TFileResult result = records::SaveTestFile(path, Header(), StoreOf({{0, 1}}));
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.contains(QDir::toNativeSeparators(path)))
            << result.error.toStdString();
    }
}

TEST_F(TestFile, AFailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    const QString path = PathOf("t.ktd");
    WriteAll(path, "old test");
    TFileResult result;
    {
        const FileSizeLimit fullDisk(64);
        result = records::SaveTestFile(path, Header(), StoreOf({{0, 1}, {100, 2}, {200, 3}}));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("t.ktd")) << result.error.toStdString();
    EXPECT_EQ(ReadAll(path), "old test");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"t.ktd"});
}

// In the shared program folder every operator of the group opens, replaces and exports the
// tests another one saved.
TEST(SharedTestFiles, AnotherOperatorOpensReplacesAndExportsATest) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    const QString test = shared.FilePath("t.ktd");
    const QString table = shared.FilePath("t.csv");
    const TSpecimenData header =
        FillForSave(QDate(2011, 12, 12), "Test-1", "M-7", "cube", "100", 3, 100);
    const auto saveAndExport = [&](int32_t force) {
        const TSampleStore store = StoreOf({{0, force}, {100, force + 1}, {200, force + 2}});
        return records::SaveTestFile(test, header, store).ok && records::ExportCsv(table, store).ok;
    };
    const auto opens = [&](int32_t force) {
        auto store = std::make_unique<TSampleStore>();
        return records::OpenTestFile(test, *store).ok && store->ForceN[0] == force;
    };

    ASSERT_TRUE(RunAs(kOperatorA, [&] { return saveAndExport(1000); }));
    ASSERT_TRUE(RunAs(kOperatorB, [&] { return opens(1000) && saveAndExport(2000); }));
    ASSERT_TRUE(RunAs(kOperatorA, [&] { return opens(2000) && saveAndExport(3000); }));
    for (const QString& path : {test, table}) {
        const struct stat file = StatOf(path);
        EXPECT_EQ(file.st_mode & 0777, 0664U) << path.toStdString();
        EXPECT_EQ(file.st_gid, kOperatorsGroup) << path.toStdString();
    }
}

// A link planted at a test's name by another operator: the victim's save replaces the link with
// his test and leaves the file it pointed at as it was; opening the link reads nothing through it.
TEST(SharedTestFiles, ASaveOverAPlantedLinkNeverWritesThroughIt) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    const QString home = shared.PrivateFolder(kOperatorB, QStringLiteral("home-b"));
    ASSERT_FALSE(home.isEmpty());
    const QString own = home + QStringLiteral("/results.txt");
    const QString test = shared.FilePath("T1.ktd");
    ASSERT_TRUE(RunAs(kOperatorB, [&] {
        QFile file(own);
        return file.open(QIODevice::WriteOnly) && file.write("B's own notes\n") > 0;
    }));
    ASSERT_TRUE(RunAs(kOperatorA, [&] { return QFile::link(own, test); }));

    const TSpecimenData header =
        FillForSave(QDate(2011, 12, 12), "Test-1", "M-7", "cube", "100", 3, 100);
    ASSERT_TRUE(RunAs(kOperatorB, [&] {
        auto store = std::make_unique<TSampleStore>();
        const bool linkRefused = !records::OpenTestFile(test, *store).ok;
        return linkRefused &&
               records::SaveTestFile(test, header, StoreOf({{0, 1}, {100, 2}, {200, 3}})).ok &&
               records::OpenTestFile(test, *store).ok && store->Count == 3;
    }));
    EXPECT_EQ(ReadAll(own), "B's own notes\n");
    EXPECT_FALSE(QFileInfo(test).isSymLink());
    EXPECT_EQ(StatOf(test).st_uid, kOperatorB.uid);
}

}  // namespace
