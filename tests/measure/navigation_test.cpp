#include "measure/navigation.h"

#include <gtest/gtest.h>

namespace {

using measure::TAxisRange;
using measure::TAxisScale;

void ExpectScale(const TAxisScale& actual, const TAxisScale& expected, double largest) {
    EXPECT_DOUBLE_EQ(actual.Min, expected.Min) << largest;
    EXPECT_DOUBLE_EQ(actual.Max, expected.Max) << largest;
    EXPECT_DOUBLE_EQ(actual.Increment, expected.Increment) << largest;
}

void ExpectRange(const TAxisRange& actual, const TAxisRange& expected) {
    EXPECT_DOUBLE_EQ(actual.Min, expected.Min);
    EXPECT_DOUBLE_EQ(actual.Max, expected.Max);
}

struct ScaleCase {
    double largest;
    TAxisScale expected;
};

TEST(AutoScale, LoadAxisFromTheLargestLoad) {
    for (const ScaleCase& c : {
             ScaleCase{19.99, {0, 23.988, 2}},
             ScaleCase{20, {0, 24, 5}},
             ScaleCase{99.99, {0, 119.988, 5}},
             ScaleCase{100, {0, 120, 10}},
             ScaleCase{200, {0, 240, 20}},
             ScaleCase{500, {0, 600, 50}},
             ScaleCase{999, {0, 1198.8, 50}},
             ScaleCase{1000, {0, 1200, 200}},
             ScaleCase{5000, {0, 6000, 200}},
             ScaleCase{0, {0, 0, 2}},
             ScaleCase{-5, {-6, 0, 2}},
         }) {
        ExpectScale(measure::AutoScaleAxes(0, c.largest).Left, c.expected, c.largest);
    }
}

TEST(AutoScale, TimeAxisFromTheLargestTime) {
    for (const ScaleCase& c : {
             ScaleCase{20, {0, 22, 2}},
             ScaleCase{49.9, {0, 54.89, 2}},
             ScaleCase{50, {0, 55, 5}},
             ScaleCase{100, {0, 110, 10}},
             ScaleCase{200, {0, 220, 20}},
             ScaleCase{299, {0, 328.9, 20}},
             ScaleCase{300, {0, 330, 30}},
             ScaleCase{3000, {0, 3300, 30}},
             ScaleCase{0, {0, 0, 2}},
             ScaleCase{-10, {-11, 0, 2}},
         }) {
        ExpectScale(measure::AutoScaleAxes(c.largest, 0).Bottom, c.expected, c.largest);
    }
}

TEST(AutoScale, EmptySeriesGivesBothAxesZeroToZero) {
    const measure::TChartScales scales = measure::AutoScaleAxes(0, 0);
    ExpectScale(scales.Bottom, {0, 0, 2}, 0);
    ExpectScale(scales.Left, {0, 0, 2}, 0);
}

struct IncrementCase {
    TAxisRange range;
    double increment;
};

TEST(ZoomIncrements, LoadIncrementFromTheSpanCutToHundredths) {
    for (const IncrementCase& c : {
             IncrementCase{{0, 0.08}, 0.01},
             IncrementCase{{0, 0.1}, 0.01},
             IncrementCase{{0, 0.109}, 0.01},  // cut to 0.10
             IncrementCase{{0, 0.5}, 0.1},
             IncrementCase{{0, 1.009}, 0.1},  // cut to 1.00
             IncrementCase{{0, 5}, 0},        // the chart's own choice
             IncrementCase{{0, 9.99}, 0},
             IncrementCase{{0, 10}, 1},
             IncrementCase{{0, 37.5}, 3},
             IncrementCase{{10, 47.5}, 3},
         }) {
        EXPECT_DOUBLE_EQ(measure::LoadIncrementAfterZoom(c.range), c.increment)
            << c.range.Min << ".." << c.range.Max;
    }
}

TEST(ZoomIncrements, TimeIncrementIsATenthOfTheCutSpan) {
    for (const IncrementCase& c : {
             IncrementCase{{0, 4.567}, 0.456},
             IncrementCase{{2, 12}, 1},
             IncrementCase{{0, 0.009}, 0},
         }) {
        EXPECT_DOUBLE_EQ(measure::TimeIncrementAfterZoom(c.range), c.increment)
            << c.range.Min << ".." << c.range.Max;
    }
}

TEST(TimeButtons, ZoomInShrinksTheSpanByAFifthCentred) {
    ExpectRange(measure::TimeZoomIn({0, 10}), {1, 9});
    ExpectRange(measure::TimeZoomIn({10, 20}), {11, 19});
}

TEST(TimeButtons, LeftShiftsByFivePercentOfTheMaximum) {
    ExpectRange(measure::TimeShiftLeft({0, 10}), {-0.5, 9.5});
    ExpectRange(measure::TimeShiftLeft({90, 100}), {85, 95});
}

TEST(TimeButtons, RightShiftsAndStopsBeyondTheLastPoint) {
    struct Case {
        TAxisRange view;
        double lastX;
        TAxisRange expected;
    };
    for (const Case& c : {
             Case{{0, 10}, 20, {0.5, 10.5}}, Case{{0, 10}, 9, {0, 9.09}},
             Case{{0, 10}, 0, {0, 0}},   // empty series: stops at 0
             Case{{5, 10}, 2, {5, 10}},  // the stop would invert the axis: unchanged
             Case{{1, 10}, 0, {1, 10}},  // view right of 0 on an empty series: unchanged
         }) {
        SCOPED_TRACE(c.lastX);
        ExpectRange(measure::TimeShiftRight(c.view, c.lastX), c.expected);
    }
}

TEST(Readout, PointInViewIncludesTheBounds) {
    const TAxisRange bottom{0, 10};
    const TAxisRange left{-1, 5};
    struct Case {
        double x, y;
        bool inside;
    };
    for (const Case& c :
         {Case{0, -1, true}, Case{10, 5, true}, Case{5, 2, true}, Case{-0.001, 2, false},
          Case{10.001, 2, false}, Case{5, -1.001, false}, Case{5, 5.001, false}}) {
        EXPECT_EQ(measure::PointInView(c.x, c.y, bottom, left), c.inside) << c.x << "," << c.y;
    }
}

TEST(Readout, TextsArePaddedOnTheRight) {
    EXPECT_EQ(measure::ReadoutX(12.345), QStringLiteral("12.3  "));
    EXPECT_EQ(measure::ReadoutY(3.14159), QStringLiteral("3.142    "));
    EXPECT_EQ(measure::ReadoutX(12345.67), QStringLiteral("12345.7 "));
    EXPECT_EQ(measure::ReadoutY(-1234.5678), QStringLiteral("-1234.568 "));
}

}  // namespace
