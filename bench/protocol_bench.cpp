// The protocol as a PDF file: the page drawn from a chart with its heading and written whole.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "chart/chart.h"
#include "press_chart.h"
#include "records/protocol.h"
#include "records/protocol_page.h"

namespace {

void BM_ProtocolPdf(benchmark::State& state) {
    TChart chart;
    chart.resize(742, 567);
    chart.show();
    FillPressTest(chart, int(state.range(0)));
    chart.SetTitleLines(records::ProtocolHeading(TSpecimenData{}));
    chart.ShowTitle(true);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("protocol.pdf"));
    for (auto _ : state) {
        if (!records::WriteProtocolPdf(path, chart).isEmpty()) {
            state.SkipWithError("the PDF was not written");
        }
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_ProtocolPdf)->Arg(600)->Arg(kFullStore)->Unit(benchmark::kMillisecond);

}  // namespace
