#include "chart/chart_series.h"

#include <algorithm>

#include "chart/chart.h"
#include "chart/chart_dots.h"

TChartSeries::TChartSeries(TChart& chart, QCPAxis* xAxis, QCPAxis* yAxis)
    : chart_(chart), dots_(new TDotPlottable(xAxis, yAxis)) {}

void TChartSeries::Clear() {
    dots_->Clear();
    maxX_ = 0;
    maxY_ = 0;
    chart_.Repaint();
}

void TChartSeries::TakeLargest(double x, double y, bool first) {
    if (first) {
        maxX_ = x;
        maxY_ = y;
    } else {
        maxX_ = std::max(maxX_, x);
        maxY_ = std::max(maxY_, y);
    }
}

void TChartSeries::AddXY(double x, double y) {
    TakeLargest(x, y, dots_->Count() == 0);
    dots_->Append(x, y);
    chart_.RepaintCurve();
}

void TChartSeries::AddPoints(std::span<const double> xs, std::span<const double> ys) {
    const size_t count = std::min(xs.size(), ys.size());
    if (count == 0) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        TakeLargest(xs[i], ys[i], i == 0 && dots_->Count() == 0);
    }
    dots_->Append(xs.first(count), ys.first(count));
    chart_.RepaintCurve();
}

int TChartSeries::Count() const {
    return dots_->Count();
}

QPointF TChartSeries::Point(int index) const {
    return dots_->At(index);
}

void TChartSeries::SetActive(bool active) {
    dots_->setVisible(active);
    chart_.Repaint();
}

bool TChartSeries::Active() const {
    return dots_->visible();
}
