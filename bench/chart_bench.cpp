// What the operator's screen costs of the load chart with a full store of points, at its size in
// the window, each figure beside its floors, bare widgets of the same size:
//   - the points mapped and painted with one QPainter::drawPoints call, every one of them;
//   - the same, each pixel once: the mapped pixels told apart with a bitmap first;
//   - what the chart draws, bare: its axis rectangle, grid, ticks, tick labels (thinned where
//     they would overlap) and axis titles, and the points each pixel once. A new sample on it is
//     one pixel drawn over the picture the widget keeps (its backing store), as the chart draws
//     new points over its own picture.
// The chart without points, beside the bare widget without points, shows how much of a render
// is axes, grid and labels. All are shown on the offscreen platform and painted through real
// paint events, which every benchmark counts.
#include <benchmark/benchmark.h>

#include <qcustomplot.h>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "chart/chart.h"
#include "screen_bench.h"

namespace {

using screen_bench::ExpectPaints;
using screen_bench::kFullStore;
using screen_bench::TPaintCounter;
using screen_bench::TPixelBits;

constexpr double kPeriodS = 0.1;
// The axes AutoScale gives a full store at 100 ms: 0..3604 s by 30 s, 0..602 kN by 50 kN.
constexpr double kTimeMax = kFullStore * kPeriodS * 1.1;
constexpr double kLoadMax = 602;
// Benchmarks that append run a fixed number of times, so the store grows by 1 % at most.
constexpr int kAppends = 300;

// A press test of one sample per 100 ms: the load rises, fails and drops.
double LoadAt(int i) {
    return 500 * std::sin(3.0 * i / kFullStore) + (i % 7) * 0.3;
}

// The i-th new sample (i < kAppends): inside the view, on a pixel no sample has taken before,
// so that every one changes the picture.
QPointF NewSample(int i) {
    return {(kFullStore + i) * kPeriodS, 100 + 1.5 * i};
}

void Show(QWidget& widget) {
    widget.resize(screen_bench::kWidth, screen_bench::kHeight);
    screen_bench::Show(widget);
}

// The floor: the same points mapped onto the whole widget and painted in one call.
class TFloorWidget : public QWidget {
  public:
    TFloorWidget() {
        for (int i = 0; i < kFullStore; ++i) {
            points_.emplace_back(i * kPeriodS, LoadAt(i));
        }
    }
    void Append(QPointF point) { points_.push_back(point); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        screen_bench::PaintPoints(painter, size(), points_, kTimeMax, kLoadMax, pixels_);
    }

  private:
    std::vector<QPointF> points_;
    std::vector<QPoint> pixels_;
};

// The floor that paints each pixel once: the same points mapped onto the whole widget, the
// distinct pixels painted in one call.
class TEachPixelOnceWidget : public QWidget {
  public:
    TEachPixelOnceWidget() {
        for (int i = 0; i < kFullStore; ++i) {
            points_.emplace_back(i * kPeriodS, LoadAt(i));
        }
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        screen_bench::PaintDistinctPoints(painter, rect(), points_, kTimeMax, kLoadMax, drawn_,
                                          pixels_);
    }

