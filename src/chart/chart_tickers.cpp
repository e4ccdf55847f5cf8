#include "chart/chart_tickers.h"

#include <cmath>

namespace {
constexpr int kMinorTicks = 4;
}

int TAutoTicker::getSubTickCount(double) {
    return kMinorTicks;
}

TFixedTicker::TFixedTicker(double step) {
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

int TFixedTicker::getSubTickCount(double) {
    return kMinorTicks;
}
