#include "archive/window_test_view.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "chart/chart.h"
#include "measure/navigation.h"
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
    : QWidget(parent), chart_(ui::Named(new TChart(this), "chrtArchiveTest")) {
    chart_->setMinimumSize(400, 300);
    lbInfoFile = ui::Named(new QLabel(this), "lbInfoFile");
    lbInfoFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbInfoFile->setWordWrap(true);
    lbFileNote = ui::Named(new QLabel(this), "lbFileNote");
    lbFileNote->setWordWrap(true);
    ui::SetColours(lbFileNote, QColor(), Qt::red);

    auto* below = new QHBoxLayout;
    below->addWidget(BuildInfoPanel(), 0, Qt::AlignTop);
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

// The recorder's information panel: the texts in a fixed-pitch font, the date in bold, then a
// rule and the area and results each after its caption.
QWidget* TTestView::BuildInfoPanel() {
    QFrame* pnInfo = ui::Named(new QFrame(this), "pnInfo");
    pnInfo->setFrameStyle(QFrame::Box | QFrame::Plain);
    ui::SetColours(pnInfo, Qt::white, Qt::black);
    pnInfo->setMinimumWidth(255);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setPointSize(9);
    QFont fixedBold = fixed;
    fixedBold.setBold(true);

    auto* lines = new QVBoxLayout(pnInfo);
    lines->setContentsMargins(8, 6, 8, 6);
    const struct {
        QLabel** label;
        const char* name;
    } heading[] = {{&lbInfoDate, "lbInfoDate"},
                   {&lbInfoTest, "lbInfoTest"},
                   {&lbInfoMark, "lbInfoMark"},
                   {&lbInfoType, "lbInfoType"}};
    for (const auto& line : heading) {
        *line.label = ui::Named(new QLabel(pnInfo), line.name);
        lines->addWidget(*line.label);
    }
    lbInfoDate->setFont(fixedBold);
    auto* rule = new QFrame(pnInfo);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    lines->addWidget(rule);
    const struct {
        QLabel** value;
        const char* name;
        QString caption;
    } results[] = {
        {&lbInfoSQR, "lbInfoSQR", QStringLiteral("S,мм.кв = ")},
        {&lbInfoFmax, "lbInfoFmax", QStringLiteral("F max,кН = ")},
        {&lbInfoRmax, "lbInfoRmax", QStringLiteral("R max,Н/мм.кв = ")},
    };
    for (const auto& line : results) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        auto* caption = new QLabel(line.caption, pnInfo);
        caption->setFont(fixed);
        *line.value = ui::Named(new QLabel(pnInfo), line.name);
        (*line.value)->setFont(fixed);
        row->addWidget(caption);
        row->addWidget(*line.value, 1);
        lines->addLayout(row);
    }
    return pnInfo;
}

void TTestView::ShowEntry(const TArchiveEntry& entry) {
    shownId_ = entry.id;
    lbInfoDate->setText(entry.testDate);
    lbInfoTest->setText(entry.testName);
    lbInfoMark->setText(entry.marking);
    lbInfoType->setText(entry.sampleType);
    lbInfoSQR->setText(entry.areaText);
    lbInfoFmax->setText(entry.fmaxText);
    lbInfoRmax->setText(entry.rmaxText);
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
