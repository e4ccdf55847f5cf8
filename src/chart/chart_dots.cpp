#include "chart/chart_dots.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool InDomain(double value, QCP::SignDomain domain) {
    switch (domain) {
        case QCP::sdNegative:
            return value < 0;
        case QCP::sdPositive:
            return value > 0;
        default:
            return std::isfinite(value);
    }
}

// The smallest and largest of `values` in the domain, over the points `take` accepts.
template <class Take>
QCPRange RangeOf(const std::vector<double>& values, QCP::SignDomain domain, bool& found,
                 Take take) {
    double lower = std::numeric_limits<double>::infinity();
    double upper = -lower;
    for (size_t i = 0; i < values.size(); ++i) {
        if (InDomain(values[i], domain) && take(i)) {
            lower = std::min(lower, values[i]);
            upper = std::max(upper, values[i]);
        }
    }
    found = lower <= upper;
    return found ? QCPRange(lower, upper) : QCPRange();
}

}  // namespace

void TDotPlottable::TPixelSet::Reset(const QRect& area) {
    area_ = area;
    bits_.assign((size_t(std::max(area.width(), 0)) * std::max(area.height(), 0) + 63) / 64, 0);
}

TDotPlottable::TDotPlottable(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis), style_(QCPScatterStyle::ssDot, QColor(Qt::red), 1) {
    setAntialiasedScatters(false);
    // A whole replot clears the pictures: only a screen draw in it makes a picture to add to.
    connect(parentPlot(), &QCustomPlot::beforeReplot, this, [this] {
        drawnView_.reset();
        replotting_ = true;
    });
    connect(parentPlot(), &QCustomPlot::afterReplot, this, [this] { replotting_ = false; });
}

void TDotPlottable::Clear() {
    xs_.clear();
    ys_.clear();
    xAscending_ = true;
    drawnView_.reset();
}

void TDotPlottable::Append(double x, double y) {
    if (!xs_.empty() && !(x >= xs_.back())) {
        xAscending_ = false;
    }
    xs_.push_back(x);
    ys_.push_back(y);
}

void TDotPlottable::Append(std::span<const double> xs, std::span<const double> ys) {
    const size_t count = std::min(xs.size(), ys.size());
    xs_.reserve(xs_.size() + count);
    ys_.reserve(ys_.size() + count);
    for (size_t i = 0; i < count; ++i) {
        Append(xs[i], ys[i]);
    }
}

TDotPlottable::TAxisMap TDotPlottable::MapOf(const QCPAxis& axis) {
    // The axes are linear: two pixel positions fix the mapping.
    const QCPRange range = axis.range();
    const double lowerPixel = axis.coordToPixel(range.lower);
    const double scale = (axis.coordToPixel(range.upper) - lowerPixel) / range.size();
    return {lowerPixel - range.lower * scale, scale};
}

TDotPlottable::TView TDotPlottable::CurrentView() const {
    // The plot clips every layerable to its clip rectangle moved up by one pixel.
    return {keyAxis()->range(), valueAxis()->range(), clipRect().translated(0, -1)};
}

std::pair<size_t, size_t> TDotPlottable::VisibleSlice(const TView& view) const {
    if (!xAscending_) {
        return {0, xs_.size()};
    }
    const TAxisMap map = MapOf(*keyAxis());
    const double a = map.Value(view.area.left() - 1);
    const double b = map.Value(view.area.right() + 1);
    const auto first = std::lower_bound(xs_.begin(), xs_.end(), std::min(a, b));
    const auto last = std::upper_bound(first, xs_.end(), std::max(a, b));
    return {size_t(first - xs_.begin()), size_t(last - xs_.begin())};
}

void TDotPlottable::CollectNewPixels(const TView& view, size_t first, size_t last) {
    newPixels_.clear();
    const TAxisMap mx = MapOf(*keyAxis());
    const TAxisMap my = MapOf(*valueAxis());
    // Positions relative to the area's corner, half a pixel out: a pixel takes the positions
    // that round to it, and a relative position truncates to its pixel.
    const double x0 = view.area.left() - 0.5;
    const double y0 = view.area.top() - 0.5;
    const double width = view.area.width();
    const double height = view.area.height();
    for (size_t i = first; i < last; ++i) {
        const double x = mx.Pixel(xs_[i]) - x0;
        const double y = my.Pixel(ys_[i]) - y0;
        if (x >= 0 && x < width && y >= 0 && y < height) {  // false for NaN too
            const int column = int(x);
            const int row = int(y);
            if (drawnPixels_.Visit(column, row)) {
                newPixels_.emplace_back(view.area.left() + column, view.area.top() + row);
            }
        }
    }
}

void TDotPlottable::PaintPixels(QCPPainter& painter) const {
    QPen pen(style_.pen().color(), 1);
    pen.setCosmetic(true);
    painter.setAntialiasing(false);
    painter.setPen(pen);
    painter.drawPoints(newPixels_.data(), int(newPixels_.size()));
}

void TDotPlottable::draw(QCPPainter* painter) {
    if (painter->modes().testFlag(QCPPainter::pmVectorized)) {
        DrawVectors(*painter);
        return;
    }
    const TView view = CurrentView();
    drawnPixels_.Reset(view.area);
    const auto [first, last] = VisibleSlice(view);
    CollectNewPixels(view, first, last);
    PaintPixels(*painter);
    // Only a replot draws the screen's picture; any other draw took the set of drawn pixels
    // for a picture of its own.
    drawnView_ = replotting_ ? std::optional(view) : std::nullopt;
    drawnCount_ = xs_.size();
}

std::optional<QRect> TDotPlottable::DrawAppended(QCPPainter& painter) {
    if (!drawnView_ || *drawnView_ != CurrentView() || !realVisibility()) {
        return std::nullopt;
    }
    CollectNewPixels(*drawnView_, drawnCount_, xs_.size());
    drawnCount_ = xs_.size();
    if (newPixels_.empty()) {
        return QRect();
    }
    PaintPixels(painter);
    QRect changed(newPixels_.front(), QSize(1, 1));
    for (const QPoint& pixel : newPixels_) {
        changed |= QRect(pixel, QSize(1, 1));
    }
    return changed;
}

void TDotPlottable::DrawVectors(QCPPainter& painter) const {
    applyScattersAntialiasingHint(&painter);
    style_.applyTo(&painter, mPen);
    const TView view = CurrentView();
    const TAxisMap mx = MapOf(*keyAxis());
    const TAxisMap my = MapOf(*valueAxis());
    const QRectF around = QRectF(view.area).adjusted(-1, -1, 1, 1);
    const auto [first, last] = VisibleSlice(view);
    for (size_t i = first; i < last; ++i) {
        const QPointF point(mx.Pixel(xs_[i]), my.Pixel(ys_[i]));
        if (around.contains(point)) {
            style_.drawShape(&painter, point);
        }
    }
}

void TDotPlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    style_.applyTo(painter, mPen);
    style_.drawShape(painter, rect.center());
}

double TDotPlottable::selectTest(const QPointF&, bool, QVariant*) const {
    return -1;  // the series takes no part in selection
}

QCPRange TDotPlottable::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const {
    return RangeOf(xs_, inSignDomain, foundRange, [](size_t) { return true; });
}

QCPRange TDotPlottable::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                      const QCPRange& inKeyRange) const {
    const bool anyKey = inKeyRange == QCPRange();
    return RangeOf(ys_, inSignDomain, foundRange,
                   [&](size_t i) { return anyKey || inKeyRange.contains(xs_[i]); });
}
