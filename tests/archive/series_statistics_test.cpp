// The figures of a series against values worked out by hand.
#include "archive/series_statistics.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "archive/series_texts.h"

namespace {

using archive::TSeriesRule;
using archive::TSeriesSpecimen;
using archive::TSpecimenFile;

TSeriesSpecimen Specimen(int32_t fmaxN, const char* area = "100") {
    TSeriesSpecimen specimen;
    specimen.testName = QStringLiteral("Куб");
    specimen.areaText = QString::fromLatin1(area);
    specimen.fmaxN = fmaxN;
    return specimen;
}

TSeriesSpecimen Excluded(int32_t fmaxN, const char* reason) {
    TSeriesSpecimen specimen = Specimen(fmaxN);
    specimen.excluded = true;
    specimen.reason = QString::fromUtf8(reason);
    return specimen;
}

TSeriesSpecimen WithFile(int32_t fmaxN, TSpecimenFile state) {
    TSeriesSpecimen specimen = Specimen(fmaxN);
    specimen.file = state;
    return specimen;
}

constexpr TSeriesRule kAll{TSeriesRule::TKind::kAll, 0};
constexpr TSeriesRule Best(int k) {
    return {TSeriesRule::TKind::kBest, k};
}

void ExpectOptional(const std::optional<double>& actual, const std::optional<double>& expected,
                    double tolerance) {
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (expected) {
        EXPECT_NEAR(*actual, *expected, tolerance);
    }
}

TEST(SeriesStatisticsTest, StrengthFiguresMatchTheHandWorkedValues) {
    const std::nullopt_t none = std::nullopt;
    const struct {
        const char* what;
        std::vector<TSeriesSpecimen> specimens;
        TSeriesRule rule;
        int n;
        double mean;
        std::optional<double> s, cv;
        double min, max;
        std::optional<double> series;
        std::vector<bool> inSeries;
    } cases[] = {
        {"one specimen: its value, no spread",
         {Specimen(2500)},
         kAll,
         1,
         25,
         none,
         none,
         25,
         25,
         25,
         {true}},
        {"two: s = sqrt(50)",
         {Specimen(2000), Specimen(3000)},
         kAll,
         2,
         25,
         7.0710678,
         28.284271,
         20,
         30,
         25,
         {true, true}},
        {"three, all",
         {Specimen(2400), Specimen(2500), Specimen(2600)},
         kAll,
         3,
         25,
         1,
         4,
         24,
         26,
         25,
         {true, true, true}},
        {"three, the two strongest",
         {Specimen(2400), Specimen(2500), Specimen(2600)},
         Best(2),
         3,
         25,
         1,
         4,
         24,
         26,
         25.5,
         {false, true, true}},
        {"six: squares 70 / 5",
         {Specimen(2000), Specimen(2200), Specimen(2400), Specimen(2600), Specimen(2800),
          Specimen(3000)},
         kAll,
         6,
         25,
         3.7416574,
         14.966630,
         20,
         30,
         25,
         std::vector<bool>(6, true)},
        {"six, the four strongest",
         {Specimen(3000), Specimen(2000), Specimen(2800), Specimen(2200), Specimen(2600),
          Specimen(2400)},
         Best(4),
         6,
         25,
         3.7416574,
         14.966630,
         20,
         30,
         27,
         {true, false, true, false, true, true}},
        {"equal values",
         {Specimen(2500), Specimen(2500), Specimen(2500)},
         kAll,
         3,
         25,
         0,
         0,
         25,
         25,
         25,
         {true, true, true}},
        {"one excluded counts in nothing",
         {Specimen(2400), Excluded(3500, "сколот край"), Specimen(2600)},
         kAll,
         2,
         25,
         1.4142136,
         5.6568542,
         24,
         26,
         25,
         {true, false, true}},
        {"ties inside the k strongest",
         {Specimen(3000), Specimen(2500), Specimen(3000), Specimen(2000)},
         Best(2),
         4,
         26.25,
         4.7871355,
         18.236707,
         20,
         30,
         30,
         {true, false, true, false}},
        {"a tie at the cut: the earlier one is taken",
         {Specimen(2500), Specimen(3000), Specimen(2500), Specimen(2000)},
         Best(2),
         4,
         25,
         4.0824829,
         16.329932,
         20,
         30,
         27.5,
         {true, true, false, false}},
        {"different areas: each its own",
         {Specimen(2500, "100"), Specimen(4500, "150"), Specimen(8000, "400")},
         kAll,
         3,
         25,
         5,
         20,
         20,
         30,
         25,
         {true, true, true}},
        {"a missing and a changed file count in nothing",
         {Specimen(2400), WithFile(9000, TSpecimenFile::kMissing),
          WithFile(100, TSpecimenFile::kChanged), Specimen(2600)},
         kAll,
         2,
         25,
         1.4142136,
         5.6568542,
         24,
         26,
         25,
         {true, false, false, true}},
        {"no area: no strength, counts in nothing",
         {Specimen(2400), Specimen(9000, "0"), Specimen(2600), Specimen(9000, "abc")},
         kAll,
         2,
         25,
         1.4142136,
         5.6568542,
         24,
         26,
         25,
         {true, false, true, false}},
        {"mean 0: no coefficient of variation",
         {Specimen(0), Specimen(0)},
         kAll,
         2,
         0,
         0,
         none,
         0,
         0,
         0,
         {true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const archive::TSeriesResult result = archive::ComputeSeries(c.specimens, c.rule);
        const archive::TFigures& r = result.strength;
        EXPECT_EQ(r.n, c.n);
        EXPECT_NEAR(r.mean, c.mean, 1e-9);
        ExpectOptional(r.s, c.s, 1e-6);
        ExpectOptional(r.cvPercent, c.cv, 1e-5);
        EXPECT_NEAR(r.min, c.min, 1e-9);
        EXPECT_NEAR(r.max, c.max, 1e-9);
        ExpectOptional(result.seriesStrength, c.series, 1e-9);
        EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        EXPECT_EQ(result.inSeriesStrength, c.inSeries);
    }
}

TEST(SeriesStatisticsTest, ForceFiguresAreInKilonewtonsOverTheCountedSpecimens) {
    // Forces 2.5, 4.5 and 8.0 kN: mean 5, squares 6.25 + 0.25 + 9 over 2.
    const archive::TSeriesResult result =
        archive::ComputeSeries({Specimen(2500, "100"), Excluded(99000, "не тот образец"),
                                Specimen(4500, "150"), Specimen(8000, "400")},
                               kAll);
    const archive::TFigures& f = result.force;
    EXPECT_EQ(f.n, 3);
    EXPECT_NEAR(f.mean, 5, 1e-12);
    ExpectOptional(f.s, 2.7838822, 1e-6);
    ExpectOptional(f.cvPercent, 55.677644, 1e-5);
    EXPECT_NEAR(f.min, 2.5, 1e-12);
    EXPECT_NEAR(f.max, 8, 1e-12);
    EXPECT_EQ(result.counted, (std::vector<bool>{true, false, true, true}));
}

TEST(SeriesStatisticsTest, ARuleThatCannotBeMetSaysWhyAndKeepsTheFigures) {
    const std::vector<TSeriesSpecimen> three = {Specimen(2400), Specimen(2500), Specimen(2600),
                                                Excluded(2700, "")};
    const struct {
        const char* what;
        std::vector<TSeriesSpecimen> specimens;
        TSeriesRule rule;
        int n;
        QString error;
    } cases[] = {
        {"k above the counted specimens", three, Best(4), 3,
         QStringLiteral("k = 4, а учтённых образцов только 3")},
        {"k of 0", three, Best(0), 3, QStringLiteral("k = 0, а должно быть не меньше 1")},
        {"k below 0", three, Best(-2), 3, QStringLiteral("k = -2, а должно быть не меньше 1")},
        {"nothing counted",
         {Excluded(2500, "скол")},
         kAll,
         0,
         QStringLiteral("нет учтённых образцов")},
        {"no specimen at all", {}, Best(1), 0, QStringLiteral("нет учтённых образцов")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const archive::TSeriesResult result = archive::ComputeSeries(c.specimens, c.rule);
        EXPECT_FALSE(result.seriesStrength.has_value());
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.strength.n, c.n);
        EXPECT_EQ(result.inSeriesStrength, std::vector<bool>(c.specimens.size(), false));
    }
}

TEST(SeriesStatisticsTest, SpecimenTextsSayWhyOneCountsInNothing) {
    TSeriesSpecimen both = Excluded(2500, "  сколот\nкрай ");
    both.file = TSpecimenFile::kMissing;
    const struct {
        const char* what;
        TSeriesSpecimen specimen;
        QString standing;
        QString strength;
    } cases[] = {
        {"counted", Specimen(2500), QStringLiteral("учтён"), QStringLiteral("25.000")},
        {"excluded with a reason", Excluded(2500, "сколот край"),
         QStringLiteral("исключён: сколот край"), QStringLiteral("25.000")},
        {"excluded without one", Excluded(2500, " "), QStringLiteral("исключён"),
         QStringLiteral("25.000")},
        {"missing file", WithFile(2500, TSpecimenFile::kMissing),
         QStringLiteral("не учтён: файл не найден"), QStringLiteral("25.000")},
        {"changed file", WithFile(2500, TSpecimenFile::kChanged),
         QStringLiteral("не учтён: файл изменён после архивации"), QStringLiteral("25.000")},
        {"excluded and missing", both, QStringLiteral("исключён: сколот край; файл не найден"),
         QStringLiteral("25.000")},
        {"area 0", Specimen(2500, "0"), QStringLiteral("не учтён: площадь не задана"),
         QStringLiteral("-")},
        {"area 1/3 of the force: decimals as the information panel's", Specimen(1000, "3"),
         QStringLiteral("учтён"), QStringLiteral("333.333")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(archive::StandingText(c.specimen), c.standing);
        EXPECT_EQ(archive::StrengthText(c.specimen), c.strength);
    }
    EXPECT_EQ(archive::ForceText(Specimen(2500)), QStringLiteral("2.500"));
    EXPECT_EQ(archive::FormatPercent(std::optional<double>()), QStringLiteral("-"));
    EXPECT_EQ(archive::FormatThree(-0.0), QStringLiteral("0.000"));
}

TEST(SeriesStatisticsTest, RuleIsReadFromItsCommandLineForm) {
    const struct {
        const char* text;
        std::optional<TSeriesRule> rule;
    } cases[] = {
        {"all", kAll},
        {"best:3", Best(3)},
        {"best:12", Best(12)},
        {"best:0", std::nullopt},
        {"best:", std::nullopt},
        {"best:-1", std::nullopt},
        {"best:2x", std::nullopt},
        {"Best:2", std::nullopt},
        {"", std::nullopt},
        {"best:99999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(archive::ParseRule(QString::fromLatin1(c.text)), c.rule);
    }
    EXPECT_EQ(archive::RuleText(Best(2)), QStringLiteral("среднее k наибольших, k = 2"));
    EXPECT_EQ(archive::RuleText(kAll), QStringLiteral("среднее всех учтённых образцов"));
}

}  // namespace
