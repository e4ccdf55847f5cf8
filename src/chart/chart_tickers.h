// Tick placement of the chart's axes: four minor ticks between major ticks, either at the
// chart's own step or at a fixed increment.
#pragma once

#include <qcustomplot.h>

// The chart's own choice of step (an increment of 0).
class TAutoTicker : public QCPAxisTicker {
  protected:
    int getSubTickCount(double tickStep) override;
};

// A fixed increment. When the view is so wide that the increment would give more than
// kMaxTicks ticks, only every n-th multiple is labelled, so a wide view never stalls the
// drawing or exhausts memory.
class TFixedTicker : public QCPAxisTickerFixed {
  public:
    static constexpr double kMaxTicks = 500;
    explicit TFixedTicker(double step);

  protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
};
