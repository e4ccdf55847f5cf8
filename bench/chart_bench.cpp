// Redraw costs of the load chart with a full store of points, at its size in the window.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QApplication>
#include <cmath>

#include "chart/chart.h"

namespace {

constexpr int kFullStore = 32767;

// A press test of `points` samples, one per 100 ms: the load rises, fails and drops.
void FillPressTest(TChart& chart, int points) {
    for (int i = 0; i < points; ++i) {
        const double t = i * 0.1;
        chart.Series().AddXY(t, 500 * std::sin(3.0 * i / points) + (i % 7) * 0.3);
    }
    chart.BottomAxis().SetRange(0, points * 0.1 * 1.1);
    chart.BottomAxis().SetIncrement(30);
    chart.LeftAxis().SetRange(0, 600);
    chart.LeftAxis().SetIncrement(50);
}

// The chart at its size in the window, holding `points` samples, drawn once.
void ShowChart(TChart& chart, int points) {
    chart.resize(742, 567);
    chart.show();
    FillPressTest(chart, points);
    chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
}

// Axes, grid, labels and curve drawn again, and the widget painted.
void BM_FullRedraw(benchmark::State& state) {
    TChart chart;
    ShowChart(chart, int(state.range(0)));
    for (auto _ : state) {
        chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK(BM_FullRedraw)->Arg(600)->Arg(kFullStore)->Unit(benchmark::kMillisecond);

// What a paced redraw costs while recording: the curve's own picture drawn again over the
// pictures of the axes and grid, and the widget painted.
void BM_CurveRedraw(benchmark::State& state) {
    TChart chart;
    ShowChart(chart, int(state.range(0)));
    for (auto _ : state) {
        chart.Plot()->layer(QStringLiteral("main"))->replot();
        chart.Plot()->repaint();
    }
}
BENCHMARK(BM_CurveRedraw)->Arg(600)->Arg(kFullStore)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
