#include "chart/chart.h"

#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRubberBand>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "chart/chart_fixture.h"
#include "chart/chart_tickers.h"

namespace {

TEST_F(ChartTest, StartsWithTheDesignTimeAxesAndAnEmptyActiveSeries) {
    for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
        ExpectRange(*axis, 0, 5);
        EXPECT_DOUBLE_EQ(axis->Increment(), 0.2);
    }
    EXPECT_EQ(chart.Series().Count(), 0);
    EXPECT_TRUE(chart.Series().Active());
    EXPECT_EQ(chart.Plot()->xAxis->label(), QStringLiteral("Время, сек"));
    EXPECT_EQ(chart.Plot()->yAxis->label(), QStringLiteral("Нагрузка, кН"));
}

TEST_F(ChartTest, AxisRefusesARangeTurnedInsideOut) {
    TChartAxis& axis = chart.LeftAxis();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        bool (*set)(TChartAxis&, double);
        double value;
        bool accepted;
        double min, max;
    };
    const auto setMin = [](TChartAxis& a, double v) { return a.SetMinimum(v); };
    const auto setMax = [](TChartAxis& a, double v) { return a.SetMaximum(v); };
    for (const Case& c : {
             Case{"minimum above maximum", setMin, 11, false, 2, 10},
             Case{"minimum equal to maximum", setMin, 10, true, 10, 10},
             Case{"minimum below", setMin, -3, true, -3, 10},
             Case{"maximum below minimum", setMax, 1, false, 2, 10},
             Case{"maximum equal to minimum", setMax, 2, true, 2, 2},
             Case{"maximum above", setMax, 30, true, 2, 30},
             Case{"minimum not a number", setMin, nan, false, 2, 10},
         }) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(axis.SetRange(2, 10));
        EXPECT_EQ(c.set(axis, c.value), c.accepted);
        ExpectRange(axis, c.min, c.max);
    }
    EXPECT_FALSE(axis.SetRange(3, 2));
    ExpectRange(axis, 2, 10);
    EXPECT_TRUE(axis.SetRange(20, 30));  // both ends together, wholly above the old range
    ExpectRange(axis, 20, 30);
    EXPECT_FALSE(axis.SetIncrement(-1));
    EXPECT_DOUBLE_EQ(axis.Increment(), 0.2);
}

TEST_F(ChartTest, EmptyRangeIsKeptAndTheViewStaysDrawable) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 0));
    ExpectRange(chart.BottomAxis(), 0, 0);
    chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    EXPECT_TRUE(std::isfinite(chart.BottomAxis().PixelToValue(Centre().x())));
}

// Major ticks and the minor ticks between the first two of them.
std::pair<QVector<double>, int> Ticks(QCPAxis* axis) {
    QVector<double> ticks, subTicks;
    axis->ticker()->generate(axis->range(), QLocale::c(), 'g', 6, ticks, &subTicks, nullptr);
    int between = 0;
    for (double t : subTicks) {
        between += ticks.size() > 1 && t > ticks[0] && t < ticks[1];
    }
    return {ticks, between};
}

TEST_F(ChartTest, FixedIncrementPlacesTicksAtItsMultiples) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
    ASSERT_TRUE(chart.BottomAxis().SetIncrement(2.5));
    const auto [ticks, between] = Ticks(chart.Plot()->xAxis);
    EXPECT_EQ(ticks, (QVector<double>{0, 2.5, 5, 7.5, 10}));
    EXPECT_EQ(between, 4);
}

TEST_F(ChartTest, IncrementZeroLetsTheChartChoose) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
    ASSERT_TRUE(chart.BottomAxis().SetIncrement(0));
    EXPECT_DOUBLE_EQ(chart.BottomAxis().Increment(), 0);
    EXPECT_EQ(dynamic_cast<QCPAxisTickerFixed*>(chart.Plot()->xAxis->ticker().data()), nullptr);
    const auto [ticks, between] = Ticks(chart.Plot()->xAxis);
    EXPECT_GT(ticks.size(), 2);
    EXPECT_LT(ticks.size(), 20);
    EXPECT_EQ(between, 4);
}

