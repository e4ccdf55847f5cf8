// The series report's page as a PDF file, read back with poppler's tools: its text, and its
// picture for the colours of the curves.
#include "archive/series_page.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

using archive::TSeriesCurve;
using archive::TSeriesReport;
using archive::TSeriesRule;
using archive::TSeriesSpecimen;
using archive::TSpecimenFile;

QByteArray PdfTool(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << tool << " failed (package poppler-utils): "
                      << process.readAllStandardError().toStdString();
    }
    return process.readAllStandardOutput();
}

// A press test: the load rises to its peak and the specimen fails.
TSeriesCurve PressCurve(int samples, int periodMs, double peakKn) {
    TSeriesCurve curve;
    for (int i = 0; i < samples; ++i) {
        const double rise = double(i) / (samples * 0.8);
        const double load =
            rise <= 1 ? peakKn * std::sin(rise * std::numbers::pi / 2) : peakKn * 0.3;
        curve.timeMs.push_back(i * periodMs);
        curve.forceN.push_back(int32_t(load * 1000));
    }
    return curve;
}

TSeriesSpecimen Cube(int number, int32_t fmaxN) {
    TSeriesSpecimen cube;
    cube.testName = QStringLiteral("Куб-%1").arg(number);
    cube.marking = QStringLiteral("М-%1").arg(number);
    cube.type = QStringLiteral("куб");
    cube.dateText = QStringLiteral("12.12.2011");
    cube.areaText = QStringLiteral("22500");
    cube.fmaxN = fmaxN;
    return cube;
}

class SeriesPageTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // Five cubes: 1, 2 and 4 counted, 3 excluded by the operator, 5 with a missing file. Every
    // one has a curve of its own height, so that a curve drawn where it should not be shows.
    static TSeriesReport FiveCubes() {
        TSeriesReport report;
        report.name = QStringLiteral("Партия 7, 28 суток");
        report.reportDate = QStringLiteral("19.12.2011");
        report.machine = QStringLiteral("П-125");
        report.operatorName = QStringLiteral("Иванов");
        report.rule = {TSeriesRule::TKind::kBest, 2};
        for (int i = 1; i <= 5; ++i) {
            report.specimens.push_back(Cube(i, 500000 + i * 25000));
            report.curves.push_back(PressCurve(300, 100, 500 + i * 25));
        }
        report.specimens[2].excluded = true;
        report.specimens[2].reason = QStringLiteral("сколот край");
        report.specimens[4].file = TSpecimenFile::kMissing;
        return report;
    }

    QString Write(const TSeriesReport& report, const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_EQ(archive::WriteSeriesPdf(path, report), QString());
        return path;
    }
    static int Pages(const QString& pdf) {
        const QRegularExpressionMatch pages =
            QRegularExpression(QStringLiteral("Pages:\\s+([0-9]+)\\n"))
                .match(QString::fromUtf8(PdfTool("pdfinfo", {pdf})));
        return pages.hasMatch() ? pages.captured(1).toInt() : -1;
    }
    static QString Text(const QString& pdf) {
        return QString::fromUtf8(PdfTool("pdftotext", {QStringLiteral("-raw"), pdf, "-"}));
    }
    // The page at 150 dots per inch, without smoothing: a line keeps its own colour.
    QImage Picture(const QString& pdf) {
        const QString stem = pdf + QStringLiteral("-picture");
        PdfTool("pdftoppm",
                {"-r", "150", "-aa", "no", "-aaVector", "no", "-singlefile", "-png", pdf, stem});
        return QImage(stem + QStringLiteral(".png"));
    }
    static int PixelsOf(const QImage& image, QColor colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += std::abs(c.red() - colour.red()) <= 8 &&
                         std::abs(c.green() - colour.green()) <= 8 &&
                         std::abs(c.blue() - colour.blue()) <= 8;
            }
        }
        return count;
    }

    QTemporaryDir dir;
};

// A legend's line is some 6 mm long, a curve across the chart many times that.
constexpr int kCurvePixels = 400;

