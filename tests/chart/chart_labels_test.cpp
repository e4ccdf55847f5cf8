// Tick labels that fit their axis: the ticks keep the increment, the labels are thinned where
// they would overlap, on the screen and on the printed page.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QFontMetrics>
#include <cmath>
#include <vector>

#include "chart/chart_fixture.h"

namespace {

struct TLabel {
    double tick;
    double position;  // pixel position along the axis, in the layout it was made for
    QString text;
};

std::vector<TLabel> ShownLabels(const QCPAxis& axis) {
    std::vector<TLabel> shown;
    const QVector<double> ticks = axis.tickVector();
    const QVector<QString> labels = axis.tickVectorLabels();
    for (qsizetype i = 0; i < ticks.size() && i < labels.size(); ++i) {
        if (!labels[i].isEmpty()) {
            shown.push_back({ticks[i], axis.coordToPixel(ticks[i]), labels[i]});
        }
    }
    return shown;
}

// The least room in pixels between neighbouring labels as the plot draws them.
double SmallestGap(const std::vector<TLabel>& labels, const QCPAxis& axis) {
    const QFontMetrics metrics(axis.tickLabelFont());
    const auto extent = [&](const TLabel& label) {
        return axis.orientation() == Qt::Horizontal ? metrics.boundingRect(label.text).width()
                                                    : metrics.height();
    };
    double gap = 1e9;
    for (size_t i = 1; i < labels.size(); ++i) {
        const double distance = std::abs(labels[i].position - labels[i - 1].position);
        gap = std::min(gap, distance - (extent(labels[i]) + extent(labels[i - 1])) / 2);
    }
    return gap;
}

// Labelled ticks come every n-th multiple of the increment, n the same throughout.
void ExpectEveryNthMultipleLabelled(const std::vector<TLabel>& labels, double increment) {
    ASSERT_GE(labels.size(), 2u);
    const double stride = std::round((labels[1].tick - labels[0].tick) / increment);
    for (const TLabel& label : labels) {
        EXPECT_NEAR(std::remainder(label.tick / increment, stride), 0, 1e-6) << label.tick;
    }
}

TEST_F(ChartTest, TicksKeepTheIncrementAndLabelsAreThinnedWhereTheyWouldOverlap) {
    const struct {
        const char* what;
        bool timeAxis;
        double max, increment;
        int ticks;
        bool thinned;
    } cases[] = {
        {"time axis of a 55-minute test", true, 3604.26, 30, 121, true},
        {"time axis of a 20 s test", true, 22, 2, 12, false},
        {"load axis with a fine increment", false, 600, 5, 121, true},
        {"load axis of a 500 kN test", false, 602, 50, 13, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TChartAxis& axis = c.timeAxis ? chart.BottomAxis() : chart.LeftAxis();
        QCPAxis& plotAxis = *(c.timeAxis ? chart.Plot()->xAxis : chart.Plot()->yAxis);
        ASSERT_TRUE(axis.SetRange(0, c.max));
        ASSERT_TRUE(axis.SetIncrement(c.increment));
        chart.RepaintNow();

        const QVector<double> ticks = plotAxis.tickVector();
        ASSERT_EQ(ticks.size(), c.ticks);
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], i * c.increment, 1e-9);
        }
        const std::vector<TLabel> labels = ShownLabels(plotAxis);
        EXPECT_EQ(labels.size() < size_t(c.ticks), c.thinned);
        EXPECT_GE(SmallestGap(labels, plotAxis), 1);
        ExpectEveryNthMultipleLabelled(labels, c.increment);
    }
}

TEST_F(ChartTest, PrintedLabelsAreThinnedForThePageNotForTheScreen) {
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 3604.26));
    ASSERT_TRUE(chart.BottomAxis().SetIncrement(30));
    chart.RepaintNow();
    const std::vector<TLabel> onScreen = ShownLabels(*chart.Plot()->xAxis);

    // The layout made for the page, as the labels were drawn on it.
    const int pageWidth = qRound(chart.Plot()->width() * 1.8);
    std::vector<TLabel> onPage;
    double pageGap = 0;
    const auto connection = QObject::connect(chart.Plot(), &QCustomPlot::afterLayout, [&] {
        if (chart.Plot()->viewport().width() == pageWidth) {
            onPage = ShownLabels(*chart.Plot()->xAxis);
            pageGap = SmallestGap(onPage, *chart.Plot()->xAxis);
        }
    });
    Rendered(300);
    QObject::disconnect(connection);

    EXPECT_GT(onPage.size(), onScreen.size());
    EXPECT_GE(pageGap, 1);
    ExpectEveryNthMultipleLabelled(onPage, 30);
    EXPECT_EQ(ShownLabels(*chart.Plot()->xAxis).size(), onScreen.size());  // the screen's again
}

}  // namespace