TEST_F(ChartTest, TinyIncrementOnAWideViewKeepsTheTickCountBounded) {
    ASSERT_TRUE(chart.LeftAxis().SetRange(0, 1e9));
    ASSERT_TRUE(chart.LeftAxis().SetIncrement(0.01));
    const auto [ticks, between] = Ticks(chart.Plot()->yAxis);
    EXPECT_LE(ticks.size(), TFixedTicker::kMaxTicks + 2);
    EXPECT_EQ(between, 4);
}

TEST_F(ChartTest, ZoomPercentMovesBothAxesAndRaisesZoomedOnce) {
    struct Case {
        double percent, min, max;
    };
    for (const Case& c : {Case{101, 0.1, 9.9}, Case{99, -0.1, 10.1}}) {
        SCOPED_TRACE(c.percent);
        ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
        ASSERT_TRUE(chart.LeftAxis().SetRange(0, 10));
        QSignalSpy zoomed(&chart, &TChart::Zoomed);
        chart.ZoomPercent(c.percent);
        ExpectRange(chart.BottomAxis(), c.min, c.max);
        ExpectRange(chart.LeftAxis(), c.min, c.max);
        EXPECT_EQ(zoomed.count(), 0);  // the view is still on its way
        ASSERT_TRUE(zoomed.wait(2000));
        QTest::qWait(3 * TChart::kZoomStepMs);
        EXPECT_EQ(zoomed.count(), 1);
        EXPECT_DOUBLE_EQ(chart.Plot()->xAxis->range().lower, c.min);
        EXPECT_DOUBLE_EQ(chart.Plot()->yAxis->range().upper, c.max);
    }
}

TEST_F(ChartTest, ZoomViewMovesInFiveSteps) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
    QVector<double> shownMinima;
    QObject::connect(chart.Plot()->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
                     [&](const QCPRange& range) { shownMinima.append(range.lower); });
    QSignalSpy zoomed(&chart, &TChart::Zoomed);
    chart.ZoomPercent(125);  // 0..10 to 2.5..7.5
    ASSERT_TRUE(zoomed.wait(2000));
    ASSERT_EQ(shownMinima.size(), TChart::kZoomSteps);
    for (int i = 0; i < TChart::kZoomSteps; ++i) {
        EXPECT_NEAR(shownMinima[i], 2.5 * (i + 1) / TChart::kZoomSteps, 1e-9) << i;
    }
}

TEST_F(ChartTest, ZoomPercentThatWouldInvertTheAxesDoesNothing) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
    QSignalSpy zoomed(&chart, &TChart::Zoomed);
    chart.ZoomPercent(250);
    ExpectRange(chart.BottomAxis(), 0, 10);
    QTest::qWait(TChart::kZoomSteps * TChart::kZoomStepMs * 2);
    EXPECT_EQ(zoomed.count(), 0);
}

TEST_F(ChartTest, SettingAnAxisDuringTheZoomCompletesItFirst) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
    ASSERT_TRUE(chart.LeftAxis().SetRange(0, 10));
    QSignalSpy zoomed(&chart, &TChart::Zoomed);
    chart.ZoomPercent(101);
    ASSERT_TRUE(chart.LeftAxis().SetMaximum(50));
    EXPECT_EQ(zoomed.count(), 1);
    ExpectRange(chart.BottomAxis(), 0.1, 9.9);
    ExpectRange(chart.LeftAxis(), 0.1, 50);
    EXPECT_DOUBLE_EQ(chart.Plot()->yAxis->range().upper, 50);
    QTest::qWait(TChart::kZoomSteps * TChart::kZoomStepMs * 2);
    EXPECT_EQ(zoomed.count(), 1);
    EXPECT_DOUBLE_EQ(chart.Plot()->yAxis->range().upper, 50);
}

