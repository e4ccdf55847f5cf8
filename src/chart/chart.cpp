#include "chart/chart.h"

#include <qcustomplot.h>
#include <QPaintDevice>
#include <QRubberBand>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "chart/chart_dots.h"
#include "chart/chart_plot.h"

namespace {

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Curves are lines this many pixels wide (of the canvas, on paper).
constexpr double kCurvePenWidth = 1.5;
// The legend's column takes the width its names need and the plotting area the rest; in its
// column the legend takes the height they need.
constexpr double kLegendStretch = 0.001;

// The row of the layout cell that holds `element` (0 when it holds none).
int RowOf(const QCPLayoutGrid& layout, const QCPLayoutElement* element) {
    for (int row = 0; row < layout.rowCount(); ++row) {
        for (int column = 0; column < layout.columnCount(); ++column) {
            if (layout.element(row, column) == element) {
                return row;
            }
        }
    }
    return 0;
}

bool IsRange(double min, double max) {
    return std::isfinite(min) && std::isfinite(max) && min <= max;
}

void SetUpAxis(QCPAxis* axis, const QString& title, int innerTickLength, Qt::PenStyle gridStyle) {
    axis->setLabel(title);
    axis->setLabelFont(PixelFont("Arial", 11, true));
    axis->setLabelColor(Qt::black);
    axis->setTickLabelFont(PixelFont("Arial", 11, false));
    axis->setTickLabelColor(Qt::black);
    axis->setTickLength(innerTickLength, 5);
    axis->setSubTickLength(0, 3);
    axis->grid()->setPen(QPen(QColor(128, 128, 128), 1, gridStyle));
    axis->grid()->setSubGridVisible(false);
    axis->grid()->setZeroLinePen(Qt::NoPen);
}

// A canvas of a given size whose painters draw through the caller's painter, in its coordinates
// (the way a widget renders into another painter). QCustomPlot then draws as vectors straight
// onto a printer or an image, with its fonts sized in canvas pixels.
class TLentCanvas : public QPaintDevice {
  public:
    TLentCanvas(QPainter& target, QSize size) : target_(target), size_(size) {}
    QPaintEngine* paintEngine() const override { return target_.paintEngine(); }

  protected:
    QPainter* sharedPainter() const override { return &target_; }
    int metric(PaintDeviceMetric metric) const override {
        constexpr int kDpi = 96;
        switch (metric) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return qRound(size_.width() * 25.4 / kDpi);
            case PdmHeightMM:
                return qRound(size_.height() * 25.4 / kDpi);
            case PdmNumColors:
                return INT_MAX;
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kDpi;
            case PdmDevicePixelRatio:
                return 1;
            default:
                return QPaintDevice::metric(metric);
        }
    }

  private:
    QPainter& target_;
    QSize size_;
};

}  // namespace

TChart::TChart(QWidget* parent)
    : QFrame(parent),
      plot_(new TChartPlot(this)),
      bottom_(*this, plot_->xAxis),
      left_(*this, plot_->yAxis),
      series_(*this, plot_->xAxis, plot_->yAxis),
      band_(new QRubberBand(QRubberBand::Rectangle, plot_)) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    SetUpLook();
    redrawTimer_.setSingleShot(true);
    connect(&redrawTimer_, &QTimer::timeout, this, [this] { Redraw(false); });
    zoomTimer_.setInterval(kZoomStepMs);
    connect(&zoomTimer_, &QTimer::timeout, this, &TChart::ZoomStep);
    connect(plot_, &QCustomPlot::mousePress, this, &TChart::OnPress);
    connect(plot_, &QCustomPlot::mouseMove, this, &TChart::OnMove);
    connect(plot_, &QCustomPlot::mouseRelease, this, &TChart::OnRelease);
    connect(plot_, &QCustomPlot::mouseWheel, this, &TChart::OnWheel);
}

void TChart::SetUpLook() {
    plot_->setInteractions(QCP::Interactions());
    plot_->setMouseTracking(true);  // the readout follows the pointer without a button held
    plot_->setLocale(QLocale::c());
    plot_->setBackground(Qt::white);
    // The legend names the further curves only: the point series leaves it.
    plot_->legend->setVisible(false);
    plot_->legend->clearItems();
    plot_->legend->setFont(PixelFont("Arial", 11, false));
    plot_->legend->setTextColor(Qt::black);
    // Background, grid and points share one picture, and the axes above them have their own:
    // new points are drawn onto the first. The overlay layer holds nothing here (the rubber
    // band is a widget of its own): no picture for it.
    plot_->layer(QStringLiteral("main"))->setMode(QCPLayer::lmLogical);
    plot_->layer(QStringLiteral("axes"))->setMode(QCPLayer::lmBuffered);
    plot_->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
    plot_->xAxis2->setVisible(false);
    plot_->yAxis2->setVisible(false);
    // Room above the top load label and right of the last time label, on screen and on paper.
    plot_->axisRect()->setMinimumMargins(QMargins(0, 8, 20, 4));
    SetUpAxis(plot_->xAxis, QStringLiteral("Время, сек"), 1, Qt::DotLine);
    SetUpAxis(plot_->yAxis, QStringLiteral("Нагрузка, кН"), 0, Qt::DashDotDotLine);
    for (TChartAxis* axis : {&bottom_, &left_}) {
        axis->SetRange(0, 5);
        axis->SetIncrement(0.2);
    }
}