TEST_F(SeriesPageTest, OneLandscapePageWithTheHeadingTableFiguresAndCountedCurves) {
    const QString pdf = Write(FiveCubes(), "series.pdf");
    EXPECT_EQ(Pages(pdf), 1);
    const QString info = QString::fromUtf8(PdfTool("pdfinfo", {pdf}));
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "landscape";

    const QString text = Text(pdf);
    SCOPED_TRACE(text.toStdString());
    for (const char* expected :
         {"ОТЧЁТ ПО СЕРИИ ОБРАЗЦОВ «Партия 7, 28 суток»", "от 19.12.2011", "Пресс: П-125",
          "Оператор: Иванов", "Прочность серии: среднее k наибольших, k = 2",
          // the table: Fmax 525 kN on 22500 mm2 is 23.333 N/mm2
          "Куб-1 М-1 куб 12.12.2011 22500 525.000 23.333 учтён",
          "Куб-3 М-3 куб 12.12.2011 22500 575.000 25.556 исключён: сколот край",
          "Куб-5 М-5 куб 12.12.2011 22500 625.000 27.778 не учтён: файл не найден",
          "Внимание: файлы отмеченных испытаний не найдены или изменены",
          // cubes 1, 2 and 4: 23.333, 24.444, 26.667; the two strongest 24.444 and 26.667
          "Учтено образцов n 3 3", "Среднее 24.815 558.333", "Минимум 23.333 525.000",
          "Максимум 26.667 600.000", "Прочность серии: 25.556 Н/мм.кв",
          // the legend names the counted ones
          "1. Куб-1", "2. Куб-2", "4. Куб-4"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    for (const char* absent : {"3. Куб-3", "5. Куб-5"}) {
        EXPECT_FALSE(text.contains(QString::fromUtf8(absent))) << absent << " is in the legend";
    }

    const QImage picture = Picture(pdf);
    ASSERT_FALSE(picture.isNull());
    for (const int counted : {0, 1, 3}) {
        EXPECT_GT(PixelsOf(picture, archive::CurveColour(counted)), kCurvePixels)
            << "the curve of row " << counted + 1;
    }
    for (const int left : {2, 4}) {
        EXPECT_EQ(PixelsOf(picture, archive::CurveColour(left)), 0)
            << "the curve of row " << left + 1;
    }
}

TEST_F(SeriesPageTest, AChangedFileIsSaidAndLeftOutOfTheFigures) {
    TSeriesReport report = FiveCubes();
    report.specimens[4].file = TSpecimenFile::kChanged;
    report.specimens[2].excluded = false;
    report.rule = {TSeriesRule::TKind::kBest, 5};
    const QString text = Text(Write(report, "changed.pdf"));
    SCOPED_TRACE(text.toStdString());
    EXPECT_TRUE(text.contains(QStringLiteral("не учтён: файл изменён после архивации")));
    EXPECT_TRUE(text.contains(QStringLiteral("Внимание: файлы отмеченных испытаний")));
    EXPECT_TRUE(text.contains(QStringLiteral("Учтено образцов n 4 4")));
    EXPECT_TRUE(text.contains(QStringLiteral("Прочность серии не определена")));
    EXPECT_TRUE(text.contains(QStringLiteral("(k = 5, а учтённых образцов только 4)")));
}

TEST_F(SeriesPageTest, TwelveFullTestsGiveOnePageWithTwelveCurves) {
    TSeriesReport report;
    report.name = QStringLiteral("12");
    report.rule = {TSeriesRule::TKind::kAll, 0};
    for (int i = 1; i <= 12; ++i) {
        report.specimens.push_back(Cube(i, (200 + 40 * i) * 1000));
        // Each fails at its own time and load, so that no curve hides another.
        report.curves.push_back(PressCurve(kStoreCapacity, 2 + i / 3, 200 + 40 * i));
    }
    const QString pdf = Write(report, "twelve.pdf");
    EXPECT_EQ(Pages(pdf), 1);
    const QString text = Text(pdf);
    const QImage picture = Picture(pdf);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(text.contains(QStringLiteral("%1. Куб-%1").arg(i + 1)));
        EXPECT_GT(PixelsOf(picture, archive::CurveColour(i)), kCurvePixels);
    }
}

TEST_F(SeriesPageTest, PrintedAgainItIsTheSamePage) {
    const QImage first = Picture(Write(FiveCubes(), "first.pdf"));
    const QImage second = Picture(Write(FiveCubes(), "second.pdf"));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first, second);
}

TEST_F(SeriesPageTest, AFailedWriteSaysWhyAndLeavesNoFile) {
    const QString path = dir.filePath(QStringLiteral("no-such-folder/series.pdf"));
    EXPECT_NE(archive::WriteSeriesPdf(path, FiveCubes()), QString());
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
