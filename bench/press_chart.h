// A chart as a press test leaves it, for the benchmarks.
#pragma once

#include <cmath>

#include "chart/chart.h"

constexpr int kFullStore = 32767;

// A press test of `points` samples, one per 100 ms: the load rises, fails and drops.
inline void FillPressTest(TChart& chart, int points) {
    for (int i = 0; i < points; ++i) {
        const double t = i * 0.1;
        chart.Series().AddXY(t, 500 * std::sin(3.0 * i / points) + (i % 7) * 0.3);
    }
    chart.BottomAxis().SetRange(0, points * 0.1 * 1.1);
    chart.BottomAxis().SetIncrement(30);
    chart.LeftAxis().SetRange(0, 600);
    chart.LeftAxis().SetIncrement(50);
}
