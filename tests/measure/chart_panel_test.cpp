// The load chart's navigation: "Авто-Масштаб", the time-axis buttons, the mouse wheel, the
// rectangle zoom and the increments after it, and the cursor readout.
#include <qcustomplot.h>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QWheelEvent>
#include <vector>

#include "chart/chart.h"
#include "measure/navigation.h"
#include "panels_fixture.h"
#include "platform/application_cursor.h"

namespace {

class ChartTest : public MeasurePanelsTest {
  protected:
    void TearDown() override {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
        MeasurePanelsTest::TearDown();
    }

    QCustomPlot& Plot() { return *Chart().Plot(); }

    void SetPoints(const std::vector<std::pair<double, double>>& points) {
        Chart().Series().Clear();
        for (const auto& [x, y] : points) {
            Chart().Series().AddXY(x, y);
        }
    }

    // Both axes as given, drawn, so pixel positions convert for this view.
    void ShowView(double bottomMin, double bottomMax, double leftMin, double leftMax) {
        ASSERT_TRUE(Chart().BottomAxis().SetRange(bottomMin, bottomMax));
        ASSERT_TRUE(Chart().LeftAxis().SetRange(leftMin, leftMax));
        Plot().replot();
    }

    QPoint PixelOf(double time, double load) {
        return QPoint(qRound(Plot().xAxis->coordToPixel(time)),
                      qRound(Plot().yAxis->coordToPixel(load)));
    }

    static void MoveMouse(QWidget* widget, QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(&Plot(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&Plot(), to);
        QTest::mouseRelease(&Plot(), Qt::LeftButton, {}, to);
    }
};

struct AxisExpectation {
    double max;
    double increment;
};

TEST_F(ChartTest, AutoScaleButtonFitsBothAxesToThePoints) {
    const struct {
        const char* name;
        std::vector<std::pair<double, double>> points;  // (s, kN)
        AxisExpectation bottom, left;
    } rows[] = {
        {"empty", {}, {0, 2}, {0, 2}},
        {"20 s, 20 kN", {{1, 3}, {20, 20}, {5, 1}}, {22, 2}, {24, 5}},
        {"300 s, 1000 kN", {{300, 1000}}, {330, 30}, {1200, 200}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetPoints(row.points);
        ShowView(3, 7, -2, 9);
        Chart().LeftAxis().SetIncrement(0.2);
        Click(Button("Button4"));
        EXPECT_EQ(Chart().BottomAxis().Minimum(), 0);
        EXPECT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), row.bottom.max);
        EXPECT_EQ(Chart().BottomAxis().Increment(), row.bottom.increment);
        EXPECT_EQ(Chart().LeftAxis().Minimum(), 0);
        EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), row.left.max);
        EXPECT_EQ(Chart().LeftAxis().Increment(), row.left.increment);
    }
}

TEST_F(ChartTest, TimeButtonsMoveTheTimeAxisOnly) {
    const struct {
        const char* name;
        const char* button;
        double lastX;
        double fromMin, fromMax;
        double toMin, toMax;
    } rows[] = {
        {"X ++", "Button3", 20, 0, 10, 1, 9},
        {"<", "Button1", 20, 0, 10, -0.5, 9.5},
        {">", "btRight", 20, 0, 10, 0.5, 10.5},
        {"> stops at the last point", "btRight", 9, 0, 10, 0, 9.09},
        {"> right of the last point", "btRight", 20, 30, 40, 30, 40},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetPoints({{row.lastX, 1}});
        ShowView(row.fromMin, row.fromMax, 0, 5);
        Chart().BottomAxis().SetIncrement(0.2);
        Click(Button(row.button));
        EXPECT_NEAR(Chart().BottomAxis().Minimum(), row.toMin, 1e-9);
        EXPECT_NEAR(Chart().BottomAxis().Maximum(), row.toMax, 1e-9);
        EXPECT_EQ(Chart().BottomAxis().Increment(), 0.2) << "a button step keeps the increment";
        EXPECT_EQ(Chart().LeftAxis().Maximum(), 5);
    }
}

