// The series table for a spreadsheet, byte for byte.
#include "archive/series_csv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

namespace {

using archive::TSeriesRule;
using archive::TSeriesSpecimen;
using archive::TSpecimenFile;

TSeriesSpecimen Cube(const char* name, const char* marking, const char* date, int32_t fmaxN) {
    TSeriesSpecimen cube;
    cube.testName = QString::fromUtf8(name);
    cube.marking = QString::fromUtf8(marking);
    cube.type = QStringLiteral("куб");
    cube.dateText = QString::fromUtf8(date);
    cube.areaText = QStringLiteral("22500");
    cube.fmaxN = fmaxN;
    return cube;
}

// Two counted cubes (25 and 24 N/mm2), one excluded with a reason that needs quoting, one whose
// file is missing and whose name a spreadsheet would take for a formula.
std::vector<TSeriesSpecimen> FourCubes() {
    std::vector<TSeriesSpecimen> cubes = {
        Cube("Куб-1", "М-1", "12.12.2011", 562500), Cube("Куб-2", "М-2", "12.12.2011", 585000),
        Cube("=Куб-3", "М-3", "12.12.2011", 607500), Cube("Куб-4", "", "13.12.2011", 540000)};
    cubes[1].excluded = true;
    cubes[1].reason = QStringLiteral("скол; \"грань\"");
    cubes[2].file = TSpecimenFile::kMissing;
    return cubes;
}

QByteArray Lines(const char* text) {
    QByteArray lines("\xEF\xBB\xBF");
    lines += QByteArray(text).replace("\n", "\r\n");
    return lines;
}

TEST(SeriesCsvTest, OneLinePerSpecimenThenTheFiguresUnderTheirColumns) {
    // Forces 562.5 and 540 kN: mean 551.25, s = 11.25 x sqrt 2; strengths 25 and 24.
    EXPECT_EQ(archive::SeriesCsv(FourCubes(), {TSeriesRule::TKind::kBest, 1}),
              Lines("Куб-1;М-1;куб;12.12.2011;22500;562,500;25,000;учтён\n"
                    "Куб-2;М-2;куб;12.12.2011;22500;585,000;26,000;"
                    "\"исключён: скол; \"\"грань\"\"\"\n"
                    "'=Куб-3;М-3;куб;12.12.2011;22500;607,500;27,000;не учтён: файл не найден\n"
                    "Куб-4;;куб;13.12.2011;22500;540,000;24,000;учтён\n"
                    "n;;;;;2;2;\n"
                    "mean;;;;;551,250;24,500;\n"
                    "s;;;;;15,910;0,707;\n"
                    "cv %;;;;;2,9;2,9;\n"
                    "min;;;;;540,000;24,000;\n"
                    "max;;;;;562,500;25,000;\n"
                    "series strength;;;;;;25,000;среднее k наибольших, k = 1\n"));
}

// The last `count` lines of a table, CR LF turned into LF.
QByteArray LastLines(const QByteArray& table, int count) {
    const QList<QByteArray> lines = table.split('\n');
    return QByteArray(lines.mid(lines.size() - 1 - count).join('\n')).replace("\r", "");
}

TEST(SeriesCsvTest, FiguresThatCannotBeHadAreDashesAndTheRuleSaysWhy) {
    std::vector<TSeriesSpecimen> one = {Cube("Куб-1", "М-1", "12.12.2011", 562500)};
    EXPECT_EQ(LastLines(archive::SeriesCsv(one, {TSeriesRule::TKind::kBest, 2}), 7),
              QByteArray("n;;;;;1;1;\n"
                         "mean;;;;;562,500;25,000;\n"
                         "s;;;;;-;-;\n"
                         "cv %;;;;;-;-;\n"
                         "min;;;;;562,500;25,000;\n"
                         "max;;;;;562,500;25,000;\n"
                         "series strength;;;;;;-;среднее k наибольших, k = 2 — "
                         "не определена: k = 2, а учтённых образцов только 1\n"));
    one[0].areaText = QStringLiteral("0");
    EXPECT_EQ(LastLines(archive::SeriesCsv(one, {TSeriesRule::TKind::kAll, 0}), 8),
              QByteArray("\xEF\xBB\xBF"
                         "Куб-1;М-1;куб;12.12.2011;0;562,500;-;не учтён: площадь не задана\n"
                         "n;;;;;0;0;\n"
                         "mean;;;;;-;-;\n"
                         "s;;;;;-;-;\n"
                         "cv %;;;;;-;-;\n"
                         "min;;;;;-;-;\n"
                         "max;;;;;-;-;\n"
                         "series strength;;;;;;-;среднее всех учтённых образцов — "
                         "не определена: нет учтённых образцов\n"));
}

TEST(SeriesCsvTest, IsWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TSeriesRule all{TSeriesRule::TKind::kAll, 0};
    const QString path = dir.filePath(QStringLiteral("series.csv"));
    ASSERT_EQ(archive::WriteSeriesCsv(path, FourCubes(), all), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), archive::SeriesCsv(FourCubes(), all));

    const QString nowhere = dir.filePath(QStringLiteral("no-such-folder/series.csv"));
    EXPECT_NE(archive::WriteSeriesCsv(nowhere, FourCubes(), all), QString());
    EXPECT_FALSE(QFile::exists(nowhere));
}

}  // namespace
