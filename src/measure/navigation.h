// The load chart's navigation as plain arithmetic: fitting the axes to the points, the label
// increments after a zoom, the steps of the time-axis buttons and the cursor readout.
#pragma once

#include <QString>

namespace measure {

struct TAxisRange {
    double Min = 0;
    double Max = 0;
};

struct TAxisScale {
    double Min = 0;
    double Max = 0;
    double Increment = 0;
};

struct TChartScales {
    TAxisScale Bottom;  // time, s
    TAxisScale Left;    // load, kN
};

// AutoScale from the largest time and the largest load of the series: each axis from 0 to the
// largest value plus a margin (10 % for time, 20 % for load), both ends set together. A negative
// largest value (only a foreign test file holds one) gets its margin below it and the axis runs
// from there up to 0, so the range is never inverted.
TChartScales AutoScaleAxes(double largestX, double largestY);

// The label increments after a zoom, from the axis spans cut to hundredths. An increment of 0
// lets the chart choose.
double LoadIncrementAfterZoom(TAxisRange left);
double TimeIncrementAfterZoom(TAxisRange bottom);

// The mouse wheel zooms the chart by these percents: towards the operator in, away out.
constexpr double kWheelDownPercent = 101;
constexpr double kWheelUpPercent = 99;

// "X ++": the time span shrinks by 20 %, centred.
TAxisRange TimeZoomIn(TAxisRange bottom);
// "<": shifts by 5 % of the axis maximum (not of the span).
TAxisRange TimeShiftLeft(TAxisRange bottom);
// ">": shifts right by 5 % of the axis maximum, stopping 1 % beyond the last point's time. When
// that stop would put the maximum below the minimum (the view lies wholly right of the last
// point) the axis is left as it was.
TAxisRange TimeShiftRight(TAxisRange bottom, double lastX);

// The readout shows the pointer's values only inside both axis ranges, bounds included.
bool PointInView(double x, double y, TAxisRange bottom, TAxisRange left);
// stX and stY: "%-5.1f " and "%-8.3f ", always with a decimal point.
QString ReadoutX(double x);
QString ReadoutY(double y);

}  // namespace measure
