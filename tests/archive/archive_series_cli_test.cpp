// Series of archived tests on the engine of this test program: made and replaced by name from
// the command line, with their page and table; a changed or unknown file is said, never used;
// a stored series gives the same report whenever it is made again.
#include <gtest/gtest.h>

#include <QDir>

#include "archive/series_report.h"
#include "archive/station.h"
#include "archive_engine.h"
#include "archive_test_support.h"

namespace {

class ArchiveSeries : public ArchiveOnEngine {
  protected:
    // Three cubes of area 100 mm2 whose largest forces give 25, 30 and 20 N/mm2, archived.
    void SetUp() override {
        ArchiveOnEngine::SetUp();
        const int fmax[] = {2500, 3000, 2000};
        for (int i = 0; i < 3; ++i) {
            cubes_ << PathOf(QStringLiteral("DBCustom/cube%1.ktd").arg(i + 1));
            QDir().mkpath(QFileInfo(cubes_.back()).path());
            SaveTest(cubes_.back(), QStringLiteral("Куб-%1").arg(i + 1), {1000, fmax[i], 900});
        }
        ASSERT_EQ(
            RunArchiveProgram({"import", "--folder", folder_.Path(), PathOf("DBCustom")}).exitCode,
            0);
    }
    TProgramRun Series(const QStringList& options, const QStringList& files) const {
        return RunArchiveProgram(QStringList{"series", "--folder", folder_.Path(), "Серия-28"} +
                                 options + files);
    }
    std::optional<archive::TStoredSeries> Stored() const {
        std::optional<archive::TStoredSeries> series;
        EXPECT_TRUE(OpenOrFail(settings_)->FindSeries(QStringLiteral("Серия-28"), &series));
        return series;
    }

    QStringList cubes_;
};

TEST_F(ArchiveSeries, TheCommandMakesTheSeriesItsPageAndItsTableAndReplacesItByName) {
    const TProgramRun run =
        Series({"--rule", "best:2", "--pdf", PathOf("s.pdf"), "--csv", PathOf("s.csv")}, cubes_);
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(ReadBytes(PathOf("s.pdf")).startsWith("%PDF"));
    const QString csv = QString::fromUtf8(ReadBytes(PathOf("s.csv")));
    EXPECT_TRUE(csv.contains(QStringLiteral("n;;;;;3;3;"))) << csv.toStdString();
    EXPECT_TRUE(csv.contains(QStringLiteral("series strength;;;;;;27,500;"))) << "30 and 25";
    const auto made = Stored();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->ruleKind, QStringLiteral("best"));
    EXPECT_EQ(made->ruleK, 2);
    EXPECT_EQ(made->machine, QStringLiteral("П-125"));
    ASSERT_EQ(made->members.size(), 3u);

    ASSERT_EQ(Series({"--rule", "all"}, {cubes_[2], cubes_[0]}).exitCode, 0);
    const auto replaced = Stored();
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->ruleKind, QStringLiteral("all"));
    ASSERT_EQ(replaced->members.size(), 2u);
    std::vector<archive::TArchiveEntry> entries;
    ASSERT_TRUE(OpenOrFail(settings_)->FindEntries(
        {replaced->members[0].testId, replaced->members[1].testId}, &entries));
    EXPECT_EQ(entries[0].testName, QStringLiteral("Куб-3")) << "in the order given";
    EXPECT_EQ(entries[1].testName, QStringLiteral("Куб-1"));
}

TEST_F(ArchiveSeries, AChangedFileIsSaidAndCountsInNothing) {
    QByteArray bytes = ReadBytes(cubes_[1]);
    bytes[bytes.size() - 5] = char(bytes[bytes.size() - 5] ^ 0x40);
    WriteBytes(cubes_[1], bytes);
    const TProgramRun run = Series({"--rule", "all", "--csv", PathOf("s.csv")}, cubes_);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Куб-2")) || run.err.contains("Куб-2"));
    const QString csv = QString::fromUtf8(ReadBytes(PathOf("s.csv")));
    EXPECT_TRUE(csv.contains(QStringLiteral("series strength;;;;;;22,500;"))) << csv.toStdString();
}

TEST_F(ArchiveSeries, AFileTheArchiveDoesNotKnowIsAWrongCallAndMakesNoSeries) {
    SaveTest(PathOf("loose.ktd"), QStringLiteral("Куб-9"), {1000, 2000, 900});
    const TProgramRun run = Series({"--rule", "all"}, {cubes_[0], PathOf("loose.ktd")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.contains(QStringLiteral("не внесён")) ||
                run.err.contains(QStringLiteral("не внесён")));
    EXPECT_FALSE(Stored());
}

TEST_F(ArchiveSeries, AStoredSeriesGivesTheSameReportWhenMadeAgain) {
    const auto archive = OpenOrFail(settings_);
    std::vector<archive::TSeriesMember> members;
    for (const QString& cube : cubes_) {
        std::optional<archive::TArchiveEntry> entry;
        ASSERT_TRUE(archive->FindEntryOfFile(cube, archive::HostName(), &entry) && entry);
        members.push_back({entry->id, cube == cubes_[2], QStringLiteral("сколот край")});
    }
    const archive::TStoredSeries series{
        .name = QStringLiteral("Неделя"),
        .ruleKind = QStringLiteral("all"),
        .ruleK = 0,
        .madeAt = QDateTime(QDate(2026, 12, 4), QTime(12, 0), Qt::UTC),
        .userAccount = QStringLiteral("lab"),
        .hostName = archive::HostName(),
        .operatorName = QStringLiteral("Петров"),
        .machine = QStringLiteral("П-125"),
        .members = members};
    ASSERT_TRUE(archive->SaveSeries(series));
    std::optional<archive::TStoredSeries> back;
    ASSERT_TRUE(archive->FindSeries(series.name, &back));
    EXPECT_EQ(back, series);

    archive::TSeriesReport first;
    archive::TSeriesReport again;
    ASSERT_TRUE(archive::ReportOf(*archive, *back, &first));
    ASSERT_TRUE(archive::ReportOf(*archive, *back, &again));
    EXPECT_EQ(first.reportDate, QStringLiteral("04.12.2026")) << "the day it was made";
    EXPECT_EQ(first.operatorName, QStringLiteral("Петров"));
    ASSERT_EQ(first.specimens.size(), 3u);
    EXPECT_TRUE(first.specimens[2].excluded);
    EXPECT_EQ(first.specimens[2].reason, QStringLiteral("сколот край"));
    EXPECT_EQ(first.curves[0].forceN, (std::vector<int32_t>{1000, 2500, 900}));
    EXPECT_EQ(again.curves[1].forceN, first.curves[1].forceN);
}

}  // namespace
