// Start, Stop and Cancel of a registration, the timer's link supervision and indicators, and
// what frames do to the store and the chart while a registration runs.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "panels_fixture.h"

namespace {

constexpr uint16_t kFullScaleCode = 52428;  // 100 kN under the default FORCE_SCALE of 100
constexpr uint16_t kHalfScaleCode = 26214;  // 50 kN

// ---- Start, Stop and Cancel ----

using RegistrationTest = MeasurePanelsTest;

TEST_F(RegistrationTest, StartWhileRecordingIsIgnored) {
    Record(3);
    Click(Button("btStart"));
    EXPECT_EQ(store.Count, 3) << "a second Start would begin again from sample 0";
    EXPECT_EQ(Chart().Series().Count(), 3);
    Feed(1000);
    EXPECT_EQ(store.Count, 4);
}

TEST_F(RegistrationTest, StopWhileStoppedChangesNothing) {
    Record(3);
    Click(Button("btStop"));
    ASSERT_EQ(changes.size(), 2u);  // Start, Stop
    ASSERT_EQ(SaveOffered(), true);
    Click(Button("btStop"));
    EXPECT_EQ(changes.size(), 2u) << "a second Stop would offer saving again";
    EXPECT_TRUE(Button("btStop")->isChecked());
    EXPECT_FALSE(Button("btStart")->isChecked());
}

TEST_F(RegistrationTest, StoppedRegistrationStoresNoMoreSamples) {
    Record(3);
    Click(Button("btStop"));
    Feed(1000, 5);
    EXPECT_EQ(store.Count, 3);
    EXPECT_EQ(Chart().Series().Count(), 3);
}

TEST_F(RegistrationTest, CancelWhileRecordingEmptiesEverythingAndRecordsOnFromTimeZero) {
    Record(3, kFullScaleCode);
    Click(Button("btCancel"));
    EXPECT_EQ(Chart().Series().Count(), 0);
    EXPECT_EQ(store.Count, 0);
    EXPECT_EQ(store.ForceN[1], 0);
    EXPECT_EQ(store.TimeMs[2], 0);
    EXPECT_EQ(measure.MaxForce, 0);

    Feed(kFullScaleCode);
    EXPECT_EQ(store.Count, 1);
    EXPECT_EQ(store.TimeMs[0], 0);
    EXPECT_GT(store.ForceN[0], 0);
    EXPECT_EQ(Chart().Series().Count(), 1);
    EXPECT_TRUE(Button("btStart")->isChecked());
}

TEST_F(RegistrationTest, AreaAtStartGivesRmaxAndZeroGivesNone) {
    const struct {
        const char* area;
        int32_t areaMm2;
        double rmax;  // after the force reaches 100 kN
    } rows[] = {{"0", 0, 0}, {"250", 250, 400}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.area);
        area = QString::fromLatin1(row.area);
        Click(Button("btStart"));
        EXPECT_EQ(store.AreaMm2, row.areaMm2);
        Feed(kFullScaleCode, 10);
        EXPECT_DOUBLE_EQ(measure.MaxForce, 100);
        EXPECT_DOUBLE_EQ(measure.Rmax, row.rmax);
        Click(Button("btStop"));
        Click(Button("btCancel"));
    }
}

// Each period stores one sample per period / 100 frames (integer division), stamped with
// nominal times 0, P, 2P.
TEST_F(RegistrationTest, PeriodGatesFramesAndStampsNominalTimes) {
    const struct {
        int index;
        int32_t period;
        int framesPerSample;
    } rows[] = {{0, 100, 1}, {1, 200, 2}, {2, 250, 2}, {3, 500, 5}, {4, 1000, 10}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.period);
        Feed(1000, 10);  // frames before Start: the first frame after it stores
        Combo("cbPeriod")->setCurrentIndex(row.index);
        Click(Button("btStart"));
        Feed(1000, 2 * row.framesPerSample + 1);
        EXPECT_EQ(store.PeriodMs, row.period);
        ASSERT_EQ(store.Count, 3);
        EXPECT_EQ(store.TimeMs[0], 0);
        EXPECT_EQ(store.TimeMs[1], row.period);
        EXPECT_EQ(store.TimeMs[2], 2 * row.period);
        EXPECT_DOUBLE_EQ(Chart().Series().MaxX(), 2 * row.period * 0.001);
        Click(Button("btStop"));
    }
}

