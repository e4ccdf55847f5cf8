// Start, Stop and Cancel of a registration through the window, the timer's link supervision and
// indicators, and what frames do to the store and the chart while a registration runs.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <optional>

#include "chart/chart.h"
#include "window_driver.h"

namespace {

constexpr uint16_t kFullScaleCode = 52428;  // 100 kN under the default FORCE_SCALE of 100
constexpr uint16_t kHalfScaleCode = 26214;  // 50 kN

// ---- Which controls each action enables ----

enum class Action { Start, StopAfter2, StopAfter3, CancelWhileRecording };

struct EnablingRow {
    const char* name;
    Action action;
    // nullopt: the action leaves the control as it found it
    std::optional<bool> protocol, saveTest, openTest, toExel, configMenu, infoShown;
    bool registering;  // btStart pressed afterwards
};

const EnablingRow kEnablingRows[] = {
    {"Start", Action::Start, false, false, false, false, false, std::nullopt, true},
    {"StopAfter2", Action::StopAfter2, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, std::nullopt, false},
    {"StopAfter3", Action::StopAfter3, std::nullopt, true, std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, false},
    // Opening a test and the configuration stay locked while the registration goes on.
    {"CancelWhileRecording", Action::CancelWhileRecording, false, false, false, false, false, false,
     true},
};

void PrintTo(const EnablingRow& row, std::ostream* out) {
    *out << row.name;
}

class EnablingTest : public DrivenWindowTest,
                     public ::testing::WithParamInterface<std::tuple<EnablingRow, bool>> {
  protected:
    // Every control the actions touch, set to one state first, so "unchanged" shows.
    void Preset(bool on) {
        for (QPushButton* button :
             {form->btProtocol, form->btSaveTest, form->btOpenTest, form->btToExel}) {
            button->setEnabled(on);
        }
        form->N2->menuAction()->setEnabled(on);
        form->pnInfo->setVisible(on);
    }
};

TEST_P(EnablingTest, ActionSetsItsControlsAndLeavesTheRest) {
    const auto& [row, preset] = GetParam();
    switch (row.action) {
        case Action::Start:
            Preset(preset);
            Click(form->btStart);
            break;
        case Action::StopAfter2:
        case Action::StopAfter3:
            Record(row.action == Action::StopAfter2 ? 2 : 3);
            Preset(preset);
            Click(form->btStop);
            break;
        case Action::CancelWhileRecording:
            Record(3);
            Preset(preset);
            Click(form->btCancel);
            break;
    }
    const auto expected = [preset](std::optional<bool> value) { return value.value_or(preset); };
    EXPECT_EQ(form->btProtocol->isEnabled(), expected(row.protocol));
    EXPECT_EQ(form->btSaveTest->isEnabled(), expected(row.saveTest));
    EXPECT_EQ(form->btOpenTest->isEnabled(), expected(row.openTest));
    EXPECT_EQ(form->btToExel->isEnabled(), expected(row.toExel));
    EXPECT_EQ(form->N2->menuAction()->isEnabled(), expected(row.configMenu));
    EXPECT_EQ(form->pnInfo->isVisible(), expected(row.infoShown));
    EXPECT_EQ(form->btStart->isChecked(), row.registering);
    EXPECT_EQ(form->btStop->isChecked(), !row.registering);
}

INSTANTIATE_TEST_SUITE_P(Actions, EnablingTest,
                         ::testing::Combine(::testing::ValuesIn(kEnablingRows), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_AllOn" : "_AllOff");
                         });

// ---- Start, Stop and Cancel ----

using RegistrationTest = DrivenWindowTest;

TEST_F(RegistrationTest, StartWhileRecordingIsIgnored) {
    Record(3);
    Click(form->btStart);
    EXPECT_EQ(form->Store.Count, 3) << "a second Start would begin again from sample 0";
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 3);
    Feed(1000);
    EXPECT_EQ(form->Store.Count, 4);
}

