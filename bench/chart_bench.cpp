// Redraw costs of the load chart with a full store of points, at its size in the window.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QApplication>

#include "chart/chart.h"
#include "press_chart.h"

namespace {

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