TEST_F(RegistrationTest, FullStoreStopsTheRegistrationThroughStop) {
    Click(Button("btStart"));
    store.Count = kStoreCapacity - 2;
    Feed(1000);
    EXPECT_EQ(store.Count, kStoreCapacity - 1);
    EXPECT_TRUE(Button("btStart")->isChecked());

    Feed(1000);
    EXPECT_EQ(store.Count, kStoreCapacity);
    EXPECT_EQ(store.TimeMs[kStoreCapacity - 1], (kStoreCapacity - 1) * 100);
    EXPECT_TRUE(Button("btStop")->isChecked());
    EXPECT_TRUE(flags.Stopped);
    EXPECT_EQ(SaveOffered(), true);

    Feed(kFullScaleCode, 10);
    EXPECT_EQ(store.Count, kStoreCapacity);
    EXPECT_EQ(Chart().Series().Count(), 2);
    Tick();
    EXPECT_EQ(Label("stFORCE")->text(), QStringLiteral("  100.00")) << "the indicators go on";
    EXPECT_EQ(Label("stCountSamples")->text(), QStringLiteral("32767"));
}

// What the registration's journal hears: each stored sample as it was stored, the last one of
// a full store before the Stop it causes, and whether a Cancel goes on recording.
TEST_F(RegistrationTest, TheJournalHearsTheRegistrationsCourseInOrder) {
    std::vector<std::string> heard;
    QObject::connect(&recording, &TRecording::RegistrationStarted,
                     [&] { heard.push_back("start"); });
    QObject::connect(&recording, &TRecording::SampleAppended, [&](double timeS, double forceKn) {
        const int32_t last = store.Count - 1;
        EXPECT_DOUBLE_EQ(timeS, store.TimeMs[last] / 1000.0);
        EXPECT_NEAR(forceKn * 1000, store.ForceN[last], 1);
        heard.push_back("sample " + std::to_string(store.TimeMs[last]));
    });
    QObject::connect(&recording, &TRecording::RegistrationStopped,
                     [&] { heard.push_back("stop"); });
    QObject::connect(&recording, &TRecording::DataCancelled, [&](bool registering) {
        heard.push_back(registering ? "cancel, recording on" : "cancel");
    });
    QObject::connect(registration, &TRegistrationPanel::TimerTicked,
                     [&] { heard.push_back("tick"); });

    Record(2, kHalfScaleCode);
    Click(Button("btCancel"));
    Feed(kHalfScaleCode);
    store.Count = kStoreCapacity - 1;
    Feed(kHalfScaleCode, 2);
    Click(Button("btCancel"));
    Tick();
    const std::string last = "sample " + std::to_string((kStoreCapacity - 1) * 100);
    EXPECT_EQ(heard,
              (std::vector<std::string>{"start", "sample 0", "sample 100", "cancel, recording on",
                                        "sample 0", last, "stop", "cancel", "tick"}));
}

// ---- The timer: link supervision and indicators ----

