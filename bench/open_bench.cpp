// What opening a test of a full store costs the operator's screen: from the click on the open
// button, whose dialog answers with the file at once (the moment the operator presses Return),
// to the paint of the chart that shows the test's 32767 points, in the main window as the
// program shows it. Beside it the floors: a bare widget of the chart's size that reads the same
// file, maps its points and paints them with one drawPoints call, every point or each pixel
// once (the distinct pixels told apart with a bitmap first), and one that draws what the chart
// shows, bare: the chart's axis rectangle and axes, grid, labels and titles, and the points
// each pixel once. All are shown on the offscreen platform and reach the screen through real
// paint events.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "app/main.h"
#include "bare_chart.h"
#include "chart/chart.h"
#include "measure/specimen_data.h"
#include "platform/program_dir.h"
#include "records/test_file.h"
#include "screen_bench.h"
#include "ui/user_dialogs.h"

namespace {

using screen_bench::kFullStore;

constexpr int kPeriodMs = 100;
constexpr int kHeaderSize = 120;
constexpr int kRecordSize = 8;

// A press test of one sample per 100 ms: the load rises to 500 kN, fails and drops.
TSampleStore PressTest() {
    TSampleStore store;
    for (int i = 0; i < kFullStore; ++i) {
        store.TimeMs[size_t(i)] = i * kPeriodMs;
        store.ForceN[size_t(i)] = int32_t(1000 * (500 * std::sin(3.0 * i / kFullStore) + i % 7));
    }
    store.Count = kFullStore;
    return store;
}

// A program folder of its own, opening no port, with the full test in it.
class TBenchFolder {
  public:
    TBenchFolder() {
        if (!dir_.isValid()) {
            qFatal("no scratch folder");
        }
        platform::OverrideProgramDir(dir_.path());
        QFile ini(dir_.filePath(QStringLiteral("VE17.ini")));
        if (!ini.open(QIODevice::WriteOnly) || ini.write("[CONFIG]\r\nLINK_PORT=none\r\n") < 0) {
            qFatal("cannot write VE17.ini");
        }
        const TSpecimenData header =
            FillForSave(QDate(2024, 1, 1), "bench", "", "", "100", kFullStore, 100);
        if (!records::SaveTestFile(TestPath(), header, PressTest()).ok) {
            qFatal("cannot write the test file");
        }
    }
    ~TBenchFolder() { platform::OverrideProgramDir({}); }
    QString TestPath() const { return dir_.filePath(QStringLiteral("full.ktd")); }

  private:
    QTemporaryDir dir_;
};

// The open dialog answers with the test at once; nothing else is ever shown or asked.
class TAnsweringDialogs final : public TUserDialogs {
  public:
    explicit TAnsweringDialogs(QString path) : path_(std::move(path)) {}
    QString SaveFileName(QWidget*, const TFileDialogSetup&) override { return {}; }
    QString OpenFileName(QWidget*, const TFileDialogSetup&) override { return path_; }
    void Message(QWidget*, const QString&, TMessageIcon) override {}
    void Notice(QWidget*, const QString&) override {}
    bool Question(QWidget*, const QString&) override { return false; }
    void Error(QWidget*, const QString&) override {}
    void Beep() override {}
    std::unique_ptr<QPrinter> DefaultPrinter() override { return nullptr; }
    void OpenUrl(const QUrl&) override {}

  private:
    QString path_;
};

// Runs the event loop, sleeping while no event comes, until `done` holds; false after a few
// seconds without it.
bool RunEventsUntil(const std::function<bool()>& done) {
    constexpr int kLimitMs = 5000;
    QTimer wake;  // the loop looks at the limit at least this often
    wake.start(100);
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(kLimitMs)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The number of points of the latest chart redraw that a paint of the plot then showed; -1
// while none has been shown since the last Reset.
class TShownPoints : public QObject {
  public:
    explicit TShownPoints(TChart& chart) : chart_(chart) {
        chart.Plot()->installEventFilter(this);
        connect(chart.Plot(), &QCustomPlot::afterReplot, this,
                [this] { redrawn_ = chart_.Series().Count(); });
    }
    int Count() const { return shown_; }
    void Reset() { redrawn_ = shown_ = -1; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && redrawn_ >= 0) {
            shown_ = redrawn_;
        }
        return false;
    }

  private:
    TChart& chart_;
    int redrawn_ = -1;
    int shown_ = -1;
};

// Each iteration starts as after Cancel, with the empty chart on the screen.
void BM_OpenToFirstPaint(benchmark::State& state) {
    const TBenchFolder folder;
    TAnsweringDialogs dialogs(folder.TestPath());
    TMainForm form(dialogs);
    // The indicators' 100 ms refresh has nothing to do with opening: it would only add noise.
    form.findChild<QTimer*>(QStringLiteral("Tm"))->stop();
    screen_bench::Show(form);
    TChart& chart = *form.findChild<TChart*>(QStringLiteral("chrtSignTraces"));
    auto* open = form.findChild<QPushButton*>(QStringLiteral("btOpenTest"));
    auto* cancel = form.findChild<QPushButton*>(QStringLiteral("btCancel"));
    TShownPoints shown(chart);
    for (auto _ : state) {
        state.PauseTiming();
        shown.Reset();
        cancel->click();
        const bool cleared = RunEventsUntil([&] { return shown.Count() == 0; });
        shown.Reset();
        state.ResumeTiming();
        open->click();
        if (!cleared || !RunEventsUntil([&] { return shown.Count() == kFullStore; })) {
            state.SkipWithError("the opened test never reached the screen");
            break;
        }
    }
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond);

// The test file read whole, its records taken as points (s, kN); returns the largest time and
// the largest load.
QPointF ReadPoints(const QString& path, std::vector<QPointF>& points) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read the test file");
    }
    const QByteArray bytes = file.readAll();
    const int count = std::max(0, int((bytes.size() - kHeaderSize) / kRecordSize));
    points.resize(size_t(count));
    double xMax = 0;
    double yMax = 0;
    for (int i = 0; i < count; ++i) {
        int32_t record[2];
        std::memcpy(record, bytes.constData() + kHeaderSize + i * kRecordSize, sizeof record);
        points[size_t(i)] = QPointF(record[1] * 0.001, record[0] * 0.001);
        xMax = std::max(xMax, points[size_t(i)].x());
        yMax = std::max(yMax, points[size_t(i)].y());
    }
    return {xMax, yMax};
}

