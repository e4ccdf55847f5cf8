#include "archive/window_test_view.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "chart/chart.h"
#include "measure/navigation.h"
#include "records/info_panel.h"
#include "ui/widgets.h"

namespace archive {
namespace {

void SetScale(TChartAxis& axis, const measure::TAxisScale& scale) {
    axis.SetRange(scale.Min, scale.Max);
    axis.SetIncrement(scale.Increment);
}

measure::TAxisRange RangeOf(const TChartAxis& axis) {
    return {axis.Minimum(), axis.Maximum()};
}

}  // namespace

TTestView::TTestView(QWidget* parent)
    : QWidget(parent),
      chart_(ui::Named(new TChart(this), "chrtArchiveTest")),
      pnInfo_(new records::TInfoPanel(this)) {
    chart_->setMinimumSize(400, 300);
    pnInfo_->setFixedSize(records::TInfoPanel::kSize);
    lbInfoFile = ui::Named(new QLabel(this), "lbInfoFile");
    lbInfoFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbInfoFile->setWordWrap(true);
    lbFileNote = ui::Named(new QLabel(this), "lbFileNote");
    lbFileNote->setWordWrap(true);
    ui::SetColours(lbFileNote, QColor(), Qt::red);

    auto* below = new QHBoxLayout;
    below->addWidget(pnInfo_, 0, Qt::AlignTop);
    auto* fileLines = new QVBoxLayout;
    fileLines->addWidget(lbInfoFile);
    fileLines->addWidget(lbFileNote);
    fileLines->addStretch();
    below->addLayout(fileLines, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_, 1);
    layout->addLayout(below);

    connect(chart_, &TChart::UndoZoomed, this, [this] {
        AutoScale();
        chart_->RepaintAtOnce();
    });
    connect(chart_, &TChart::Zoomed, this, [this] {
        chart_->LeftAxis().SetIncrement(
            measure::LoadIncrementAfterZoom(RangeOf(chart_->LeftAxis())));
        chart_->BottomAxis().SetIncrement(
            measure::TimeIncrementAfterZoom(RangeOf(chart_->BottomAxis())));
    });
    connect(chart_, &TChart::WheelDown, this,
            [this] { chart_->ZoomPercent(measure::kWheelDownPercent); });
    connect(chart_, &TChart::WheelUp, this,
            [this] { chart_->ZoomPercent(measure::kWheelUpPercent); });
}

void TTestView::ShowEntry(const TArchiveEntry& entry) {
    shownId_ = entry.id;
    pnInfo_->Show({entry.testDate, entry.testName, entry.marking, entry.sampleType, entry.areaText,
                   entry.fmaxText, entry.rmaxText});
    lbInfoFile->setText(QStringLiteral("%1\nпресс %2, оператор %3, компьютер %4")
                            .arg(QDir::toNativeSeparators(entry.filePath), entry.machine,
                                 entry.operatorName, entry.hostName));
    chart_->Series().Clear();
    chart_->RepaintAtOnce();
    curveNote_.clear();
    fileNote_.clear();
    UpdateNote();
}

void TTestView::ShowCurve(const TCurve& curve) {
    if (curve.id != shownId_) {
        return;
    }
    TChartSeries& series = chart_->Series();
    series.Clear();
    series.AddPoints(curve.times, curve.loads);
    AutoScale();
    chart_->RepaintAtOnce();
    curveNote_ = curve.error.isEmpty() ? curve.warning : curve.error;
    UpdateNote();
}

void TTestView::ShowFileNote(const QString& note) {
    fileNote_ = note;
    UpdateNote();
}

// What is wrong with the file says more than what reading it found.
void TTestView::UpdateNote() {
    lbFileNote->setText(fileNote_.isEmpty() ? curveNote_ : fileNote_);
}

void TTestView::AutoScale() {
    const TChartSeries& series = chart_->Series();
    const measure::TChartScales scales = measure::AutoScaleAxes(series.MaxX(), series.MaxY());
    SetScale(chart_->LeftAxis(), scales.Left);
    SetScale(chart_->BottomAxis(), scales.Bottom);
}

}  // namespace archive
