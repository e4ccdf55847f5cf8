// What the operator's screen costs of the load chart with a full store of points, at its size in
// the window, each figure beside its floor: a bare widget that maps the same points and paints
// them with one QPainter::drawPoints call. Both are shown on the offscreen platform and painted
// through real paint events, which every benchmark counts.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QPainter>
#include <cmath>
#include <vector>

#include "chart/chart.h"
#include "screen_bench.h"

namespace {

using screen_bench::ExpectPaints;
using screen_bench::kFullStore;
using screen_bench::TPaintCounter;

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

// The chart at its size in the window, holding a full store, drawn once.
void ShowChart(TChart& chart) {
    for (int i = 0; i < kFullStore; ++i) {
        chart.Series().AddXY(i * kPeriodS, LoadAt(i));
    }
    chart.BottomAxis().SetRange(0, kTimeMax);
    chart.BottomAxis().SetIncrement(30);
    chart.LeftAxis().SetRange(0, kLoadMax);
    chart.LeftAxis().SetIncrement(50);
    Show(chart);
    chart.RepaintNow();
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

void BM_FullRenderFloor(benchmark::State& state) {
    TFloorWidget floor;
    Show(floor);
    const TPaintCounter paints(floor);
    for (auto _ : state) {
        floor.repaint();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_FullRenderFloor)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_OneNewSample)->Iterations(kAppends)->Unit(benchmark::kMillisecond);

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

}  // namespace