  private:
    std::vector<QPointF> points_;
    TPixelBits drawn_;
    std::vector<QPoint> pixels_;
};

// One axis of the bare chart: the range and tick step the chart's axis is given.
struct TBareAxis {
    double max;
    double step;
    QString title;
    // The ticks in 0..max: multiples of the step.
    std::vector<double> Ticks() const {
        std::vector<double> ticks;
        for (int i = 0; i * step <= max; ++i) {
            ticks.push_back(i * step);
        }
        return ticks;
    }
};

// What the chart draws, bare, in the axis rectangle the chart has at the same size: white, the
// grid at each tick, the points each pixel once, the axis lines with ticks and four minor ticks
// between them, the tick labels (every n-th where they would overlap, as the chart thins them)
// and the axis titles. Label texts are laid out once and kept, as the chart keeps its labels'
// pictures.
class TBareChart : public QWidget {
  public:
    TBareChart(QRect axisRect, int points)
        : axisRect_(axisRect),
          time_{kTimeMax, 30, QStringLiteral("Время, сек")},
          load_{kLoadMax, 50, QStringLiteral("Нагрузка, кН")} {
        for (int i = 0; i < points; ++i) {
            points_.emplace_back(i * kPeriodS, LoadAt(i));
        }
        labelFont_.setFamily(QStringLiteral("Arial"));
        labelFont_.setPixelSize(11);
        titleFont_ = labelFont_;
        titleFont_.setBold(true);
        labelHeight_ = QFontMetricsF(labelFont_).height();
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // A new sample: its pixel alone drawn over the picture on the screen, when it is a new one.
    void Append(QPointF point) {
        points_.push_back(point);
        const QPoint pixel = Pixel(point);
        if (drawn_.Visit(pixel)) {
            newPixel_ = pixel;
            repaint(QRect(pixel, QSize(1, 1)));
        }
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        if (newPixel_ && event->rect() == QRect(*newPixel_, QSize(1, 1))) {
            PaintPixels(painter, {*newPixel_});
        } else {
            PaintWhole(painter);
        }
        newPixel_.reset();
    }

  private:
    QPoint Pixel(QPointF point) const {
        return {qRound(axisRect_.left() + point.x() * axisRect_.width() / time_.max),
                qRound(axisRect_.bottom() - point.y() * axisRect_.height() / load_.max)};
    }
    double X(double time) const { return axisRect_.left() + time * axisRect_.width() / time_.max; }
    double Y(double load) const {
        return axisRect_.bottom() - load * axisRect_.height() / load_.max;
    }

    static void PaintPixels(QPainter& painter, const std::vector<QPoint>& pixels) {
        QPen pen(Qt::red, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPoints(pixels.data(), int(pixels.size()));
    }

    void PaintWhole(QPainter& painter) {
        painter.fillRect(rect(), Qt::white);
        const std::vector<double> times = time_.Ticks();
        const std::vector<double> loads = load_.Ticks();
        const QRectF area(axisRect_);
        painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
        for (double t : times) {
            painter.drawLine(QLineF(X(t), area.bottom(), X(t), area.top()));
        }
        painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashDotDotLine));
        for (double f : loads) {
            painter.drawLine(QLineF(area.left(), Y(f), area.right(), Y(f)));
        }
        pixels_.clear();
        drawn_.Reset(axisRect_);
        painter.save();
        painter.setClipRect(axisRect_);
        for (const QPointF& point : points_) {
            const QPoint pixel = Pixel(point);
            if (drawn_.Visit(pixel)) {
                pixels_.push_back(pixel);
            }
        }
        PaintPixels(painter, pixels_);
        painter.restore();
        PaintTimeAxis(painter, times);
        PaintLoadAxis(painter, loads);
    }

    void PaintTimeAxis(QPainter& painter, const std::vector<double>& ticks) {
        const double y = axisRect_.bottom();
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QLineF(axisRect_.left(), y, axisRect_.right() + 1, y));
        for (size_t i = 0; i < ticks.size(); ++i) {
            painter.drawLine(QLineF(X(ticks[i]), y - 1, X(ticks[i]), y + 5));
            for (int k = 1; k <= 4 && i + 1 < ticks.size(); ++k) {
                const double sub = X(ticks[i] + k * time_.step / 5);
                painter.drawLine(QLineF(sub, y, sub, y + 3));
            }
        }
        painter.setFont(labelFont_);
        const std::vector<QString> labels = Labels(time_, ticks, Qt::Horizontal);
        const double top = y + 5 + 2;
        for (size_t i = 0; i < ticks.size(); ++i) {
            if (!labels[i].isEmpty()) {
                const QStaticText& text = Laid(labels[i]);
                painter.drawStaticText(QPointF(X(ticks[i]) - text.size().width() / 2, top), text);
            }
        }
        painter.setFont(titleFont_);
        const QStaticText& title = Laid(time_.title);
        painter.drawStaticText(
            QPointF(axisRect_.center().x() - title.size().width() / 2, top + labelHeight_ + 5),
            title);
    }