TEST_F(ChartTest, RectangleDragZoomsUndoesOrDoesNothing) {
    enum Outcome { kZoom, kUndo, kNothing };
    struct Case {
        int dx, dy;
        Outcome outcome;
    };
    for (const Case& c : {
             Case{60, 40, kZoom},
             Case{17, 17, kZoom},
             Case{16, 40, kNothing},
             Case{60, 16, kNothing},
             Case{-16, -40, kNothing},
             Case{-60, 40, kUndo},
             Case{60, -40, kUndo},
             Case{-60, -40, kUndo},
         }) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        TChart& ch = chart;
        ASSERT_TRUE(ch.BottomAxis().SetRange(0, 10));
        ASSERT_TRUE(ch.LeftAxis().SetRange(0, 100));
        ch.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        const QPoint start = Centre();
        const QPoint end = start + QPoint(c.dx, c.dy);
        const double x0 = ch.BottomAxis().PixelToValue(start.x());
        const double x1 = ch.BottomAxis().PixelToValue(end.x());
        const double y0 = ch.LeftAxis().PixelToValue(start.y());
        const double y1 = ch.LeftAxis().PixelToValue(end.y());
        QSignalSpy zoomed(&ch, &TChart::Zoomed);
        QSignalSpy undone(&ch, &TChart::UndoZoomed);

        QTest::mousePress(ch.Plot(), Qt::LeftButton, {}, start);
        QTest::mouseMove(ch.Plot(), start + QPoint(c.dx / 2, c.dy / 2));
        QTest::mouseMove(ch.Plot(), end);
        QTest::mouseRelease(ch.Plot(), Qt::LeftButton, {}, end);

        if (c.outcome == kZoom) {
            ExpectRange(ch.BottomAxis(), x0, x1);
            ExpectRange(ch.LeftAxis(), y1, y0);
            ASSERT_TRUE(zoomed.wait(2000));
        } else {
            ExpectRange(ch.BottomAxis(), 0, 10);
            ExpectRange(ch.LeftAxis(), 0, 100);
            QTest::qWait(TChart::kZoomSteps * TChart::kZoomStepMs * 2);
        }
        EXPECT_EQ(zoomed.count(), c.outcome == kZoom ? 1 : 0);
        EXPECT_EQ(undone.count(), c.outcome == kUndo ? 1 : 0);
    }
}

TEST_F(ChartTest, RubberBandFollowsTheDrag) {
    auto* band = chart.Plot()->findChild<QRubberBand*>();
    ASSERT_NE(band, nullptr);
    const QPoint start = Centre();
    const QPoint end = start + QPoint(-50, 30);
    QTest::mousePress(chart.Plot(), Qt::LeftButton, {}, start);
    QTest::mouseMove(chart.Plot(), end);
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(band->geometry(), QRect(start, end).normalized());
    QTest::mouseRelease(chart.Plot(), Qt::LeftButton, {}, end);
    EXPECT_FALSE(band->isVisible());
}

TEST_F(ChartTest, DragStartedOutsideThePlottingAreaDoesNothing) {
    QSignalSpy zoomed(&chart, &TChart::Zoomed);
    QSignalSpy undone(&chart, &TChart::UndoZoomed);
    const QPoint start(2, 2);
    QTest::mousePress(chart.Plot(), Qt::LeftButton, {}, start);
    QTest::mouseRelease(chart.Plot(), Qt::LeftButton, {}, start + QPoint(100, 100));
    QTest::qWait(TChart::kZoomSteps * TChart::kZoomStepMs * 2);
    EXPECT_EQ(zoomed.count() + undone.count(), 0);
    ExpectRange(chart.BottomAxis(), 0, 5);
}

TEST_F(ChartTest, UndoZoomRaisesUndoZoomed) {
    QSignalSpy undone(&chart, &TChart::UndoZoomed);
    chart.UndoZoom();
    EXPECT_EQ(undone.count(), 1);
}

