// The floor of a chart's full render: what the load chart draws, done bare with QPainter.
#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QStaticText>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "screen_bench.h"

namespace bare_chart {

// One axis of the bare chart: the range and tick step the chart's axis is given.
struct TBareAxis {
    double max;
    double step;
    QString title;
    // The ticks in 0..max: multiples of the step (none without a step).
    std::vector<double> Ticks() const {
        std::vector<double> ticks;
        for (int i = 0; step > 0 && i * step <= max; ++i) {
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
    // Axes from 0 to `timeMax` (s) by `timeStep` and to `loadMax` (kN) by `loadStep`.
    TBareChart(QRect axisRect, double timeMax, double timeStep, double loadMax, double loadStep)
        : axisRect_(axisRect),
          time_{timeMax, timeStep, QStringLiteral("Время, сек")},
          load_{loadMax, loadStep, QStringLiteral("Нагрузка, кН")} {
        labelFont_.setFamily(QStringLiteral("Arial"));
        labelFont_.setPixelSize(11);
        titleFont_ = labelFont_;
        titleFont_.setBold(true);
        labelHeight_ = QFontMetricsF(labelFont_).height();
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // The points of the next whole paint.
    std::vector<QPointF>& Points() { return points_; }

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
    screen_bench::TPixelBits drawn_;
    std::vector<QPoint> pixels_;
    std::optional<QPoint> newPixel_;
    QHash<QString, double> widths_;
    QHash<QString, QStaticText> laid_;
};

}  // namespace bare_chart
