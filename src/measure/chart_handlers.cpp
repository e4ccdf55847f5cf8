// The main window's load chart: fitting the axes, zoom, the time-axis buttons and the readout.
#include <QApplication>
#include <QLabel>

#include "app/main.h"
#include "chart/chart.h"
#include "measure/navigation.h"
#include "platform/application_cursor.h"

namespace {

measure::TAxisRange RangeOf(const TChartAxis& axis) {
    return {axis.Minimum(), axis.Maximum()};
}

void SetScale(TChartAxis& axis, const measure::TAxisScale& scale) {
    axis.SetRange(scale.Min, scale.Max);
    axis.SetIncrement(scale.Increment);
}

void SetTimeRange(TChart& chart, const measure::TAxisRange& range) {
    chart.BottomAxis().SetRange(range.Min, range.Max);
    chart.Repaint();
}

}  // namespace

void TMainForm::AutoScale() {
    const TChartSeries& series = chrtSignTraces->Series();
    if (!series.Active()) {
        return;
    }
    const measure::TChartScales scales = measure::AutoScaleAxes(series.MaxX(), series.MaxY());
    SetScale(chrtSignTraces->LeftAxis(), scales.Left);
    SetScale(chrtSignTraces->BottomAxis(), scales.Bottom);
}

void TMainForm::chrtSignTracesZoom() {
    TChartAxis& left = chrtSignTraces->LeftAxis();
    TChartAxis& bottom = chrtSignTraces->BottomAxis();
    left.SetIncrement(measure::LoadIncrementAfterZoom(RangeOf(left)));
    bottom.SetIncrement(measure::TimeIncrementAfterZoom(RangeOf(bottom)));
}

void TMainForm::chrtSignTracesUndoZoom() {
    AutoScale();
}

void TMainForm::chrtSignTracesMouseWheelDown() {
    chrtSignTraces->ZoomPercent(measure::kWheelDownPercent);
}

void TMainForm::chrtSignTracesMouseWheelUp() {
    chrtSignTraces->ZoomPercent(measure::kWheelUpPercent);
}

void TMainForm::Button1Click() {
    SetTimeRange(*chrtSignTraces, measure::TimeShiftLeft(RangeOf(chrtSignTraces->BottomAxis())));
}

void TMainForm::btRightClick() {
    SetTimeRange(*chrtSignTraces, measure::TimeShiftRight(RangeOf(chrtSignTraces->BottomAxis()),
                                                          chrtSignTraces->Series().MaxX()));
}

void TMainForm::Button3Click() {
    SetTimeRange(*chrtSignTraces, measure::TimeZoomIn(RangeOf(chrtSignTraces->BottomAxis())));
}

void TMainForm::Button4Click() {
    AutoScale();
}

void TMainForm::chrtSignTracesMouseMove(int x, int y) {
    if (!chrtSignTraces->Series().Active()) {
        return;
    }
    const double time = chrtSignTraces->BottomAxis().PixelToValue(x);
    const double load = chrtSignTraces->LeftAxis().PixelToValue(y);
    const bool inView = measure::PointInView(time, load, RangeOf(chrtSignTraces->BottomAxis()),
                                             RangeOf(chrtSignTraces->LeftAxis()));
    const Qt::CursorShape shape = inView ? Qt::CrossCursor : Qt::ArrowCursor;
    platform::SetApplicationCursor(shape);
    chrtSignTraces->setCursor(shape);
    QCoreApplication::processEvents();
    if (inView) {
        stX->setText(measure::ReadoutX(time));
        stY->setText(measure::ReadoutY(load));
    }
}

void TMainForm::Panel2MouseMove() {
    if (platform::ApplicationCursor() != Qt::ArrowCursor) {
        platform::SetApplicationCursor(Qt::ArrowCursor);
        QCoreApplication::processEvents();
    }
}