TEST_F(ChartTest, OneWheelNotchZoomsByOnePercentAtEachEnd) {
    const struct {
        const char* name;
        int angle;
        double min, max;
        double timeIncrement, loadIncrement;
    } rows[] = {
        {"towards the operator", -120, 0.1, 9.9, 0.98, 0},
        // The span 10.2 cut to hundredths may come out as 10.19 in binary arithmetic.
        {"away", 120, -0.1, 10.1, 1.02, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ShowView(0, 10, 0, 10);
        QSignalSpy zoomed(&Chart(), &TChart::Zoomed);
        const QPointF at = Plot().axisRect()->rect().center();
        QWheelEvent wheel(at, Plot().mapToGlobal(at), QPoint(), QPoint(0, row.angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Plot(), &wheel);
        for (TChartAxis* axis : {&Chart().BottomAxis(), &Chart().LeftAxis()}) {
            EXPECT_NEAR(axis->Minimum(), row.min, 1e-9);
            EXPECT_NEAR(axis->Maximum(), row.max, 1e-9);
        }
        ASSERT_TRUE(zoomed.wait(2000)) << "the view arrives after its animation";
        EXPECT_NEAR(Plot().xAxis->range().lower, row.min, 1e-9);
        EXPECT_NEAR(Plot().yAxis->range().upper, row.max, 1e-9);
        EXPECT_NEAR(Chart().BottomAxis().Increment(), row.timeIncrement, 0.0011);
        EXPECT_EQ(Chart().LeftAxis().Increment(), row.loadIncrement);
    }
}

TEST_F(ChartTest, ZoomSetsIncrementsFromTheSpans) {
    const struct {
        double loadSpan, loadIncrement;
        double timeSpan, timeIncrement;
    } rows[] = {
        {0.08, 0.01, 4.567, 0.456},
        {0.5, 0.1, 10, 1},
        {5, 0, 2, 0.2},
        {37.5, 3, 0.2, 0.02},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.loadSpan);
        ShowView(0, row.timeSpan, 0, row.loadSpan);
        emit Chart().Zoomed();
        EXPECT_EQ(Chart().LeftAxis().Increment(), row.loadIncrement);
        EXPECT_NEAR(Chart().BottomAxis().Increment(), row.timeIncrement, 1e-9);
    }
}

TEST_F(ChartTest, RectangleDragZoomsRightDownAndFitsAgainLeftUp) {
    SetPoints({{20, 20}});
    ShowView(0, 10, 0, 10);
    const QRect area = Plot().axisRect()->rect();
    const QPoint from = area.topLeft() + QPoint(40, 30);
    const QPoint to = from + QPoint(200, 150);
    const double timeMin = Chart().BottomAxis().PixelToValue(from.x());
    const double timeMax = Chart().BottomAxis().PixelToValue(to.x());
    const double loadMin = Chart().LeftAxis().PixelToValue(to.y());
    const double loadMax = Chart().LeftAxis().PixelToValue(from.y());

    QSignalSpy zoomed(&Chart(), &TChart::Zoomed);
    Drag(from, to);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Minimum(), timeMin);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), timeMax);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Minimum(), loadMin);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), loadMax);
    ASSERT_TRUE(zoomed.wait(2000));
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Increment(),
                     measure::TimeIncrementAfterZoom({timeMin, timeMax}));
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Increment(),
                     measure::LoadIncrementAfterZoom({loadMin, loadMax}));

    Plot().replot();
    Drag(to, to + QPoint(10, 10));  // too short: nothing happens
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), timeMax);

    Drag(to, from);
    EXPECT_EQ(Chart().BottomAxis().Minimum(), 0);
    EXPECT_DOUBLE_EQ(Chart().BottomAxis().Maximum(), 22);
    EXPECT_DOUBLE_EQ(Chart().LeftAxis().Maximum(), 24);
    EXPECT_EQ(Chart().LeftAxis().Increment(), 5);
}

TEST_F(ChartTest, ReadoutFollowsThePointerInsideTheAxesOnly) {
    ShowView(12, 13, 3.1, 3.2);
    MoveMouse(&Plot(), PixelOf(12.34, 3.142));
    EXPECT_EQ(Label("stX")->text(), QStringLiteral("12.3  "));
    EXPECT_EQ(Label("stY")->text(), QStringLiteral("3.142    "));
    EXPECT_EQ(platform::ApplicationCursor(), Qt::CrossCursor);
    EXPECT_EQ(Chart().cursor().shape(), Qt::CrossCursor);

    const QPoint overTimeLabels(Plot().axisRect()->rect().center().x(),
                                Plot().axisRect()->rect().bottom() + 12);
    MoveMouse(&Plot(), overTimeLabels);
    EXPECT_EQ(Label("stX")->text(), QStringLiteral("12.3  ")) << "frozen";
    EXPECT_EQ(Label("stY")->text(), QStringLiteral("3.142    "));
    EXPECT_EQ(platform::ApplicationCursor(), Qt::ArrowCursor);
    EXPECT_EQ(Chart().cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
