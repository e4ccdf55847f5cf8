// Tick placement of the chart's axes: four minor ticks between major ticks, either at the
// chart's own step or at a fixed increment. Ticks and grid lines keep the step; the labels are
// thinned to every n-th tick where they would otherwise overlap.
#pragma once

#include <qcustomplot.h>
#include <QFont>
#include <QHash>

// Widths of texts in one font, remembered: the same labels come back with every redraw.
class TTextWidths {
  public:
    double Of(const QString& text, const QFont& font);

  private:
    QFont font_;
    QHash<QString, double> widths_;
};

// The ticker of `axis`, which owns it: labels fitted to the length the axis has in the layout,
// in its label font.
template <class Ticker>
class TFittedLabels : public Ticker {
  public:
    explicit TFittedLabels(const QCPAxis& axis) : axis_(axis) {}

  protected:
    int getSubTickCount(double tickStep) override;
    QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale,
                                       QChar formatChar, int precision) override;

  private:
    const QCPAxis& axis_;
    TTextWidths widths_;
};

extern template class TFittedLabels<QCPAxisTicker>;
extern template class TFittedLabels<QCPAxisTickerFixed>;

// The chart's own choice of step (an increment of 0).
class TAutoTicker : public TFittedLabels<QCPAxisTicker> {
  public:
    using TFittedLabels::TFittedLabels;
};

// A fixed increment. When the view is so wide that the increment would give more than
// kMaxTicks ticks, only every n-th multiple gets a tick, so a wide view never stalls the
// drawing or exhausts memory.
class TFixedTicker : public TFittedLabels<QCPAxisTickerFixed> {
  public:
    static constexpr double kMaxTicks = 500;
    TFixedTicker(const QCPAxis& axis, double step);

  protected:
    double getTickStep(const QCPRange& range) override;
};
