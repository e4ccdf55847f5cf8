#include "chart/chart_axis.h"

#include <qcustomplot.h>
#include <cmath>

#include "chart/chart.h"
#include "chart/chart_tickers.h"

TChartAxis::TChartAxis(TChart& chart, QCPAxis* axis) : chart_(chart), axis_(axis) {
    axis_->setTicker(QSharedPointer<QCPAxisTicker>(new TAutoTicker(*axis_)));
}

bool TChartAxis::SetMinimum(double value) {
    if (!std::isfinite(value) || value > max_) {
        return false;
    }
    ApplyRange(value, max_);
    return true;
}

bool TChartAxis::SetMaximum(double value) {
    if (!std::isfinite(value) || value < min_) {
        return false;
    }
    ApplyRange(min_, value);
    return true;
}

bool TChartAxis::SetRange(double min, double max) {
    if (!std::isfinite(min) || !std::isfinite(max) || min > max) {
        return false;
    }
    ApplyRange(min, max);
    return true;
}

bool TChartAxis::SetIncrement(double step) {
    if (!std::isfinite(step) || step < 0) {
        return false;
    }
    increment_ = step;
    if (step == 0) {
        axis_->setTicker(QSharedPointer<QCPAxisTicker>(new TAutoTicker(*axis_)));
    } else {
        axis_->setTicker(QSharedPointer<QCPAxisTicker>(new TFixedTicker(*axis_, step)));
    }
    chart_.Repaint();
    return true;
}

double TChartAxis::PixelToValue(double pixel) const {
    return axis_->pixelToCoord(pixel);
}

void TChartAxis::ApplyRange(double min, double max) {
    // A zoom still on its way is completed (with its Zoomed) before the new range applies.
    chart_.FinishZoom();
    min_ = min;
    max_ = max;
    ShowOwnRange();
    chart_.Repaint();
}

void TChartAxis::BeginZoom(double min, double max) {
    zoomFromMin_ = axis_->range().lower;
    zoomFromMax_ = axis_->range().upper;
    min_ = min;
    max_ = max;
}

void TChartAxis::ShowZoomStep(double fraction) {
    const double min = zoomFromMin_ + (min_ - zoomFromMin_) * fraction;
    const double max = zoomFromMax_ + (max_ - zoomFromMax_) * fraction;
    if (QCPRange::validRange(min, max)) {
        axis_->setRange(min, max);
    }
}

void TChartAxis::ShowOwnRange() {
    // The plot cannot draw an empty range (0 to 0 for an empty series): it then shows one unit
    // from the minimum, while the axis keeps reporting the range it was given.
    if (QCPRange::validRange(min_, max_)) {
        axis_->setRange(min_, max_);
    } else if (QCPRange::validRange(min_, min_ + 1)) {
        axis_->setRange(min_, min_ + 1);
    }
}
