#include "measure/chart_panel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "chart/chart.h"
#include "measure/frame_processing.h"
#include "measure/navigation.h"
#include "measure/recording.h"
#include "platform/application_cursor.h"
#include "ui/widgets.h"

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
    chart.RepaintAtOnce();
}

}  // namespace

TChartPanel::TChartPanel(QWidget* frame, QWidget* strip, const TRecording& recording,
                         QObject* parent)
    : QObject(parent),
      recording_(recording),
      chrtSignTraces(ui::Named(new TChart(frame), "chrtSignTraces")) {
    chrtSignTraces->setGeometry(-3, -1, 742, 567);
    BuildStrip(strip);

    connect(Button1, &QPushButton::clicked, this, &TChartPanel::Button1Click);
    connect(btRight, &QPushButton::clicked, this, &TChartPanel::btRightClick);
    connect(Button3, &QPushButton::clicked, this, &TChartPanel::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TChartPanel::Button4Click);
    connect(chrtSignTraces, &TChart::Zoomed, this, &TChartPanel::chrtSignTracesZoom);
    connect(chrtSignTraces, &TChart::UndoZoomed, this, &TChartPanel::chrtSignTracesUndoZoom);
    connect(chrtSignTraces, &TChart::WheelDown, this, &TChartPanel::chrtSignTracesMouseWheelDown);
    connect(chrtSignTraces, &TChart::WheelUp, this, &TChartPanel::chrtSignTracesMouseWheelUp);
    connect(chrtSignTraces, &TChart::MouseMoved, this, &TChartPanel::chrtSignTracesMouseMove);
    FollowRecording();
}

void TChartPanel::FollowRecording() {
    connect(&recording_, &TRecording::RegistrationStarted, this, [this] {
        ShowEmpty();
        chrtSignTraces->UndoZoom();
        chrtSignTraces->RepaintAtOnce();
    });
    connect(&recording_, &TRecording::SampleAppended, this, &TChartPanel::AppendSample);
    connect(&recording_, &TRecording::DataCancelled, this, [this] {
        ShowEmpty();
        chrtSignTraces->Series().SetActive(true);
        chrtSignTraces->RepaintAtOnce();
    });
    connect(&recording_, &TRecording::TestLoaded, this,
            [this] { ShowSamples(recording_.Store()); });
}

void TChartPanel::ShowEmpty() {
    chrtSignTraces->Series().Clear();
    AutoScale();
}

// The axes widen as the curve reaches their edge: the load axis by the live force, the time
// axis by the sample's time.
void TChartPanel::AppendSample(double timeS, double forceKn) {
    TChart& chart = *chrtSignTraces;
    chart.Series().AddXY(timeS, forceKn);
    const double force = recording_.Measure().Force;
    if (measure::LoadAxisNeedsWidening(force, chart.LeftAxis().Maximum())) {
        AutoScale();
        chart.LeftAxis().SetMaximum(measure::WidenedLoadMax(force));
    }
    if (measure::TimeAxisNeedsWidening(timeS, chart.BottomAxis().Maximum())) {
        AutoScale();
        chart.BottomAxis().SetMaximum(measure::WidenedTimeMax(chart.BottomAxis().Maximum()));
    }
}

