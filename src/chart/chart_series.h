// The chart's one point series: load (kN) against time (s), in the order the points were added.
#pragma once

class QCPAxis;
class QCPCurve;
class TChart;

class TChartSeries {
  public:
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    void Clear();
    void AddXY(double x, double y);
    int Count() const;
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

    TChart& chart_;
    QCPCurve* curve_;
    double maxX_ = 0;
    double maxY_ = 0;
};
