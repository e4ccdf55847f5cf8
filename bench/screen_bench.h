// What the benchmarks of the screen share: widgets shown on the offscreen platform and painted
// through real paint events, which they count, and the floors' ways of painting points: mapped
// onto the whole widget and painted with one QPainter::drawPoints call, every point or each
// pixel once.
#pragma once

#include <benchmark/benchmark.h>

#include <QEvent>
#include <QObject>
#include <QPainter>
#include <QPointF>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace screen_bench {

// The load chart's size in the window.
constexpr int kWidth = 742;
constexpr int kHeight = 567;
constexpr int kFullStore = 32767;

// Counts the paint events a widget receives: a figure without them measured no screen.
class TPaintCounter : public QObject {
  public:
    explicit TPaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int Count() const { return count_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count_ += event->type() == QEvent::Paint;
        return false;
    }

  private:
    int count_ = 0;
};

// Shows a top-level widget and lets the paints that showing queues happen.
inline void Show(QWidget& widget) {
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget)) {
        qFatal("the widget was never exposed");
    }
    QTest::qWait(50);
}

inline void ExpectPaints(benchmark::State& state, const TPaintCounter& paints) {
    if (paints.Count() < int(state.iterations())) {
        state.SkipWithError("the widget was not painted in every iteration");
    }
}

// Paints white, then the points as red pixels of the axes 0..xMax (left to right) and
// 0..yMax (bottom to top) over the whole device, in one call; `pixels` is the room for them.
inline void PaintPoints(QPainter& painter, QSize size, const std::vector<QPointF>& points,
                        double xMax, double yMax, std::vector<QPoint>& pixels) {
    painter.fillRect(QRect(QPoint(), size), Qt::white);
    const double kx = size.width() / xMax;
    const double ky = size.height() / yMax;
    const double bottom = size.height() - 1;
    pixels.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        pixels[i] = QPoint(qRound(points[i].x() * kx), qRound(bottom - points[i].y() * ky));
    }
    QPen pen(Qt::red, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawPoints(pixels.data(), int(pixels.size()));
}

// Pixels of an area, one bit each: which of them hold a point already.
class TPixelBits {
  public:
    void Reset(QRect area) {
        area_ = area;
        bits_.assign((size_t(area.width()) * size_t(area.height()) + 63) / 64, 0);
    }
    // Marks `pixel`; true when it lies in the area and held no point before.
    bool Visit(QPoint pixel) {
        if (!area_.contains(pixel)) {
            return false;
        }
        const size_t bit = size_t(pixel.y() - area_.top()) * size_t(area_.width()) +
                           size_t(pixel.x() - area_.left());
        const uint64_t mask = uint64_t(1) << (bit % 64);
        const bool first = !(bits_[bit / 64] & mask);
        bits_[bit / 64] |= mask;
        return first;
    }

  private:
    QRect area_;
    std::vector<uint64_t> bits_;
};

// The same mapping into `area` (the axes' lower ends at its bottom left corner), each device
// pixel of the area painted once: the distinct pixels collected through `drawn`, then one
// drawPoints call. Paints only the points: the caller fills the background.
inline void PaintDistinctPoints(QPainter& painter, QRect area, const std::vector<QPointF>& points,
                                double xMax, double yMax, TPixelBits& drawn,
                                std::vector<QPoint>& pixels) {
    drawn.Reset(area);
    const double kx = area.width() / xMax;
    const double ky = area.height() / yMax;
    const double left = area.left();
    const double bottom = area.bottom();
    pixels.clear();
    for (const QPointF& point : points) {
        const QPoint pixel(qRound(left + point.x() * kx), qRound(bottom - point.y() * ky));
        if (drawn.Visit(pixel)) {
            pixels.push_back(pixel);
        }
    }
    QPen pen(Qt::red, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawPoints(pixels.data(), int(pixels.size()));
}

}  // namespace screen_bench
