// What the operator's screen costs of the load chart with a full store of points, at its size in
// the window, each figure beside its floors, bare widgets of the same size:
//   - the points mapped and painted with one QPainter::drawPoints call, every one of them;
//   - the same, each pixel once: the mapped pixels told apart with a bitmap first;
//   - what the chart draws, bare: its axis rectangle, grid, ticks, tick labels (thinned where
//     they would overlap) and axis titles, and the points each pixel once. A new sample on it is
//     one pixel drawn over the picture the widget keeps (its backing store), as the chart draws
//     new points over its own picture.
// The chart without points, beside the bare widget without points, shows how much of a render
// is axes, grid and labels. All are shown on the offscreen platform and painted through real
// paint events, which every benchmark counts.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QPainter>
#include <cmath>
#include <memory>
#include <vector>

#include "bare_chart.h"
#include "chart/chart.h"
#include "screen_bench.h"

namespace {

using bare_chart::TBareChart;
using screen_bench::ExpectPaints;
using screen_bench::kFullStore;
using screen_bench::TPaintCounter;
using screen_bench::TPixelBits;

constexpr double kPeriodS = 0.1;
// The axes AutoScale gives a full store at 100 ms: 0..3604 s by 30 s, 0..602 kN by 50 kN.
constexpr double kTimeMax = kFullStore * kPeriodS * 1.1;
constexpr double kLoadMax = 602;
// Benchmarks that append run a fixed number of times, so the store grows by 1 % at most.
constexpr int kAppends = 300;

// A press test of one sample per 100 ms: the load rises, fails and drops.
double LoadAt(int i) {
    return 500 * std::sin(3.0 * i / kFullStore) + (i % 7) * 0.3;
}

// The i-th new sample (i < kAppends): inside the view, on a pixel no sample has taken before,
// so that every one changes the picture.
QPointF NewSample(int i) {
    return {(kFullStore + i) * kPeriodS, 100 + 1.5 * i};
}

void Show(QWidget& widget) {
    widget.resize(screen_bench::kWidth, screen_bench::kHeight);
    screen_bench::Show(widget);
}

// The floor: the same points mapped onto the whole widget and painted in one call.
class TFloorWidget : public QWidget {
  public:
    TFloorWidget() {
        for (int i = 0; i < kFullStore; ++i) {
            points_.emplace_back(i * kPeriodS, LoadAt(i));
        }
    }
    void Append(QPointF point) { points_.push_back(point); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        screen_bench::PaintPoints(painter, size(), points_, kTimeMax, kLoadMax, pixels_);
    }

  private:
    std::vector<QPointF> points_;
    std::vector<QPoint> pixels_;
};

// The floor that paints each pixel once: the same points mapped onto the whole widget, the
// distinct pixels painted in one call.
class TEachPixelOnceWidget : public QWidget {
  public:
    TEachPixelOnceWidget() {
        for (int i = 0; i < kFullStore; ++i) {
            points_.emplace_back(i * kPeriodS, LoadAt(i));
        }
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        screen_bench::PaintDistinctPoints(painter, rect(), points_, kTimeMax, kLoadMax, drawn_,
                                          pixels_);
    }

