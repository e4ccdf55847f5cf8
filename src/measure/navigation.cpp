#include "measure/navigation.h"

#include <algorithm>
#include <cmath>

namespace measure {

namespace {

struct TStep {
    double Below;  // the step applies to largest values below this
    double Increment;
};

constexpr TStep kLoadSteps[] = {{20, 2}, {100, 5}, {200, 10}, {500, 20}, {1000, 50}};
constexpr double kLoadTopStep = 200;
constexpr TStep kTimeSteps[] = {{50, 2}, {100, 5}, {200, 10}, {300, 20}};
constexpr double kTimeTopStep = 30;

template <size_t N>
double StepFor(double largest, const TStep (&steps)[N], double topStep) {
    for (const TStep& step : steps) {
        if (largest < step.Below) {
            return step.Increment;
        }
    }
    return topStep;
}

TAxisScale FitAxis(double largest, double marginShare, double increment) {
    const double margin = std::fabs(marginShare * largest);
    const double end = largest >= 0 ? largest + margin : largest - margin;
    return {std::min(0.0, end), std::max(0.0, end), increment};
}

// The span cut toward zero to hundredths.
double SpanInHundredths(TAxisRange range) {
    return std::trunc((range.Max - range.Min) * 100) * 0.01;
}

}  // namespace

TChartScales AutoScaleAxes(double largestX, double largestY) {
    return {FitAxis(largestX, 0.1, StepFor(largestX, kTimeSteps, kTimeTopStep)),
            FitAxis(largestY, 0.2, StepFor(largestY, kLoadSteps, kLoadTopStep))};
}

double LoadIncrementAfterZoom(TAxisRange left) {
    const double span = SpanInHundredths(left);
    if (span <= 0.1) {
        return 0.01;
    }
    if (span <= 1) {
        return 0.1;
    }
    return std::trunc(span * 0.1);
}

double TimeIncrementAfterZoom(TAxisRange bottom) {
    return SpanInHundredths(bottom) * 0.1;
}

TAxisRange TimeZoomIn(TAxisRange bottom) {
    const double d = 0.1 * (bottom.Max - bottom.Min);
    bottom.Max = bottom.Max - d;
    bottom.Min = bottom.Min + d;
    return bottom;
}

TAxisRange TimeShiftLeft(TAxisRange bottom) {
    const double s = 0.05 * bottom.Max;
    bottom.Min = bottom.Min - s;
    bottom.Max = bottom.Max - s;
    return bottom;
}

TAxisRange TimeShiftRight(TAxisRange bottom, double lastX) {
    const double s = 0.05 * bottom.Max;
    TAxisRange shifted{bottom.Min + s, bottom.Max + s};
    if (shifted.Max > lastX) {
        shifted.Max = lastX + 0.01 * lastX;
        shifted.Min = shifted.Min - s;
    }
    return shifted.Min <= shifted.Max ? shifted : bottom;
}

bool PointInView(double x, double y, TAxisRange bottom, TAxisRange left) {
    return bottom.Min <= x && x <= bottom.Max && left.Min <= y && y <= left.Max;
}

// QString::asprintf formats with a point whatever the machine's locale.
QString ReadoutX(double x) {
    return QString::asprintf("%-5.1f ", x);
}

QString ReadoutY(double y) {
    return QString::asprintf("%-8.3f ", y);
}

}  // namespace measure
