// How the window ties its panels together: what Start, Stop and Cancel do to the records'
// buttons and the menu, the area box at Start, an opened test on the chart, and the cursor over
// the frames around the chart.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <optional>

#include "platform/application_cursor.h"
#include "records/records_test_util.h"
#include "records/test_file.h"
#include "support/screen_watch.h"
#include "window_fixture.h"

namespace {

constexpr uint16_t kFullScaleCode = 52428;  // 100 kN under the default FORCE_SCALE of 100

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
        for (QPushButton* button : {Button("btProtocol"), Button("btSaveTest"),
                                    Button("btOpenTest"), Button("btToExel")}) {
            button->setEnabled(on);
        }
        Menu("N2")->menuAction()->setEnabled(on);
        Widget("pnInfo")->setVisible(on);
    }
};

TEST_P(EnablingTest, ActionSetsItsControlsAndLeavesTheRest) {
    const auto& [row, preset] = GetParam();
    switch (row.action) {
        case Action::Start:
            Preset(preset);
            Click(Button("btStart"));
            break;
        case Action::StopAfter2:
        case Action::StopAfter3:
            Record(row.action == Action::StopAfter2 ? 2 : 3);
            Preset(preset);
            Click(Button("btStop"));
            break;
        case Action::CancelWhileRecording:
            Record(3);
            Preset(preset);
            Click(Button("btCancel"));
            break;
    }
    const auto expected = [preset](std::optional<bool> value) { return value.value_or(preset); };
    EXPECT_EQ(Button("btProtocol")->isEnabled(), expected(row.protocol));
    EXPECT_EQ(Button("btSaveTest")->isEnabled(), expected(row.saveTest));
    EXPECT_EQ(Button("btOpenTest")->isEnabled(), expected(row.openTest));
    EXPECT_EQ(Button("btToExel")->isEnabled(), expected(row.toExel));
    EXPECT_EQ(Menu("N2")->menuAction()->isEnabled(), expected(row.configMenu));
    EXPECT_EQ(Widget("pnInfo")->isVisible(), expected(row.infoShown));
    EXPECT_EQ(Button("btStart")->isChecked(), row.registering);
    EXPECT_EQ(Button("btStop")->isChecked(), !row.registering);
}

INSTANTIATE_TEST_SUITE_P(Actions, EnablingTest,
                         ::testing::Combine(::testing::ValuesIn(kEnablingRows), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_AllOn" : "_AllOff");
                         });

// ---- The panels together ----

class WiringTest : public DrivenWindowTest {
  protected:
    // A test of three samples saved in the scratch folder, with its path; empty when it cannot be.
    QString SavedThreeSampleTest() const {
        const QString path = PathOf("a.ktd");
        const TSampleStore samples = StoreOf({{0, 1000}, {100, 2500}, {200, 1800}});
        const bool saved =
            records::SaveTestFile(
                path, FillForSave(QDate(2011, 12, 12), "Test-1", "M-7", "куб", "100", 3, 100),
                samples)
                .ok;
        return saved ? path : QString();
    }

    void TearDown() override {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
        DrivenWindowTest::TearDown();
    }

    // The pointer moving over a widget without a button held.
    static void MoveMouse(QWidget* widget, QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
};

TEST_F(WiringTest, StopWhileStoppedKeepsTheSaveButtonAsItIs) {
    Record(3);
    Click(Button("btStop"));
    ASSERT_TRUE(Button("btSaveTest")->isEnabled());
    dialogs.fileAnswers = {folder->FilePath(QStringLiteral("once.ktd"))};
    Click(Button("btSaveTest"));
    ASSERT_FALSE(Button("btSaveTest")->isEnabled()) << "saved once";
    Click(Button("btStop"));
    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
    EXPECT_TRUE(Button("btStop")->isChecked());
}

TEST_F(WiringTest, EmptyAreaBecomesZeroAtStartAndGivesNoRmax) {
    const struct {
        const char* typed;
        const char* shown;
        int32_t area;
        double rmax;  // after the force reaches 100 kN
    } rows[] = {{"", "0", 0, 0}, {"250", "250", 250, 400}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        Edit("edSQR")->setText(QString::fromLatin1(row.typed));
        Click(Button("btStart"));
        EXPECT_EQ(Edit("edSQR")->text(), QString::fromLatin1(row.shown));
        EXPECT_EQ(form->Recording().Store().AreaMm2, row.area);
        Feed(kFullScaleCode, 10);
        EXPECT_DOUBLE_EQ(form->Recording().Measure().MaxForce, 100);
        EXPECT_DOUBLE_EQ(form->Recording().Measure().Rmax, row.rmax);
        Click(Button("btStop"));
        Click(Button("btCancel"));
    }
}

TEST_F(WiringTest, OpenedTestShowsOnTheChartAndLeavesTheLiveValues) {
    const QString path = SavedThreeSampleTest();
    ASSERT_FALSE(path.isEmpty());
    Feed(kFullScaleCode, 10);  // the live force and maximum: 100 kN
    Tick();
    const QStringList indicators = {Label("stFORCE")->text(), Label("stMaxForce")->text(),
                                    Label("lbRmax")->text()};

    dialogs.fileAnswers = {path};
    Click(Button("btOpenTest"));
    EXPECT_TRUE(Widget("pnInfo")->isVisible());
    EXPECT_EQ(Chart().Series().Count(), 3);
    EXPECT_DOUBLE_EQ(Chart().Series().MaxY(), 2.5);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), 3.0);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), 0.22);
    EXPECT_EQ(form->Recording().Store().Count, 3);
    EXPECT_DOUBLE_EQ(form->Recording().Measure().MaxForce, 100);
    Tick();
    EXPECT_EQ((QStringList{Label("stFORCE")->text(), Label("stMaxForce")->text(),
                           Label("lbRmax")->text()}),
              indicators);
}

TEST_F(WiringTest, OpenedTestReachesTheScreenWithoutWaitingForThePacing) {
    const QString path = SavedThreeSampleTest();
    ASSERT_FALSE(path.isEmpty());
    Click(Button("btCancel"));  // the chart is drawn for it, so the pacing would hold the next
    TScreenWatch watch(*Chart().Plot());
    dialogs.fileAnswers = {path};
    Click(Button("btOpenTest"));
    TScreenWatch::RunDueEvents();
    ASSERT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), 0.22);
    EXPECT_EQ(watch.ShownTimeRange(), Chart().Plot()->xAxis->range());
}

TEST_F(WiringTest, LeavingTheChartOverTheStripOrTheGroupsRestoresTheArrow) {
    for (const char* name : {"Panel2", "Panel3", "gbControl", "gbTestSpec"}) {
        SCOPED_TRACE(name);
        QWidget* area = Widget(name);
        platform::SetApplicationCursor(Qt::CrossCursor);
        MoveMouse(area, QPoint(2, 2));
        EXPECT_EQ(platform::ApplicationCursor(), Qt::ArrowCursor);
    }
}

}  // namespace
