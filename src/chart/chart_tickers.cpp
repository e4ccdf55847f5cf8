#include "chart/chart_tickers.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinorTicks = 4;

// Labels `extent` pixels long along the axis, on ticks `spacing` pixels apart: every n-th tick
// is labelled, n the smallest that leaves `gap` pixels between neighbouring labels.
int LabelStride(double spacing, double extent, double gap) {
    constexpr double kMaxStride = 1 << 20;  // beyond the ticks a view can have
    if (!(spacing > 0)) {
        return int(kMaxStride);
    }
    return int(std::clamp(std::ceil((extent + gap) / spacing), 1.0, kMaxStride));
}

// Clears the labels of all ticks but every n-th multiple of the tick step, n the smallest for
// which the labels fit the axis' length in the layout. Multiples of the step keep their labels
// while the view moves.
void ThinToFit(const QCPAxis& axis, const QVector<double>& ticks, QVector<QString>& labels,
               TTextWidths& widths) {
    const QCPAxisRect* rect = axis.axisRect();
    if (ticks.size() < 2 || labels.size() != ticks.size() || !rect) {
        return;
    }
    const bool horizontal = axis.orientation() == Qt::Horizontal;
    const double length = horizontal ? rect->width() : rect->height();
    const double step = (ticks.last() - ticks.first()) / (ticks.size() - 1);
    const double spacing = length * step / axis.range().size();
    const QFont font = axis.tickLabelFont();
    double extent = 0;  // of the longest label along the axis
    if (horizontal) {
        for (const QString& label : labels) {
            extent = std::max(extent, widths.Of(label, font));
        }
    } else {
        extent = QFontMetricsF(font).height();
    }
    const int stride = LabelStride(spacing, extent, widths.Of(QStringLiteral("0"), font));
    if (stride <= 1) {
        return;
    }
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        if (std::fmod(std::round(ticks[i] / step), stride) != 0) {
            labels[i].clear();
        }
    }
}

}  // namespace

double TTextWidths::Of(const QString& text, const QFont& font) {
    constexpr qsizetype kMaxRemembered = 4096;  // far more than a view's labels
    if (font != font_ || widths_.size() >= kMaxRemembered) {
        font_ = font;
        widths_.clear();
    }
    const auto known = widths_.constFind(text);
    if (known != widths_.constEnd()) {
        return *known;
    }
    return *widths_.insert(text, QFontMetricsF(font_).horizontalAdvance(text));
}

template <class Ticker>
int TFittedLabels<Ticker>::getSubTickCount(double) {
    return kMinorTicks;
}

template <class Ticker>
QVector<QString> TFittedLabels<Ticker>::createLabelVector(const QVector<double>& ticks,
                                                          const QLocale& locale, QChar formatChar,
                                                          int precision) {
    QVector<QString> labels = Ticker::createLabelVector(ticks, locale, formatChar, precision);
    ThinToFit(axis_, ticks, labels, widths_);
    return labels;
}

template class TFittedLabels<QCPAxisTicker>;
template class TFittedLabels<QCPAxisTickerFixed>;

TFixedTicker::TFixedTicker(const QCPAxis& axis, double step) : TFittedLabels(axis) {
    setTickStep(step);
    setScaleStrategy(ssNone);
}

double TFixedTicker::getTickStep(const QCPRange& range) {
    const double count = range.size() / tickStep();
    if (count <= kMaxTicks) {
        return tickStep();
    }
    return tickStep() * std::ceil(count / kMaxTicks);
}
