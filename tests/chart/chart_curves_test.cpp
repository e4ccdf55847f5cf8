// The chart's named curves and their legend, on the screen and on a page.
#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QImage>
#include <QPainter>
#include <set>
#include <vector>

#include "chart/chart_fixture.h"

namespace {

const std::vector<double> kXs{0, 1, 2};
const std::vector<double> kYs{0, 2, 1};

QString LegendName(const QCPLegend& legend, int index) {
    auto* item = qobject_cast<QCPPlottableLegendItem*>(legend.item(index));
    return item ? item->plottable()->name() : QString();
}

TEST_F(ChartTest, LegendNamesTheCurvesOnlyAndHidingItGivesThePlottingAreaBack) {
    chart.Series().AddXY(1, 1);
    chart.RepaintNow();
    const QRect alone = chart.Plot()->axisRect()->rect();
    chart.AddCurve(QStringLiteral("1. Куб-1"), Qt::blue, kXs, kYs);
    chart.AddCurve(QStringLiteral("2. Куб-2"), Qt::green, kXs, kYs);
    chart.ShowLegend(true);
    chart.RepaintNow();
    const QCPLegend& legend = *chart.Plot()->legend;
    ASSERT_EQ(legend.itemCount(), 2) << "the point series is not named";
    EXPECT_EQ(LegendName(legend, 0), QStringLiteral("1. Куб-1"));
    EXPECT_EQ(LegendName(legend, 1), QStringLiteral("2. Куб-2"));
    const QRect beside = chart.Plot()->axisRect()->rect();
    EXPECT_LT(beside.width(), alone.width()) << "the legend lies beside the plotting area";
    EXPECT_FALSE(legend.outerRect().intersects(beside));

    chart.ShowLegend(false);
    chart.RepaintNow();
    EXPECT_FALSE(chart.LegendShown());
    EXPECT_EQ(chart.Plot()->axisRect()->rect(), alone);
    chart.ClearCurves();
    EXPECT_EQ(chart.CurveCount(), 0);
    EXPECT_EQ(legend.itemCount(), 0);
    EXPECT_EQ(chart.Series().Count(), 1);
}

TEST(ChartCurvesTest, AChartNeverShownDrawsItsCurvesWholeOnACanvasOfTheGivenSize) {
    TChart chart;
    ASSERT_TRUE(chart.BottomAxis().SetRange(0, 10));
    ASSERT_TRUE(chart.LeftAxis().SetRange(0, 10));
    // A rising line of many more points than pixels.
    std::vector<double> xs(100000);
    std::vector<double> ys(xs.size());
    for (size_t i = 0; i < xs.size(); ++i) {
        xs[i] = 10.0 * double(i) / double(xs.size() - 1);
        ys[i] = 1 + 0.8 * xs[i];
    }
    chart.AddCurve(QStringLiteral("line"), QColor(0, 0, 255), xs, ys);
    QImage page(1600, 900, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        chart.RenderTo(painter, QRectF(0, 0, page.width(), page.height()), QSize(800, 450));
    }
    std::set<int> columns;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 120 && c.green() < 120) {
                columns.insert(x);
            }
        }
    }
    ASSERT_FALSE(columns.empty());
    EXPECT_GT(*columns.rbegin() - *columns.begin(), page.width() * 0.8);
    EXPECT_GT(double(columns.size()), (*columns.rbegin() - *columns.begin()) * 0.95)
        << "no gaps along the line";
}

}  // namespace
