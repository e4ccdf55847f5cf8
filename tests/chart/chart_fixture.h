// The chart at its size in the window, shown on the offscreen platform, with helpers to look
// at what it draws.
#pragma once

#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <set>
#include <utility>

#include "chart/chart.h"

class ChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(742, 567);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    }

    // The point in the middle of the plotting area.
    QPoint Centre() const { return chart.Plot()->axisRect()->rect().center(); }

    // Renders the chart onto an image of a page-like size and resolution.
    QImage Rendered(int dotsPerInch) {
        QImage image(1600, 1200, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        chart.RenderTo(painter, QRectF(0, 0, image.width(), image.height()), 1.8);
        return image;
    }

    static int CountPixels(const QImage& image, bool (*match)(QColor)) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += match(image.pixelColor(x, y));
            }
        }
        return count;
    }
    static bool Red(QColor c) { return c.red() > 200 && c.green() < 100 && c.blue() < 100; }
    // Positions (x, y) of the red pixels.
    static std::set<std::pair<int, int>> RedPixels(const QImage& image) {
        std::set<std::pair<int, int>> pixels;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (Red(image.pixelColor(x, y))) {
                    pixels.emplace(x, y);
                }
            }
        }
        return pixels;
    }
    // What the plot surface shows now, and what a whole redraw of it shows.
    QImage Shown() const { return chart.Plot()->grab().toImage(); }
    QImage WhollyRedrawn() {
        chart.Plot()->replot(QCustomPlot::rpImmediateRefresh);
        return Shown();
    }
    static bool Dark(QColor c) { return c.lightness() < 100; }

    void ExpectRange(TChartAxis& axis, double min, double max) {
        EXPECT_DOUBLE_EQ(axis.Minimum(), min);
        EXPECT_DOUBLE_EQ(axis.Maximum(), max);
    }

    TChart chart;
};