void TChartPanel::BuildStrip(QWidget* strip) {
    ui::MakeLabel(strip, QStringLiteral("X="), 6, 9);
    stX = ui::Named(ui::MakeLabel(strip, QStringLiteral("00000"), 24, 8), "stX");
    ui::MakeLabel(strip, QStringLiteral("Y="), 86, 9);
    stY = ui::Named(ui::MakeLabel(strip, QStringLiteral("00000"), 104, 8), "stY");
    for (QLabel* readout : {stX, stY}) {
        readout->setFont(ui::PixelFont(strip->font().family(), 13));
        readout->setFixedWidth(60);
        ui::SetColours(readout, Qt::white, Qt::blue);
    }

    const struct {
        QPushButton** button;
        const char* name;
        QString caption;
        QRect place;
    } buttons[] = {
        {&Button1, "Button1", QStringLiteral("<"), QRect(386, 5, 36, 25)},
        {&btRight, "btRight", QStringLiteral(">"), QRect(424, 5, 36, 25)},
        {&Button3, "Button3", QStringLiteral("X ++"), QRect(466, 5, 48, 25)},
        {&Button4, "Button4", QStringLiteral("Авто-Масштаб"), QRect(520, 5, 110, 25)},
        {&btPrintChart, "btPrintChart", QStringLiteral("Печать"), QRect(660, 5, 78, 25)},
    };
    for (const auto& item : buttons) {
        *item.button = ui::Named(new QPushButton(item.caption, strip), item.name);
        (*item.button)->setGeometry(item.place);
        (*item.button)->setFocusPolicy(Qt::NoFocus);
    }
    btPrintChart->setEnabled(false);
}

void TChartPanel::AutoScale() {
    const TChartSeries& series = chrtSignTraces->Series();
    if (!series.Active()) {
        return;
    }
    const measure::TChartScales scales = measure::AutoScaleAxes(series.MaxX(), series.MaxY());
    SetScale(chrtSignTraces->LeftAxis(), scales.Left);
    SetScale(chrtSignTraces->BottomAxis(), scales.Bottom);
}

void TChartPanel::ShowSamples(const TSampleStore& store) {
    const size_t count = size_t(std::clamp(store.Count, 0, kStoreCapacity));
    std::vector<double> times(count);
    std::vector<double> loads(count);
    for (size_t i = 0; i < count; ++i) {
        times[i] = store.TimeMs[i] * 0.001;
        loads[i] = store.ForceN[i] * 0.001;
    }
    TChartSeries& series = chrtSignTraces->Series();
    series.Clear();
    series.AddPoints(times, loads);
    AutoScale();
    chrtSignTraces->RepaintAtOnce();
}

void TChartPanel::chrtSignTracesZoom() {
    TChartAxis& left = chrtSignTraces->LeftAxis();
    TChartAxis& bottom = chrtSignTraces->BottomAxis();
    left.SetIncrement(measure::LoadIncrementAfterZoom(RangeOf(left)));
    bottom.SetIncrement(measure::TimeIncrementAfterZoom(RangeOf(bottom)));
}

void TChartPanel::chrtSignTracesUndoZoom() {
    AutoScale();
    chrtSignTraces->RepaintAtOnce();
}

void TChartPanel::chrtSignTracesMouseWheelDown() {
    chrtSignTraces->ZoomPercent(measure::kWheelDownPercent);
}

void TChartPanel::chrtSignTracesMouseWheelUp() {
    chrtSignTraces->ZoomPercent(measure::kWheelUpPercent);
}

void TChartPanel::Button1Click() {
    SetTimeRange(*chrtSignTraces, measure::TimeShiftLeft(RangeOf(chrtSignTraces->BottomAxis())));
}

void TChartPanel::btRightClick() {
    SetTimeRange(*chrtSignTraces, measure::TimeShiftRight(RangeOf(chrtSignTraces->BottomAxis()),
                                                          chrtSignTraces->Series().MaxX()));
}

void TChartPanel::Button3Click() {
    SetTimeRange(*chrtSignTraces, measure::TimeZoomIn(RangeOf(chrtSignTraces->BottomAxis())));
}

void TChartPanel::Button4Click() {
    AutoScale();
    chrtSignTraces->RepaintAtOnce();
}

void TChartPanel::chrtSignTracesMouseMove(int x, int y) {
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

void TChartPanel::Panel2MouseMove() {
    if (platform::ApplicationCursor() != Qt::ArrowCursor) {
        platform::SetApplicationCursor(Qt::ArrowCursor);
        QCoreApplication::processEvents();
    }
}
