// What the chart's points look like on the screen and on paper, and when the chart is redrawn.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QElapsedTimer>
#include <QPaintEngine>
#include <QSignalSpy>
#include <vector>

#include "chart/chart_fixture.h"

namespace {

class ChartPaintTest : public ChartTest {
  protected:
    void SetUp() override {
        ChartTest::SetUp();
        ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
        ASSERT_TRUE(chart.LeftAxis().SetRange(0, 10));
        chart.RepaintNow();
    }

    // The point drawn at a pixel of the plot surface (at its centre, so that it rounds to it).
    QPointF PointAt(QPoint pixel) {
        return {chart.BottomAxis().PixelToValue(pixel.x()),
                chart.LeftAxis().PixelToValue(pixel.y())};
    }
    void AddAt(QPoint pixel) {
        const QPointF point = PointAt(pixel);
        chart.Series().AddXY(point.x(), point.y());
    }
    QRect Area() const { return chart.Plot()->axisRect()->rect(); }

    // Lets the pacing interval pass without a redraw.
    void WaitUntilIdle() {
        chart.RepaintNow();
        QTest::qWait(TChart::kRedrawPaceMs + 50);
    }
};

TEST_F(ChartPaintTest, EveryPointInTheViewTakesItsPixelAndNoOtherIsRed) {
    struct Dot {
        int dx, dy;  // from the plotting area's top left corner; negative: before it
        bool shown;
    };
    const int w = Area().width();
    const int h = Area().height();
    const struct {
        const char* what;
        std::vector<Dot> dots;  // in the order added
    } cases[] = {
        {"times in order, some before and after the view",
         {{-30, 50, false},
          {-2, 60, false},
          {10, 10, true},
          {11, 10, true},
          {300, h - 20, true},
          {w - 10, 40, true},
          {w + 1, 40, false},
          {w + 40, 40, false}}},
        {"times going back",
         {{300, 10, true},
          {200, 20, true},
          {100, 30, true},
          {-30, 30, false},
          {10, 40, true},
          {150, 50, true},
          {w + 5, 20, false}}},
        {"loads above and below the view", {{50, -15, false}, {60, h + 15, false}, {70, 90, true}}},
        {"two points on one pixel", {{120, 120, true}, {120, 120, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        chart.Series().Clear();
        std::set<std::pair<int, int>> expected;
        for (const Dot& dot : c.dots) {
            const QPoint pixel = Area().topLeft() + QPoint(dot.dx, dot.dy);
            AddAt(pixel);
            if (dot.shown) {
                expected.emplace(pixel.x(), pixel.y());
            }
        }
        chart.RepaintNow();
        EXPECT_EQ(RedPixels(Shown()), expected);
    }
}

TEST_F(ChartPaintTest, NewPointsInAnUnchangedViewAreDrawnOverThePicture) {
    AddAt(Centre());
    chart.RepaintNow();
    QSignalSpy replots(chart.Plot(), &QCustomPlot::afterReplot);
    const QPoint pixel = Centre() + QPoint(40, -30);
    AddAt(pixel);
    chart.RepaintNow();
    EXPECT_EQ(replots.count(), 0);
    const QImage shown = Shown();
    EXPECT_TRUE(Red(shown.pixelColor(pixel)));
    EXPECT_EQ(shown, WhollyRedrawn());
}

TEST_F(ChartPaintTest, NewPointsAfterTheViewChangedBehindTheChartAreAWholeRedraw) {
    AddAt(Centre());
    chart.RepaintNow();
    chart.Plot()->xAxis->setRange(2, 12);  // the chart is not told
    QSignalSpy replots(chart.Plot(), &QCustomPlot::afterReplot);
    chart.Series().AddXY(5, 5);
    chart.RepaintNow();
    EXPECT_EQ(replots.count(), 1);
    EXPECT_EQ(Shown(), WhollyRedrawn());
}

// Counts the red shapes a printer's engine is given.
class TRedShapeCounter : public QPaintDevice, public QPaintEngine {
  public:
    TRedShapeCounter() : QPaintEngine(QPaintEngine::AllFeatures) {}
    int Count() const { return count_; }

    QPaintEngine* paintEngine() const override { return const_cast<TRedShapeCounter*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyPen) {
            red_ = state.pen().color() == QColor(Qt::red);
        }
    }
    void drawLines(const QLineF*, int count) override { count_ += red_ ? count : 0; }
    void drawPoints(const QPointF*, int count) override { count_ += red_ ? count : 0; }
    void drawPath(const QPainterPath&) override { count_ += red_; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { count_ += red_; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return 1600;
            case PdmHeight:
                return 1200;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 300;
            default:
                return QPaintDevice::metric(metric);
        }
    }

  private:
    int count_ = 0;
    bool red_ = false;
};

TEST_F(ChartPaintTest, PrintingDrawsEveryPointOfTheViewEvenWhereTheScreenHasOnePixel) {
    constexpr int kPoints = 40;
    for (int i = 0; i < kPoints; ++i) {
        chart.Series().AddXY(5 + i * 1e-4, 5);  // far less than a pixel apart
    }
    TRedShapeCounter printer;
    {
        QPainter painter(&printer);
        chart.RenderTo(painter, QRectF(0, 0, 1600, 1200), 1.8);
    }
    EXPECT_EQ(printer.Count(), kPoints);
    EXPECT_EQ(RedPixels(Shown()).size(), 1u);
}

TEST_F(ChartPaintTest, RedrawAskedForWhenIdleIsMadeAtOnce) {
    WaitUntilIdle();
    QSignalSpy replots(chart.Plot(), &QCustomPlot::afterReplot);
    ASSERT_TRUE(chart.BottomAxis().SetMaximum(20));
    EXPECT_EQ(replots.count(), 0);  // not while the handler that asked still runs
    QTest::qWait(TChart::kRedrawPaceMs / 4);
    EXPECT_EQ(replots.count(), 1);
}

TEST_F(ChartPaintTest, BurstOfRequestsCostsOneRedrawPerIntervalAndItsLastIsShown) {
    WaitUntilIdle();
    QSignalSpy replots(chart.Plot(), &QCustomPlot::afterReplot);
    QElapsedTimer burst;
    burst.start();
    for (int i = 1; i <= 25; ++i) {
        ASSERT_TRUE(chart.BottomAxis().SetMaximum(10 + i));
        QTest::qWait(20);
    }
    EXPECT_LE(replots.count(), 1 + burst.elapsed() / TChart::kRedrawPaceMs);
    QTest::qWait(TChart::kRedrawPaceMs + 100);
    EXPECT_EQ(Shown(), WhollyRedrawn());
}

}  // namespace