TEST_F(RegistrationTest, LostLinkStopsOnTheNextTickAndBlinks) {
    Record(3);
    Tick();  // tick 1
    EXPECT_EQ(panels[2], QStringLiteral(" I/O count: 00000003"));
    WatchdogTicks(19);
    Tick();  // tick 2
    EXPECT_TRUE(Button("btStart")->isChecked()) << "one receive cycle of the link is left";
    WatchdogTicks(1);
    Tick();  // tick 3
    EXPECT_TRUE(Button("btStop")->isChecked());
    EXPECT_TRUE(flags.Stopped);
    EXPECT_EQ(store.Count, 3) << "the samples stay";
    EXPECT_EQ(SaveOffered(), true) << "and can be saved";

    const struct {
        int tick;
        QString panel2;
    } blink[] = {
        {4, QStringLiteral(" I/O count: 00000003")},
        {5, QStringLiteral("       НЕТ СВЯЗИ !!!    ")},
        {8, QStringLiteral("       НЕТ СВЯЗИ !!!    ")},
        {9, QString()},
        {10, QString()},
        {15, QStringLiteral("       НЕТ СВЯЗИ !!!    ")},
    };
    int tick = 3;
    for (const auto& row : blink) {
        Tick(row.tick - tick);
        tick = row.tick;
        EXPECT_EQ(panels[2], row.panel2) << "tick " << row.tick;
    }
}

TEST_F(RegistrationTest, ResetFrameZeroesTheIoCountAndOtherKindsOnlyKeepTheLinkAlive) {
    Feed(1000, 3);
    Feed(0, 1, 'p');
    Tick();
    EXPECT_EQ(panels[2], QStringLiteral(" I/O count: 00000000"));
    Feed(1000, 2);
    WatchdogTicks(20);
    Feed(0, 1, 'x');
    Tick();
    EXPECT_EQ(panels[2], QStringLiteral(" I/O count: 00000002"));
}

TEST_F(RegistrationTest, IndicatorsShowTheFramesAtTheNextTick) {
    Record(10, kFullScaleCode);
    Tick();
    EXPECT_EQ(Label("stFORCE")->text(), QStringLiteral("  100.00"));
    EXPECT_EQ(Label("stMaxForce")->text(), QStringLiteral("max=100.000 "));
    EXPECT_EQ(Label("lbRmax")->text(), QStringLiteral("100.000"));  // 100 kN on 1000 mm2
    EXPECT_EQ(Label("stCountSamples")->text(), QStringLiteral("00010"));
    EXPECT_TRUE(Label("stSpeedForce")->text().endsWith(QStringLiteral(" кН/с")));
}

// ---- The chart follows the recording ----

TEST_F(RegistrationTest, FirstSampleOpensBothAxes) {
    Feed(kHalfScaleCode, 10);  // the 10-frame mean settles at 50 kN before Start
    Click(Button("btStart"));
    Feed(kHalfScaleCode);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), 50 * 1.2);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), 20);
}

// The load axis re-fits once 98 % of the stored force reaches the axis' maximum.
TEST_F(RegistrationTest, LoadAxisWidensWhen98PercentOfTheForceReachesItsMaximum) {
    const struct {
        double leftMax;
        double afterSample;
    } rows[] = {{49.01, 49.01}, {49, 60}};  // 0.98 x 50 kN = 49
    Feed(kHalfScaleCode, 10);
    Click(Button("btStart"));
    Feed(kHalfScaleCode);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.leftMax);
        ASSERT_TRUE(Chart().LeftAxis().SetMaximum(row.leftMax));
        Feed(kHalfScaleCode);
        EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), row.afterSample);
    }
}

TEST_F(RegistrationTest, TimeAxisGrowsBy20SecondsWhenTheTimeReachesItsEnd) {
    Feed(1000, 10);  // a steady force: only the time reaches an edge
    Click(Button("btStart"));
    Feed(1000, 2);  // samples at 0 and 0.1 s
    TChartAxis& bottom = Chart().BottomAxis();
    ASSERT_TRUE(bottom.SetRange(0, 0.25));
    Feed(1000);  // 0.2 s
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 0.25);
    Feed(1000);  // 0.3 s: AutoScale gives 0.33, then 20 s more
    EXPECT_NEAR(bottom.Maximum(), 20.33, 1e-9);
    EXPECT_EQ(bottom.Minimum(), 0);
}

}  // namespace
