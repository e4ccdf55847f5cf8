// What of the chart's plot surface reached the screen: the time range of the latest whole redraw
// made since the watch began that a paint then showed.
#pragma once

#include <qcustomplot.h>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <optional>

class TScreenWatch : public QObject {
  public:
    explicit TScreenWatch(QCustomPlot& plot) : plot_(plot) {
        plot.installEventFilter(this);
        connect(&plot, &QCustomPlot::afterReplot, this,
                [this] { redrawn_ = plot_.xAxis->range(); });
    }

    std::optional<QCPRange> ShownTimeRange() const { return shown_; }

    // Runs the events that are due, a few rounds of them, but lets no time pass: a timer that
    // has not run out yet (a paced redraw) does not fire.
    static void RunDueEvents() {
        constexpr int kRounds = 5;
        for (int round = 0; round < kRounds; ++round) {
            QCoreApplication::processEvents();
        }
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && redrawn_) {
            shown_ = redrawn_;
        }
        return false;
    }

  private:
    QCustomPlot& plot_;
    std::optional<QCPRange> redrawn_;
    std::optional<QCPRange> shown_;
};

inline void PrintTo(const QCPRange& range, std::ostream* out) {
    *out << range.lower << " .. " << range.upper;
}