void TChart::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    plot_->setGeometry(contentsRect());
}

QCustomPlot* TChart::Plot() const {
    return plot_;
}

void TChart::Repaint() {
    AskRedraw(TRedraw::kWhole);
}

void TChart::RepaintCurve() {
    AskRedraw(TRedraw::kCurve);
}

void TChart::RepaintAtOnce() {
    due_ = TRedraw::kWhole;
    redrawTimer_.start(0);
}

void TChart::RepaintNow() {
    redrawTimer_.stop();
    Redraw(true);
}

void TChart::AskRedraw(TRedraw what) {
    due_ = std::max(due_, what);
    if (redrawTimer_.isActive()) {
        return;
    }
    const qint64 since = sinceRedraw_.isValid() ? sinceRedraw_.elapsed() : kRedrawPaceMs;
    redrawTimer_.start(int(std::clamp<qint64>(kRedrawPaceMs - since, 0, kRedrawPaceMs)));
}

void TChart::Redraw(bool paintNow) {
    const TRedraw what = std::exchange(due_, TRedraw::kNone);
    if (what == TRedraw::kNone) {
        return;
    }
    sinceRedraw_.start();
    if (what == TRedraw::kCurve && DrawNewPoints(paintNow)) {
        return;
    }
    plot_->replot(paintNow ? QCustomPlot::rpImmediateRefresh : QCustomPlot::rpQueuedRefresh);
}

bool TChart::DrawNewPoints(bool paintNow) {
    TDotPlottable& dots = *series_.dots_;
    return plot_->DrawOver(
        *dots.layer(), [&dots](QCPPainter& painter) { return dots.DrawAppended(painter); },
        paintNow);
}

void TChart::ZoomPercent(double percent) {
    FinishZoom();
    const auto zoomed = [percent](const TChartAxis& axis) {
        const double d = (axis.Maximum() - axis.Minimum()) * (percent - 100) * 0.01;
        return std::pair{axis.Minimum() + d, axis.Maximum() - d};
    };
    const auto [bottomMin, bottomMax] = zoomed(bottom_);
    const auto [leftMin, leftMax] = zoomed(left_);
    if (!IsRange(bottomMin, bottomMax) || !IsRange(leftMin, leftMax)) {
        return;
    }
    bottom_.BeginZoom(bottomMin, bottomMax);
    left_.BeginZoom(leftMin, leftMax);
    StartZoomSteps();
}

void TChart::UndoZoom() {
    FinishZoom();
    emit UndoZoomed();
}

void TChart::StartZoomSteps() {
    zoomStep_ = 0;
    zoomTimer_.start();
}

void TChart::ZoomStep() {
    if (++zoomStep_ >= kZoomSteps) {
        FinishZoom();
        // The view has arrived: shown at once like the steps before it, paced or not.
        redrawTimer_.stop();
        Redraw(false);
        return;
    }
    const double fraction = double(zoomStep_) / kZoomSteps;
    bottom_.ShowZoomStep(fraction);
    left_.ShowZoomStep(fraction);
    plot_->replot(QCustomPlot::rpQueuedReplot);  // every step of the animation is shown
}

void TChart::FinishZoom() {
    if (!zoomTimer_.isActive()) {
        return;
    }
    zoomTimer_.stop();
    bottom_.ShowOwnRange();
    left_.ShowOwnRange();
    Repaint();
    emit Zoomed();
}

void TChart::OnPress(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton ||
        !plot_->axisRect()->rect().contains(event->position().toPoint())) {
        return;
    }
    dragging_ = true;
    dragOrigin_ = event->position().toPoint();
    band_->setGeometry(QRect(dragOrigin_, QSize()));
    band_->show();
}

void TChart::OnMove(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (dragging_) {
        band_->setGeometry(QRect(dragOrigin_, pos).normalized());
    }
    emit MouseMoved(pos.x(), pos.y());
}