TEST_F(RegistrationTest, StopWhileStoppedKeepsTheSaveButtonAsItIs) {
    Record(3);
    Click(form->btStop);
    ASSERT_TRUE(form->btSaveTest->isEnabled());
    script->fileAnswers = {folder.filePath(QStringLiteral("once.ktd"))};
    Click(form->btSaveTest);
    ASSERT_FALSE(form->btSaveTest->isEnabled()) << "saved once";
    Click(form->btStop);
    EXPECT_FALSE(form->btSaveTest->isEnabled());
    EXPECT_TRUE(form->btStop->isChecked());
}

TEST_F(RegistrationTest, StoppedRegistrationStoresNoMoreSamples) {
    Record(3);
    Click(form->btStop);
    Feed(1000, 5);
    EXPECT_EQ(form->Store.Count, 3);
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 3);
}

TEST_F(RegistrationTest, CancelWhileRecordingEmptiesEverythingAndRecordsOnFromTimeZero) {
    Record(3, kFullScaleCode);
    Click(form->btCancel);
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 0);
    EXPECT_EQ(form->Store.Count, 0);
    EXPECT_EQ(form->Store.ForceN[1], 0);
    EXPECT_EQ(form->Store.TimeMs[2], 0);
    EXPECT_EQ(form->Measure.MaxForce, 0);

    Feed(kFullScaleCode);
    EXPECT_EQ(form->Store.Count, 1);
    EXPECT_EQ(form->Store.TimeMs[0], 0);
    EXPECT_GT(form->Store.ForceN[0], 0);
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 1);
    EXPECT_TRUE(form->btStart->isChecked());
}

TEST_F(RegistrationTest, EmptyAreaBecomesZeroAtStartAndGivesNoRmax) {
    const struct {
        const char* typed;
        const char* shown;
        int32_t area;
        double rmax;  // after the force reaches 100 kN
    } rows[] = {{"", "0", 0, 0}, {"250", "250", 250, 400}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        form->edSQR->setText(QString::fromLatin1(row.typed));
        Click(form->btStart);
        EXPECT_EQ(form->edSQR->text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(form->Store.AreaMm2, row.area);
        Feed(kFullScaleCode, 10);
        EXPECT_DOUBLE_EQ(form->Measure.MaxForce, 100);
        EXPECT_DOUBLE_EQ(form->Measure.Rmax, row.rmax);
        Click(form->btStop);
        Click(form->btCancel);
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
        form->cbPeriod->setCurrentIndex(row.index);
        Click(form->btStart);
        Feed(1000, 2 * row.framesPerSample + 1);
        EXPECT_EQ(form->Store.PeriodMs, row.period);
        ASSERT_EQ(form->Store.Count, 3);
        EXPECT_EQ(form->Store.TimeMs[0], 0);
        EXPECT_EQ(form->Store.TimeMs[1], row.period);
        EXPECT_EQ(form->Store.TimeMs[2], 2 * row.period);
        EXPECT_DOUBLE_EQ(form->chrtSignTraces->Series().MaxX(), 2 * row.period * 0.001);
        Click(form->btStop);
    }
}

TEST_F(RegistrationTest, FullStoreStopsTheRegistrationThroughStop) {
    Click(form->btStart);
    form->Store.Count = kStoreCapacity - 2;
    Feed(1000);
    EXPECT_EQ(form->Store.Count, kStoreCapacity - 1);
    EXPECT_TRUE(form->btStart->isChecked());

    Feed(1000);
    EXPECT_EQ(form->Store.Count, kStoreCapacity);
    EXPECT_EQ(form->Store.TimeMs[kStoreCapacity - 1], (kStoreCapacity - 1) * 100);
    EXPECT_TRUE(form->btStop->isChecked());
    EXPECT_TRUE(form->Stopped);
    EXPECT_TRUE(form->btSaveTest->isEnabled());

    Feed(kFullScaleCode, 10);
    EXPECT_EQ(form->Store.Count, kStoreCapacity);
    EXPECT_EQ(form->chrtSignTraces->Series().Count(), 2);
    Tick();
    EXPECT_EQ(form->stFORCE->text(), QStringLiteral("  100.00")) << "the indicators go on";
    EXPECT_EQ(form->stCountSamples->text(), QStringLiteral("32767"));
}

// ---- The timer: link supervision and indicators ----

TEST_F(RegistrationTest, LostLinkStopsOnTheNextTickAndBlinks) {
    Record(3);
    Tick();  // tick 1
    EXPECT_EQ(form->StatusPanelText(2), QStringLiteral(" I/O count: 00000003"));
    WatchdogTicks(19);
    Tick();  // tick 2
    EXPECT_TRUE(form->btStart->isChecked()) << "one receive cycle of the link is left";
    WatchdogTicks(1);
    Tick();  // tick 3
    EXPECT_TRUE(form->btStop->isChecked());
    EXPECT_TRUE(form->Stopped);
    EXPECT_EQ(form->Store.Count, 3) << "the samples stay";
    EXPECT_TRUE(form->btSaveTest->isEnabled()) << "and can be saved";

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
        EXPECT_EQ(form->StatusPanelText(2), row.panel2) << "tick " << row.tick;
    }
}