// The floor: the file read whole, its records taken as points, mapped and painted in one call,
// every point or (`eachPixelOnce`) each pixel once.
class TFloorWidget : public QWidget {
  public:
    explicit TFloorWidget(bool eachPixelOnce = false) : eachPixelOnce_(eachPixelOnce) {}
    void Load(const QString& path) {
        const QPointF largest = ReadPoints(path, points_);
        xMax_ = largest.x();
        yMax_ = largest.y();
        painted_ = false;
        update();
    }
    bool Painted() const { return painted_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (eachPixelOnce_) {
            painter.fillRect(rect(), Qt::white);
            screen_bench::PaintDistinctPoints(painter, rect(), points_, xMax_ * 1.1, yMax_ * 1.2,
                                              drawn_, pixels_);
        } else {
            screen_bench::PaintPoints(painter, size(), points_, xMax_ * 1.1, yMax_ * 1.2, pixels_);
        }
        painted_ = true;
    }

  private:
    const bool eachPixelOnce_;
    std::vector<QPointF> points_;
    screen_bench::TPixelBits drawn_;
    std::vector<QPoint> pixels_;
    double xMax_ = 1;
    double yMax_ = 1;
    bool painted_ = false;
};

// Loads the test into the floor again and again, each time until its paint.
void LoadFloor(benchmark::State& state, bool eachPixelOnce) {
    const TBenchFolder folder;
    TFloorWidget floor(eachPixelOnce);
    floor.resize(screen_bench::kWidth, screen_bench::kHeight);
    screen_bench::Show(floor);
    const screen_bench::TPaintCounter paints(floor);
    for (auto _ : state) {
        floor.Load(folder.TestPath());
        if (!RunEventsUntil([&] { return floor.Painted(); })) {
            state.SkipWithError("the floor never reached the screen");
            break;
        }
    }
    screen_bench::ExpectPaints(state, paints);
}

void BM_OpenToFirstPaintFloor(benchmark::State& state) {
    LoadFloor(state, false);
}
BENCHMARK(BM_OpenToFirstPaintFloor)->Unit(benchmark::kMillisecond);

void BM_OpenToFirstPaintFloorEachPixelOnce(benchmark::State& state) {
    LoadFloor(state, true);
}
BENCHMARK(BM_OpenToFirstPaintFloorEachPixelOnce)->Unit(benchmark::kMillisecond);

// The floor that draws what the chart shows, bare, on the axes and in the axis rectangle the
// chart has with the test open.
class TBareChartFloor : public bare_chart::TBareChart {
  public:
    using TBareChart::TBareChart;
    void Load(const QString& path) {
        ReadPoints(path, Points());
        painted_ = false;
        update();
    }
    bool Painted() const { return painted_; }

  protected:
    void paintEvent(QPaintEvent* event) override {
        TBareChart::paintEvent(event);
        painted_ = true;
    }

  private:
    bool painted_ = false;
};

// The chart of the window with the test open: its size, axis rectangle and axes.
std::unique_ptr<TBareChartFloor> BareChartAsOpened(const TBenchFolder& folder) {
    TAnsweringDialogs dialogs(folder.TestPath());
    TMainForm form(dialogs);
    screen_bench::Show(form);
    TChart& chart = *form.findChild<TChart*>(QStringLiteral("chrtSignTraces"));
    TShownPoints shown(chart);
    form.findChild<QPushButton*>(QStringLiteral("btOpenTest"))->click();
    if (!RunEventsUntil([&] { return shown.Count() == kFullStore; })) {
        qFatal("the opened test never reached the screen");
    }
    const TChartAxis& time = chart.BottomAxis();
    const TChartAxis& load = chart.LeftAxis();
    if (time.Minimum() != 0 || load.Minimum() != 0 || !(time.Increment() > 0) ||
        !(load.Increment() > 0)) {
        qFatal("the opened test's axes are not the ones the floor draws");
    }
    auto floor = std::make_unique<TBareChartFloor>(
        chart.Plot()->axisRect()->rect().translated(chart.Plot()->pos()), time.Maximum(),
        time.Increment(), load.Maximum(), load.Increment());
    floor->resize(chart.size());
    return floor;
}

void BM_OpenToFirstPaintFloorWithAxes(benchmark::State& state) {
    const TBenchFolder folder;
    const auto floor = BareChartAsOpened(folder);
    screen_bench::Show(*floor);
    const screen_bench::TPaintCounter paints(*floor);
    for (auto _ : state) {
        floor->Load(folder.TestPath());
        if (!RunEventsUntil([&] { return floor->Painted(); })) {
            state.SkipWithError("the floor never reached the screen");
            break;
        }
    }
    screen_bench::ExpectPaints(state, paints);
}
BENCHMARK(BM_OpenToFirstPaintFloorWithAxes)->Unit(benchmark::kMillisecond);

}  // namespace
