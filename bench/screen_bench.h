// What the benchmarks of the screen share: widgets shown on the offscreen platform and painted
// through real paint events, which they count, and the floor's way of painting points: mapped
// onto the whole widget and painted with one QPainter::drawPoints call.
#pragma once

#include <benchmark/benchmark.h>

#include <QEvent>
#include <QObject>
#include <QPainter>
#include <QPointF>
#include <QTest>
#include <QWidget>
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

}  // namespace screen_bench