TEST_F(ChartTest, WheelAndMouseMoveAreReported) {
    QSignalSpy down(&chart, &TChart::WheelDown);
    QSignalSpy up(&chart, &TChart::WheelUp);
    QSignalSpy moved(&chart, &TChart::MouseMoved);
    const QPointF pos = Centre();
    for (int delta : {-120, 120, 120}) {
        QWheelEvent wheel(pos, chart.Plot()->mapToGlobal(pos), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart.Plot(), &wheel);
    }
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(up.count(), 2);

    QTest::mouseMove(chart.Plot(), QPoint(123, 45));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 123);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 45);
}

TEST_F(ChartTest, SeriesKeepsOrderAndLargestValues) {
    TChartSeries& series = chart.Series();
    EXPECT_DOUBLE_EQ(series.MaxX(), 0);
    EXPECT_DOUBLE_EQ(series.MaxY(), 0);
    for (auto [x, y] : {std::pair{3.0, -2.0}, {1.0, -7.0}, {2.0, -5.0}}) {
        series.AddXY(x, y);
    }
    EXPECT_EQ(series.Count(), 3);
    EXPECT_DOUBLE_EQ(series.MaxX(), 3);
    EXPECT_DOUBLE_EQ(series.MaxY(), -2);  // the largest of negative loads, not 0
    const double keys[] = {3, 1, 2};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(series.Point(i).x(), keys[i]);
    }
    series.AddXY(0.5, 9);
    EXPECT_DOUBLE_EQ(series.MaxY(), 9);
    series.Clear();
    EXPECT_EQ(series.Count(), 0);
    EXPECT_DOUBLE_EQ(series.MaxX(), 0);
    EXPECT_DOUBLE_EQ(series.MaxY(), 0);
}