  private:
    std::vector<QPointF> points_;
    TPixelBits drawn_;
    std::vector<QPoint> pixels_;
};

// The chart at its size in the window, holding `points` of a full store, drawn once.
void ShowChart(TChart& chart, int points = kFullStore) {
    for (int i = 0; i < points; ++i) {
        chart.Series().AddXY(i * kPeriodS, LoadAt(i));
    }
    chart.BottomAxis().SetRange(0, kTimeMax);
    chart.BottomAxis().SetIncrement(30);
    chart.LeftAxis().SetRange(0, kLoadMax);
    chart.LeftAxis().SetIncrement(50);
    Show(chart);
    chart.RepaintNow();
}

// The axis rectangle of the chart shown at its size in the window, in the chart's pixels.
QRect ChartAxisRect() {
    TChart chart;
    ShowChart(chart);
    return chart.Plot()->axisRect()->rect().translated(chart.Plot()->pos());
}

// The bare chart in the chart's axis rectangle, on the chart's axes, holding `points` of a full
// store.
std::unique_ptr<TBareChart> BareChart(int points) {
    auto floor = std::make_unique<TBareChart>(ChartAxisRect(), kTimeMax, 30, kLoadMax, 50);
    for (int i = 0; i < points; ++i) {
        floor->Points().emplace_back(i * kPeriodS, LoadAt(i));
    }
    return floor;
}

// Axes, grid, labels and points drawn again, and the widget painted.
void BM_FullRender(benchmark::State& state) {
    TChart chart;
    ShowChart(chart);
    const TPaintCounter paints(*chart.Plot());
    for (auto _ : state) {
        chart.Repaint();
        chart.RepaintNow();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond);

// Shows a floor and paints it again and again.
void PaintFloor(benchmark::State& state, QWidget& floor) {
    Show(floor);
    const TPaintCounter paints(floor);
    for (auto _ : state) {
        floor.repaint();
    }
    ExpectPaints(state, paints);
}

void BM_FullRenderFloor(benchmark::State& state) {
    TFloorWidget floor;
    PaintFloor(state, floor);
}
BENCHMARK(BM_FullRenderFloor)->Unit(benchmark::kMillisecond);

void BM_FullRenderFloorEachPixelOnce(benchmark::State& state) {
    TEachPixelOnceWidget floor;
    PaintFloor(state, floor);
}
BENCHMARK(BM_FullRenderFloorEachPixelOnce)->Unit(benchmark::kMillisecond);

void BM_FullRenderFloorWithAxes(benchmark::State& state) {
    const auto floor = BareChart(kFullStore);
    PaintFloor(state, *floor);
}
BENCHMARK(BM_FullRenderFloorWithAxes)->Unit(benchmark::kMillisecond);

// The chart's axes, grid and labels alone: what a full render costs before its points.
void BM_FullRenderNoPoints(benchmark::State& state) {
    TChart chart;
    ShowChart(chart, 0);
    const TPaintCounter paints(*chart.Plot());
    for (auto _ : state) {
        chart.Repaint();
        chart.RepaintNow();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_FullRenderNoPoints)->Unit(benchmark::kMillisecond);

void BM_FullRenderNoPointsFloor(benchmark::State& state) {
    const auto floor = BareChart(0);
    PaintFloor(state, *floor);
}
BENCHMARK(BM_FullRenderNoPointsFloor)->Unit(benchmark::kMillisecond);

// A sample appended to a full chart, the chart's redraw for it and the paint.
void BM_OneNewSample(benchmark::State& state) {
    TChart chart;
    ShowChart(chart);
    const TPaintCounter paints(*chart.Plot());
    int appended = 0;
    for (auto _ : state) {
        const QPointF sample = NewSample(appended++);
        chart.Series().AddXY(sample.x(), sample.y());
        chart.RepaintNow();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_OneNewSample)->Iterations(kAppends)->Unit(benchmark::kMicrosecond);

void BM_OneNewSampleFloor(benchmark::State& state) {
    TFloorWidget floor;
    Show(floor);
    const TPaintCounter paints(floor);
    int appended = 0;
    for (auto _ : state) {
        floor.Append(NewSample(appended++));
        floor.repaint();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_OneNewSampleFloor)->Iterations(kAppends)->Unit(benchmark::kMillisecond);

// A new sample on the bare chart: its one new pixel drawn over the kept picture and painted.
void BM_OneNewSampleFloorNewPixel(benchmark::State& state) {
    const auto floor = BareChart(kFullStore);
    Show(*floor);
    floor->repaint();
    const TPaintCounter paints(*floor);
    int appended = 0;
    for (auto _ : state) {
        floor->Append(NewSample(appended++));
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_OneNewSampleFloorNewPixel)->Iterations(kAppends)->Unit(benchmark::kMicrosecond);

}  // namespace
