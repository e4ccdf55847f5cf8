// The chart's one point series: load (kN) against time (s), in the order the points were added.
#pragma once

#include <QPointF>
#include <span>

class QCPAxis;
class TChart;
class TDotPlottable;

class TChartSeries {
  public:
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    void Clear();
    void AddXY(double x, double y);
    // The points (xs[i], ys[i]) added in one step, as AddXY would add them one by one; of two
    // spans of different lengths the longer one's tail is ignored.
    void AddPoints(std::span<const double> xs, std::span<const double> ys);
    int Count() const;
    QPointF Point(int index) const;  // 0 <= index < Count()
    // Largest x and largest y of the points; 0 for an empty series.
    double MaxX() const { return maxX_; }
    double MaxY() const { return maxY_; }

    // A switched-off series draws nothing; points added meanwhile are still kept and appear
    // when it is switched on again.
    void SetActive(bool active);
    bool Active() const;

  private:
    friend class TChart;
    TChartSeries(TChart& chart, QCPAxis* xAxis, QCPAxis* yAxis);
    // The largest x and y so far, with the point (x, y); `first` when it is the first point.
    void TakeLargest(double x, double y, bool first);

    TChart& chart_;
    TDotPlottable* dots_;  // owned by the plot
    double maxX_ = 0;
    double maxY_ = 0;
};