void TChart::OnRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        return;
    }
    dragging_ = false;
    band_->hide();
    const QPoint end = event->position().toPoint();
    const int dx = end.x() - dragOrigin_.x();
    const int dy = end.y() - dragOrigin_.y();
    if (std::abs(dx) <= kMinDragPixels || std::abs(dy) <= kMinDragPixels) {
        return;
    }
    if (dx > 0 && dy > 0) {
        ZoomToPixels(QRect(dragOrigin_, end));
    } else {
        UndoZoom();
    }
}

void TChart::ZoomToPixels(const QRect& rect) {
    // The values under the rectangle as the operator saw it, before a zoom on its way ends.
    const double bottomMin = bottom_.PixelToValue(rect.left());
    const double bottomMax = bottom_.PixelToValue(rect.right());
    const double leftMin = left_.PixelToValue(rect.bottom());
    const double leftMax = left_.PixelToValue(rect.top());
    FinishZoom();
    bottom_.BeginZoom(bottomMin, bottomMax);
    left_.BeginZoom(leftMin, leftMax);
    StartZoomSteps();
}

void TChart::OnWheel(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta < 0) {
        emit WheelDown();
    } else if (delta > 0) {
        emit WheelUp();
    }
}

void TChart::SetTitleLines(const QStringList& lines) {
    titleLines_ = lines;
    if (title_) {
        title_->setText(titleLines_.join('\n'));
        Repaint();
    }
}

void TChart::ShowTitle(bool show) {
    if (show == TitleShown()) {
        return;
    }
    if (show) {
        title_ = new QCPTextElement(plot_, titleLines_.join('\n'),
                                    PixelFont("Times New Roman", 11, false));
        title_->setTextColor(Qt::black);
        title_->setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
        plot_->plotLayout()->insertRow(0);
        plot_->plotLayout()->addElement(0, 0, title_);
    } else {
        plot_->plotLayout()->remove(title_);
        plot_->plotLayout()->simplify();
        title_ = nullptr;
    }
    Repaint();
}

void TChart::AddCurve(const QString& name, const QColor& colour, std::span<const double> xs,
                      std::span<const double> ys) {
    const size_t count = std::min(xs.size(), ys.size());
    const QVector<double> keys(xs.begin(), xs.begin() + qsizetype(count));
    const QVector<double> values(ys.begin(), ys.begin() + qsizetype(count));
    QCPGraph* curve = plot_->addGraph(plot_->xAxis, plot_->yAxis);
    curve->setName(name);
    curve->setPen(QPen(colour, kCurvePenWidth));
    // The graph keeps its points in the order of time; it is told when they already are.
    curve->setData(keys, values, std::is_sorted(keys.begin(), keys.end()));
    Repaint();
}

int TChart::CurveCount() const {
    return plot_->graphCount();
}

void TChart::ClearCurves() {
    plot_->clearGraphs();
    Repaint();
}

void TChart::ShowLegend(bool show) {
    if (show == LegendShown()) {
        return;
    }
    QCPLegend* legend = plot_->legend;
    QCPLayoutGrid* layout = plot_->plotLayout();
    if (show) {
        // A column of its own right of the plotting area: the legend at its top, its height as
        // its names need, and room below.
        plot_->axisRect()->insetLayout()->take(legend);
        legendColumn_ = new QCPLayoutGrid;
        layout->addElement(RowOf(*layout, plot_->axisRect()), 1, legendColumn_);
        layout->setColumnStretchFactor(1, kLegendStretch);
        legendColumn_->addElement(0, 0, legend);
        legendColumn_->addElement(1, 0, new QCPLayoutElement(plot_));
        legendColumn_->setRowStretchFactor(0, kLegendStretch);
    } else {
        legendColumn_->take(legend);
        layout->remove(std::exchange(legendColumn_, nullptr));
        layout->simplify();
        plot_->axisRect()->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    }
    legend->setVisible(show);
    Repaint();
}

bool TChart::LegendShown() const {
    return plot_->legend->visible();
}

void TChart::RenderTo(QPainter& painter, const QRectF& target, double enlargement) {
    RenderTo(painter, target,
             QSize(qRound(plot_->width() * enlargement), qRound(plot_->height() * enlargement)));
}

void TChart::RenderTo(QPainter& painter, const QRectF& target, QSize canvas) {
    FinishZoom();
    const int width = canvas.width();
    const int height = canvas.height();
    if (!painter.isActive() || width <= 0 || height <= 0 || target.isEmpty()) {
        return;
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / width, target.height() / height);
    {
        TLentCanvas canvasDevice(painter, QSize(width, height));
        QCPPainter canvasPainter(&canvasDevice);
        canvasPainter.setMode(QCPPainter::pmVectorized);
        plot_->toPainter(&canvasPainter, width, height);
    }
    painter.restore();
    // Drawing on the canvas laid the plot out at the canvas size; lay it out for the screen again
    // so that pixel positions convert correctly.
    plot_->replot(QCustomPlot::rpImmediateRefresh);
}
