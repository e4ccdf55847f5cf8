#include "load_profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame_encoder.h"

namespace ve17sim {
namespace {

// 5 kN/s to 80 kN: the rise takes 16 s, the failure 0.3 s, then 0.5 kN remains.
LoadSettings Press() {
    LoadSettings s;
    s.loadRateKnS = 5;
    s.peakKn = 80;
    s.restKn = 0.5;
    s.dropS = 0.3;
    s.pauseS = 4;
    return s;
}

TEST(SimLoadProfile, PressCodesFollowTheRise) {
    struct Case {
        double t;
        uint16_t code;
    };
    const Case cases[] = {
        {0, 0},        {1, 2621},  // 5 kN: round(5 / 100 x 52428)
        {2.5, 6554},               // 12.5 kN: 6553.5 rounds up
        {10, 26214},               // 50 kN
        {15.9, 41680},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ForceToCode(LoadAt(Press(), c.t), 100), c.code) << "t = " << c.t;
    }
}

TEST(SimLoadProfile, PressFailsAtThePeakAndRests) {
    const LoadSettings s = Press();
    EXPECT_NEAR(LoadAt(s, 15.999), 79.995, 1e-9);
    EXPECT_NEAR(LoadAt(s, 16.15), 40.25, 1e-9);  // half way down
    EXPECT_DOUBLE_EQ(LoadAt(s, 16.3), 0.5);
    EXPECT_DOUBLE_EQ(LoadAt(s, 100), 0.5);  // without repeat it rests for good
    for (double t = 0; t < 30; t += 0.01) {
        ASSERT_LE(LoadAt(s, t), s.peakKn) << t;
    }
}

TEST(SimLoadProfile, RepeatStartsTheNextSpecimenAfterThePause) {
    LoadSettings s = Press();
    s.repeat = true;
    const double cycle = 16 + 0.3 + 4;
    EXPECT_DOUBLE_EQ(LoadAt(s, cycle - 0.01), 0.5);
    EXPECT_NEAR(LoadAt(s, cycle + 1), 5, 1e-9);
    EXPECT_NEAR(LoadAt(s, 2 * cycle + 10), 50, 1e-9);
}

TEST(SimLoadProfile, SteadyHoldsItsLoad) {
    LoadSettings s;
    s.shape = LoadShape::Steady;
    s.steadyKn = 42;
    for (double t : {0.0, 16.0, 1000.0}) {
        EXPECT_DOUBLE_EQ(LoadAt(s, t), 42);
    }
}

}  // namespace
}  // namespace ve17sim
