// One axis of the chart (bottom = time, left = load): its range and label increment.
#pragma once

class QCPAxis;
class TChart;

class TChartAxis {
  public:
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    double Minimum() const { return min_; }
    double Maximum() const { return max_; }
    double Increment() const { return increment_; }

    // A minimum above the current maximum, a maximum below the current minimum, a range with
    // min > max and values that are not finite are refused: false, nothing changes.
    bool SetMinimum(double value);
    bool SetMaximum(double value);
    bool SetRange(double min, double max);
    // 0 lets the chart choose its own label step; a negative or non-finite step is refused.
    bool SetIncrement(double step);

    // The value of this axis at a pixel position of the plot surface (x for the bottom axis,
    // y for the left axis), for the view as it is drawn.
    double PixelToValue(double pixel) const;

  private:
    friend class TChart;
    TChartAxis(TChart& chart, QCPAxis* axis);

    // A zoom sets the range at once (min <= max already) and moves the view there in steps:
    // fraction 0 is the view as it was when the zoom began, 1 the new range.
    void BeginZoom(double min, double max);
    void ShowZoomStep(double fraction);
    void ShowOwnRange();
    void ApplyRange(double min, double max);

    TChart& chart_;
    QCPAxis* axis_;
    double min_ = 0;
    double max_ = 0;
    double increment_ = 0;
    double zoomFromMin_ = 0;
    double zoomFromMax_ = 0;
};
