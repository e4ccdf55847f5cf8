// Redraw costs of the load chart with a full store of points, at its size in the window.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QApplication>
#include <cmath>

#include "chart/chart.h"

namespace {

constexpr int kPoints = 32767;

// A press test: the load rises, fails and drops, one sample per 100 ms.
void FillPressTest(TChart& chart) {
    for (int i = 0; i < kPoints; ++i) {
        const double t = i * 0.1;
        chart.Series().AddXY(t, 500 * std::sin(3.0 * i / kPoints) + (i % 7) * 0.3);
    }
    chart.BottomAxis().SetRange(0, kPoints * 0.1 * 1.1);
    chart.BottomAxis().SetIncrement(30);
    chart.LeftAxis().SetRange(0, 600);
    chart.LeftAxis().SetIncrement(50);
}

void BM_FullRedraw(benchmark::State& state) {
    TChart chart;
    chart.resize(742, 567);
    chart.show();
    FillPressTest(chart);
    chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : state) {
        chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond);

// What one stored sample costs the UI thread: the append, then the queued redraw it causes.
// The series grows by one point per iteration, a fraction of a percent over the run.
void BM_AppendAndQueuedRedraw(benchmark::State& state) {
    TChart chart;
    chart.resize(742, 567);
    chart.show();
    FillPressTest(chart);
    QCoreApplication::processEvents();
    double t = kPoints * 0.1;
    for (auto _ : state) {
        t += 0.1;
        chart.Series().AddXY(t, 250);
        chart.Repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_AppendAndQueuedRedraw)->Unit(benchmark::kMillisecond);

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
