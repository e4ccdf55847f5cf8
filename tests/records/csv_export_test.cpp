#include "records/csv_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "records_test_util.h"

namespace {

const QByteArray kHeader("     T, ms    \t     F, N     \n");

TEST(CsvExport, OneTabSeparatedLinePerSample) {
    EXPECT_EQ(kHeader.size(), 30);
    EXPECT_EQ(records::CsvTable(StoreOf({{0, 1000}, {100, 2500}, {200, 1800}})),
              kHeader + " 0 \t  1000  \n 100 \t  2500  \n 200 \t  1800  \n");
    EXPECT_EQ(records::CsvTable(StoreOf({{0, -15}, {-1, 2147483647}})),
              kHeader + " 0 \t  -15  \n -1 \t  2147483647  \n");
    EXPECT_EQ(records::CsvTable(TSampleStore{}), kHeader);
}

TEST(CsvExport, ASecondExportReplacesTheWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.csv");
    ASSERT_TRUE(records::ExportCsv(path, StoreOf({{0, 1000}, {100, 2500}, {200, 1800}})).ok);
    ASSERT_TRUE(records::ExportCsv(path, StoreOf({{0, 7}})).ok);
    EXPECT_EQ(ReadAll(path), kHeader + " 0 \t  7  \n");
}

TEST(CsvExport, AFailedExportNamesTheFileAndKeepsTheOldOne) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("nowhere/t.csv");
    const TFileResult intoMissing = records::ExportCsv(missing, StoreOf({{0, 1}}));
    EXPECT_FALSE(intoMissing.ok);
    EXPECT_TRUE(intoMissing.error.contains(QDir::toNativeSeparators(missing)));

    const QString path = dir.filePath("t.csv");
    WriteAll(path, "old table");
    TFileResult result;
    {
        const FileSizeLimit fullDisk(16);
        result = records::ExportCsv(path, StoreOf({{0, 1}}));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("t.csv")) << result.error.toStdString();
    EXPECT_EQ(ReadAll(path), "old table");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"t.csv"});
}

}  // namespace