    void PaintLoadAxis(QPainter& painter, const std::vector<double>& ticks) {
        const double x = axisRect_.left();
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QLineF(x, axisRect_.bottom() + 1, x, axisRect_.top()));
        for (size_t i = 0; i < ticks.size(); ++i) {
            painter.drawLine(QLineF(x - 5, Y(ticks[i]), x, Y(ticks[i])));
            for (int k = 1; k <= 4 && i + 1 < ticks.size(); ++k) {
                const double sub = Y(ticks[i] + k * load_.step / 5);
                painter.drawLine(QLineF(x - 3, sub, x, sub));
            }
        }
        painter.setFont(labelFont_);
        const std::vector<QString> labels = Labels(load_, ticks, Qt::Vertical);
        double widest = 0;
        for (size_t i = 0; i < ticks.size(); ++i) {
            if (!labels[i].isEmpty()) {
                const QStaticText& text = Laid(labels[i]);
                widest = std::max(widest, text.size().width());
                painter.drawStaticText(QPointF(x - 5 - 2 - text.size().width(),
                                               Y(ticks[i]) - text.size().height() / 2),
                                       text);
            }
        }
        painter.setFont(titleFont_);
        const QStaticText& title = Laid(load_.title);
        painter.save();
        painter.translate(x - 5 - 2 - widest - 5 - title.size().height(),
                          axisRect_.center().y() + title.size().width() / 2);
        painter.rotate(-90);
        painter.drawStaticText(QPointF(), title);
        painter.restore();
    }

    // The tick labels of an axis, cleared but for every n-th multiple of the step, n the smallest
    // that leaves a digit's width between neighbouring labels.
    std::vector<QString> Labels(const TBareAxis& axis, const std::vector<double>& ticks,
                                Qt::Orientation orientation) {
        const bool horizontal = orientation == Qt::Horizontal;
        std::vector<QString> labels;
        double extent = horizontal ? 0 : labelHeight_;  // of the longest label along the axis
        for (double tick : ticks) {
            labels.push_back(QLocale::c().toString(tick, 'g', 6));
            if (horizontal) {
                extent = std::max(extent, Width(labels.back()));
            }
        }
        const double length = horizontal ? axisRect_.width() : axisRect_.height();
        const double spacing = length * axis.step / axis.max;
        const int stride =
            std::max(1, int(std::ceil((extent + Width(QStringLiteral("0"))) / spacing)));
        for (size_t i = 0; i < ticks.size(); ++i) {
            if (std::lround(ticks[i] / axis.step) % stride != 0) {
                labels[i].clear();
            }
        }
        return labels;
    }

    double Width(const QString& text) {
        const auto known = widths_.constFind(text);
        if (known != widths_.constEnd()) {
            return *known;
        }
        return *widths_.insert(text, QFontMetricsF(labelFont_).horizontalAdvance(text));
    }

    // The text laid out in the painter's font, once.
    const QStaticText& Laid(const QString& text) {
        auto laid = laid_.find(text);
        if (laid == laid_.end()) {
            laid = laid_.insert(text, QStaticText(text));
            laid->prepare(QTransform(),
                          text == time_.title || text == load_.title ? titleFont_ : labelFont_);
        }
        return *laid;
    }

    QRect axisRect_;
    TBareAxis time_;
    TBareAxis load_;
    QFont labelFont_;
    QFont titleFont_;
    double labelHeight_ = 0;
    std::vector<QPointF> points_;
    TPixelBits drawn_;
    std::vector<QPoint> pixels_;
    std::optional<QPoint> newPixel_;
    QHash<QString, double> widths_;
    QHash<QString, QStaticText> laid_;
};

// The chart at its size in the window, holding `points` of a full store, drawn once.
void ShowChart(TChart& chart, int points = kFullStore) {
    for (int i = 0; i < points; ++i) {
        chart.Series().AddXY(i * kPeriodS, LoadAt(i));
    }
    chart.BottomAxis().SetRange(0, kTimeMax);
    chart.BottomAxis().SetIncrement(30);
    chart.LeftAxis().SetRange(0, kLoadMax);
    chart.LeftAxis().SetIncrement(50);
    Show(chart);
    chart.RepaintNow();
}