TEST_F(RegistrationTest, ResetFrameZeroesTheIoCountAndOtherKindsOnlyKeepTheLinkAlive) {
    Feed(1000, 3);
    Feed(0, 1, 'p');
    Tick();
    EXPECT_EQ(form->StatusPanelText(2), QStringLiteral(" I/O count: 00000000"));
    Feed(1000, 2);
    WatchdogTicks(20);
    Feed(0, 1, 'x');
    Tick();
    EXPECT_EQ(form->StatusPanelText(2), QStringLiteral(" I/O count: 00000002"));
}

TEST_F(RegistrationTest, IndicatorsShowTheFramesAtTheNextTick) {
    Record(10, kFullScaleCode);
    Tick();
    EXPECT_EQ(form->stFORCE->text(), QStringLiteral("  100.00"));
    EXPECT_EQ(form->stMaxForce->text(), QStringLiteral("max=100.000 "));
    EXPECT_EQ(form->lbRmax->text(), QStringLiteral("100.000"));  // 100 kN on 1000 mm2
    EXPECT_EQ(form->stCountSamples->text(), QStringLiteral("00010"));
    EXPECT_TRUE(form->stSpeedForce->text().endsWith(QStringLiteral(" кН/с")));
}

// ---- The chart follows the recording ----

TEST_F(RegistrationTest, FirstSampleOpensBothAxes) {
    Feed(kHalfScaleCode, 10);  // the 10-frame mean settles at 50 kN before Start
    Click(form->btStart);
    Feed(kHalfScaleCode);
    EXPECT_DOUBLE_EQ(form->chrtSignTraces->LeftAxis().Maximum(), 50 * 1.2);
    EXPECT_DOUBLE_EQ(form->chrtSignTraces->BottomAxis().Maximum(), 20);
}

// The load axis re-fits once 98 % of the stored force reaches the axis' maximum.
TEST_F(RegistrationTest, LoadAxisWidensWhen98PercentOfTheForceReachesItsMaximum) {
    const struct {
        double leftMax;
        double afterSample;
    } rows[] = {{49.01, 49.01}, {49, 60}};  // 0.98 x 50 kN = 49
    Feed(kHalfScaleCode, 10);
    Click(form->btStart);
    Feed(kHalfScaleCode);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.leftMax);
        ASSERT_TRUE(form->chrtSignTraces->LeftAxis().SetMaximum(row.leftMax));
        Feed(kHalfScaleCode);
        EXPECT_DOUBLE_EQ(form->chrtSignTraces->LeftAxis().Maximum(), row.afterSample);
    }
}

TEST_F(RegistrationTest, TimeAxisGrowsBy20SecondsWhenTheTimeReachesItsEnd) {
    Feed(1000, 10);  // a steady force: only the time reaches an edge
    Click(form->btStart);
    Feed(1000, 2);  // samples at 0 and 0.1 s
    TChartAxis& bottom = form->chrtSignTraces->BottomAxis();
    ASSERT_TRUE(bottom.SetRange(0, 0.25));
    Feed(1000);  // 0.2 s
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 0.25);
    Feed(1000);  // 0.3 s: AutoScale gives 0.33, then 20 s more
    EXPECT_NEAR(bottom.Maximum(), 20.33, 1e-9);
    EXPECT_EQ(bottom.Minimum(), 0);
}

}  // namespace
