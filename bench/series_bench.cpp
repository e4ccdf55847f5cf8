// The series report of twelve full tests as a PDF file, from the tests' files to the page
// written, beside the protocol of one full test as a PDF file, from the chart that shows it (the
// protocol prints what the window shows). scripts/bench.sh prints the ratio of the two.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "archive/series_page.h"
#include "chart/chart.h"
#include "press_chart.h"
#include "records/protocol.h"
#include "records/protocol_page.h"
#include "records/test_file.h"

namespace {

constexpr int kSeriesTests = 12;

// Twelve test files of a full store each: the load rises, fails and drops, each test to a peak
// of its own.
QStringList MakeTestFiles(const QTemporaryDir& dir) {
    auto store = std::make_unique<TSampleStore>();
    store->Count = kFullStore;
    QStringList paths;
    for (int test = 0; test < kSeriesTests; ++test) {
        for (int i = 0; i < kFullStore; ++i) {
            store->TimeMs[size_t(i)] = i * 100;
            store->ForceN[size_t(i)] =
                int32_t((400 + 20 * test) * 1000 * std::sin(3.0 * i / kFullStore) + (i % 7) * 300);
        }
        const QString name = QStringLiteral("Куб-%1").arg(test + 1);
        const TSpecimenData header =
            FillForSave(QDate(2011, 12, 12), name, QStringLiteral("М-%1").arg(test + 1),
                        QStringLiteral("куб"), QStringLiteral("22500"), kFullStore, 1000);
        paths << dir.filePath(name + QStringLiteral(".ktd"));
        if (!records::SaveTestFile(paths.back(), header, *store).ok) {
            return {};
        }
    }
    return paths;
}

// The report as the archive gives it: every test read from its file.
archive::TSeriesReport ReadSeries(const QStringList& paths, TSampleStore& store) {
    archive::TSeriesReport report;
    report.name = QStringLiteral("Партия 7, 28 суток");
    report.reportDate = QStringLiteral("19.12.2011");
    report.machine = QStringLiteral("П-125");
    report.operatorName = QStringLiteral("Иванов");
    report.rule = {archive::TSeriesRule::TKind::kBest, 10};
    for (const QString& path : paths) {
        const TOpenedTest test = records::OpenTestFile(path, store);
        archive::TSeriesSpecimen specimen;
        specimen.testName = test.header.TestNameString();
        specimen.marking = test.header.MarkingString();
        specimen.type = test.header.SampleTypeString();
        specimen.dateText = test.header.DateString();
        specimen.areaText = test.header.AreaString();
        specimen.fmaxN = test.fmaxN;
        report.specimens.push_back(specimen);
        report.curves.push_back(archive::CurveOf(store));
    }
    return report;
}

void BM_SeriesReportPdf(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList paths = MakeTestFiles(dir);
    if (paths.size() != kSeriesTests) {
        state.SkipWithError("the test files were not written");
        return;
    }
    auto store = std::make_unique<TSampleStore>();
    const QString pdf = dir.filePath(QStringLiteral("series.pdf"));
    for (auto _ : state) {
        if (!archive::WriteSeriesPdf(pdf, ReadSeries(paths, *store)).isEmpty()) {
            state.SkipWithError("the PDF was not written");
        }
    }
    state.counters["bytes"] = double(QFileInfo(pdf).size());
}
BENCHMARK(BM_SeriesReportPdf)->Unit(benchmark::kMillisecond);

void BM_ProtocolPdfOfOneTest(benchmark::State& state) {
    TChart chart;
    chart.resize(742, 567);
    chart.show();
    FillPressTest(chart, kFullStore);
    chart.SetTitleLines(records::ProtocolHeading(TSpecimenData{}));
    chart.ShowTitle(true);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("protocol.pdf"));
    for (auto _ : state) {
        if (!records::WriteProtocolPdf(pdf, chart).isEmpty()) {
            state.SkipWithError("the PDF was not written");
        }
    }
    state.counters["bytes"] = double(QFileInfo(pdf).size());
}
BENCHMARK(BM_ProtocolPdfOfOneTest)->Unit(benchmark::kMillisecond);

}  // namespace