TEST_F(ChartTest, AddPointsAddsWhatAddXYAddsOneByOne) {
    const struct {
        const char* what;
        std::vector<std::pair<double, double>> before;
        std::vector<double> xs, ys;
    } cases[] = {
        {"negative loads into an empty series", {}, {3, 1, 2}, {-2, -7, -5}},
        {"after points already there", {{0.5, 9}}, {3, 1}, {-2, 10}},
        {"spans of different lengths", {}, {1, 2, 3}, {4, 5}},
        {"nothing", {{1, 1}}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TChart oneByOne;
        chart.Series().Clear();
        for (auto [x, y] : c.before) {
            chart.Series().AddXY(x, y);
            oneByOne.Series().AddXY(x, y);
        }
        chart.Series().AddPoints(c.xs, c.ys);
        for (size_t i = 0; i < std::min(c.xs.size(), c.ys.size()); ++i) {
            oneByOne.Series().AddXY(c.xs[i], c.ys[i]);
        }
        ASSERT_EQ(chart.Series().Count(), oneByOne.Series().Count());
        for (int i = 0; i < chart.Series().Count(); ++i) {
            EXPECT_EQ(chart.Series().Point(i), oneByOne.Series().Point(i)) << i;
        }
        EXPECT_DOUBLE_EQ(chart.Series().MaxX(), oneByOne.Series().MaxX());
        EXPECT_DOUBLE_EQ(chart.Series().MaxY(), oneByOne.Series().MaxY());
    }
}

// New points redraw the curve alone; whatever else changed with them, the screen ends up as a
// whole redraw would draw it.
TEST_F(ChartTest, PacedRedrawShowsWhatAWholeRedrawShows) {
    const struct {
        const char* name;
        std::function<void(TChart&)> change;
    } cases[] = {
        {"points", [](TChart& c) { c.Series().AddXY(1, 1), c.Series().AddXY(2, 3); }},
        {"points, then the load axis",
         [](TChart& c) { c.Series().AddXY(3, 4), c.LeftAxis().SetMaximum(10); }},
        {"the time axis, then points",
         [](TChart& c) { c.BottomAxis().SetMaximum(20), c.Series().AddXY(4, 2); }},
        {"times going back", [](TChart& c) { c.Series().AddXY(12, 3), c.Series().AddXY(0.5, 7); }},
        {"points outside the view and one inside",
         [](TChart& c) {
             for (auto [x, y] : {std::pair{-1.0, 1.0}, {2, 50}, {30, 2}, {2, -3}, {5, 5}}) {
                 c.Series().AddXY(x, y);
             }
         }},
        {"a point under the axis lines and one above them",
         [](TChart& c) { c.Series().AddXY(0, 0), c.Series().AddXY(8, 8); }},
        {"the view zoomed, then points",
         [](TChart& c) {
             QSignalSpy zoomed(&c, &TChart::Zoomed);
             c.ZoomPercent(110);
             ASSERT_TRUE(zoomed.wait(2000));
             c.Series().AddXY(9, 6);
         }},
    };
    for (const auto& c : cases) {
        const QImage before = chart.grab().toImage();
        c.change(chart);
        QTest::qWait(TChart::kRedrawPaceMs + 100);
        const QImage paced = chart.grab().toImage();
        chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        EXPECT_NE(paced, before) << c.name;
        EXPECT_EQ(paced, chart.grab().toImage()) << c.name;
    }
}

TEST_F(ChartTest, SwitchedOffSeriesKeepsPointsButDrawsNothing) {
    chart.Series().AddXY(2, 2);
    chart.Series().SetActive(false);
    chart.Series().AddXY(3, 3);
    EXPECT_EQ(chart.Series().Count(), 2);
    EXPECT_EQ(CountPixels(Rendered(96), Red), 0);
    chart.Series().SetActive(true);
    EXPECT_GE(CountPixels(Rendered(96), Red), 2);
}

TEST_F(ChartTest, RenderToDrawsThePointsAndLeavesTheScreenLayout) {
    for (int i = 0; i < 50; ++i) {
        chart.Series().AddXY(i * 0.1, i * 0.1);
    }
    chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    const double before = chart.BottomAxis().PixelToValue(Centre().x());
    EXPECT_GT(CountPixels(Rendered(96), Red), 0);
    EXPECT_DOUBLE_EQ(chart.BottomAxis().PixelToValue(Centre().x()), before);
}

// Texts are sized in canvas pixels: a printer's resolution must not blow them up.
TEST_F(ChartTest, RenderToKeepsTextSizeOnAHighResolutionDevice) {
    chart.SetTitleLines({"  ", "   ПРОТОКОЛ ИСПЫТАНИЯ  от 12.12.2011", "  "});
    chart.ShowTitle(true);
    const int screen = CountPixels(Rendered(96), Dark);
    const int printer = CountPixels(Rendered(1200), Dark);
    EXPECT_GT(screen, 1000);
    EXPECT_NEAR(printer, screen, screen * 0.2);
}

TEST_F(ChartTest, RenderToPrintsAPdfPage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("chart.pdf");
    chart.Series().AddXY(1, 1);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&printer);
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        chart.RenderTo(painter, page, 1.8);
    }
    EXPECT_GT(QFileInfo(path).size(), 1000);
}

TEST_F(ChartTest, TitleRowIsInsertedAndRemoved) {
    QCPLayoutGrid* layout = chart.Plot()->plotLayout();
    chart.SetTitleLines({"  ", "first", "second"});
    EXPECT_FALSE(chart.TitleShown());
    EXPECT_EQ(layout->rowCount(), 1);

    chart.ShowTitle(true);
    ASSERT_EQ(layout->rowCount(), 2);
    auto* title = qobject_cast<QCPTextElement*>(layout->element(0, 0));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("  \nfirst\nsecond"));
    EXPECT_EQ(layout->element(1, 0), chart.Plot()->axisRect());
    chart.SetTitleLines({"other"});
    EXPECT_EQ(title->text(), QStringLiteral("other"));

    chart.ShowTitle(false);
    EXPECT_FALSE(chart.TitleShown());
    EXPECT_EQ(layout->rowCount(), 1);
    EXPECT_EQ(layout->element(0, 0), chart.Plot()->axisRect());
}

}  // namespace