// The axis rectangle of the chart shown at its size in the window, in the chart's pixels.
QRect ChartAxisRect() {
    TChart chart;
    ShowChart(chart);
    return chart.Plot()->axisRect()->rect().translated(chart.Plot()->pos());
}

// Axes, grid, labels and points drawn again, and the widget painted.
void BM_FullRender(benchmark::State& state) {
    TChart chart;
    ShowChart(chart);
    const TPaintCounter paints(*chart.Plot());
    for (auto _ : state) {
        chart.Repaint();
        chart.RepaintNow();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond);

// Shows a floor and paints it again and again.
void PaintFloor(benchmark::State& state, QWidget& floor) {
    Show(floor);
    const TPaintCounter paints(floor);
    for (auto _ : state) {
        floor.repaint();
    }
    ExpectPaints(state, paints);
}

void BM_FullRenderFloor(benchmark::State& state) {
    TFloorWidget floor;
    PaintFloor(state, floor);
}
BENCHMARK(BM_FullRenderFloor)->Unit(benchmark::kMillisecond);

void BM_FullRenderFloorEachPixelOnce(benchmark::State& state) {
    TEachPixelOnceWidget floor;
    PaintFloor(state, floor);
}
BENCHMARK(BM_FullRenderFloorEachPixelOnce)->Unit(benchmark::kMillisecond);

void BM_FullRenderFloorWithAxes(benchmark::State& state) {
    TBareChart floor(ChartAxisRect(), kFullStore);
    PaintFloor(state, floor);
}
BENCHMARK(BM_FullRenderFloorWithAxes)->Unit(benchmark::kMillisecond);

// The chart's axes, grid and labels alone: what a full render costs before its points.
void BM_FullRenderNoPoints(benchmark::State& state) {
    TChart chart;
    ShowChart(chart, 0);
    const TPaintCounter paints(*chart.Plot());
    for (auto _ : state) {
        chart.Repaint();
        chart.RepaintNow();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_FullRenderNoPoints)->Unit(benchmark::kMillisecond);

void BM_FullRenderNoPointsFloor(benchmark::State& state) {
    TBareChart floor(ChartAxisRect(), 0);
    PaintFloor(state, floor);
}
BENCHMARK(BM_FullRenderNoPointsFloor)->Unit(benchmark::kMillisecond);

// A sample appended to a full chart, the chart's redraw for it and the paint.
void BM_OneNewSample(benchmark::State& state) {
    TChart chart;
    ShowChart(chart);
    const TPaintCounter paints(*chart.Plot());
    int appended = 0;
    for (auto _ : state) {
        const QPointF sample = NewSample(appended++);
        chart.Series().AddXY(sample.x(), sample.y());
        chart.RepaintNow();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_OneNewSample)->Iterations(kAppends)->Unit(benchmark::kMicrosecond);

void BM_OneNewSampleFloor(benchmark::State& state) {
    TFloorWidget floor;
    Show(floor);
    const TPaintCounter paints(floor);
    int appended = 0;
    for (auto _ : state) {
        floor.Append(NewSample(appended++));
        floor.repaint();
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_OneNewSampleFloor)->Iterations(kAppends)->Unit(benchmark::kMillisecond);

// A new sample on the bare chart: its one new pixel drawn over the kept picture and painted.
void BM_OneNewSampleFloorNewPixel(benchmark::State& state) {
    TBareChart floor(ChartAxisRect(), kFullStore);
    Show(floor);
    floor.repaint();
    const TPaintCounter paints(floor);
    int appended = 0;
    for (auto _ : state) {
        floor.Append(NewSample(appended++));
    }
    ExpectPaints(state, paints);
}
BENCHMARK(BM_OneNewSampleFloorNewPixel)->Iterations(kAppends)->Unit(benchmark::kMicrosecond);

}  // namespace
