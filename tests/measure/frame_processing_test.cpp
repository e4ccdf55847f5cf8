#include "measure/frame_processing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "measure/registration.h"
#include "support/device_frames.h"

namespace {

using measure::ProcessFrame;
using measure::TFrameOutcome;

class FrameProcessing : public ::testing::Test {
  protected:
    // One frame `stepMs` after the previous one.
    TFrameOutcome Feed(uint16_t code, char kind = ' ', uint16_t length = 10) {
        clock = clock.addMSecs(stepMs);
        return ProcessFrame(DeviceFrame(kind, code, length), scale, registering, clock, state,
                            store);
    }
    void FeedSteady(uint16_t code, int frames) {
        for (int i = 0; i < frames; ++i) {
            Feed(code);
        }
    }
    void Reset() {
        state = {};
        store = {};
        clock = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    }
    void Register(int32_t periodMs, int32_t areaMm2 = 0) {
        measure::StartRegistration(periodMs, areaMm2, store);
        registering = true;
    }

    TMeasureState state;
    TSampleStore store;
    QDateTime clock{QDate(2024, 3, 5), QTime(10, 0)};
    int stepMs = 100;
    int16_t scale = 100;
    bool registering = false;
};

TEST_F(FrameProcessing, SteadyCodeGivesForceAfterTenFramesAndStoresNewtons) {
    struct Case {
        uint16_t code;
        double forceKn;
        int32_t forceN;
    };
    for (const Case c : {Case{52428, 100.0, 100000}, Case{65535, 125.0, 125000}}) {
        SCOPED_TRACE(c.code);
        Reset();
        FeedSteady(c.code, 9);
        EXPECT_LT(state.Force, c.forceKn);  // a zero of the start-up ring is still averaged in
        Feed(c.code);
        EXPECT_DOUBLE_EQ(state.Force, c.forceKn);
        Register(100);
        const TFrameOutcome out = Feed(c.code);
        ASSERT_TRUE(out.SampleStored);
        EXPECT_DOUBLE_EQ(out.ForceKn, c.forceKn);
        EXPECT_EQ(store.ForceN[0], c.forceN);
    }
}

TEST_F(FrameProcessing, MeanOfTenCodesIsTruncated) {
    struct Case {
        uint16_t lastCode;
        int32_t meanCode;
    };
    for (const Case c : {Case{9, 0}, Case{19, 1}}) {
        SCOPED_TRACE(c.lastCode);
        Reset();
        FeedSteady(0, 9);
        Feed(c.lastCode);
        EXPECT_DOUBLE_EQ(state.Force, 100.0 * c.meanCode / 52428);
    }
}

TEST_F(FrameProcessing, StoredForceIsTruncatedTowardZero) {
    FeedSteady(1, 10);  // 100 / 52428 kN = 1.907 N
    Register(100);
    Feed(1);
    EXPECT_EQ(store.ForceN[0], 1);
}

TEST_F(FrameProcessing, RateFollowsTheRawCodesOverTwentyFrames) {
    struct Case {
        int step;
        double rate;
    };
    for (const Case c :
         {Case{262, 100.0 * 5240 / 52428 / 2}, Case{-262, -100.0 * 5240 / 52428 / 2}}) {
        SCOPED_TRACE(c.step);
        Reset();
        int code = 30000;
        FeedSteady(static_cast<uint16_t>(code), 20);
        for (int i = 0; i < 20; ++i) {
            code += c.step;
            Feed(static_cast<uint16_t>(code));
        }
        EXPECT_NEAR(state.Rate, c.rate, 1e-9);
    }
}

TEST_F(FrameProcessing, FirstFramesAfterStartUpCountFromZero) {
    stepMs = 0;
    clock = QDateTime(QDate(2024, 3, 5), QTime(10, 0, 0, 500));
    Feed(1000);
    EXPECT_EQ(state.DiffRing[0], 1000);
    EXPECT_EQ(state.MsRing[0], 500);
}

TEST_F(FrameProcessing, IntervalsAreTakenModuloOneSecond) {
    struct Case {
        int firstMs;
        int gapMs;
        uint16_t interval;
    };
    for (const Case c : {Case{990, 20, 20}, Case{500, 1000, 0}, Case{100, 1350, 350}}) {
        SCOPED_TRACE(c.firstMs);
        Reset();
        clock = QDateTime(QDate(2024, 3, 5), QTime(10, 0, 0, c.firstMs));
        stepMs = 0;
        Feed(0);
        stepMs = c.gapMs;
        Feed(0);
        EXPECT_EQ(state.MsRing[1], c.interval);
        EXPECT_EQ(state.FrameMs, (c.firstMs + c.gapMs) % 1000);
        EXPECT_EQ(state.ClockReading, clock);
    }
}

TEST_F(FrameProcessing, RateStaysFiniteAndUnchangedWhenNoTimePasses) {
    int code = 30000;
    for (int i = 0; i < 20; ++i) {
        Feed(static_cast<uint16_t>(code += 262));
    }
    stepMs = 0;
    int zeroSums = 0;
    for (int i = 0; i < 25; ++i) {
        const double before = state.Rate;
        Feed(static_cast<uint16_t>(code += 1000));
        if (std::accumulate(state.MsRing.begin(), state.MsRing.end(), 0) == 0) {
            ++zeroSums;
            EXPECT_EQ(state.Rate, before);
        }
        EXPECT_TRUE(std::isfinite(state.Rate));
    }
    EXPECT_GT(zeroSums, 0);
}

TEST_F(FrameProcessing, PeriodGatesSamplesAndTimesAreNominal) {
    struct Case {
        int32_t periodMs;
        int framesPerSample;
    };
    for (const Case c : {Case{100, 1}, Case{200, 2}, Case{250, 2}, Case{500, 5}, Case{1000, 10}}) {
        SCOPED_TRACE(c.periodMs);
        Reset();
        FeedSteady(52428, 12);  // frames before Start already count towards the first sample
        Register(c.periodMs);
        for (int frame = 0; frame < 30; ++frame) {
            const int32_t countBefore = store.Count;
            const TFrameOutcome out = Feed(52428);
            EXPECT_EQ(out.SampleStored, frame % c.framesPerSample == 0) << "frame " << frame;
            if (out.SampleStored) {
                EXPECT_EQ(store.TimeMs[countBefore], countBefore * c.periodMs);
                EXPECT_DOUBLE_EQ(out.TimeS, countBefore * c.periodMs * 0.001);
            }
        }
        EXPECT_EQ(store.Count, 30 / c.framesPerSample);
    }
}

TEST_F(FrameProcessing, NoSamplesWithoutRegistrationOrWithoutAPeriod) {
    FeedSteady(52428, 5);
    EXPECT_EQ(store.Count, 0);
    for (const int32_t period : {0, -100, measure::kMaxPeriodMs + 1}) {
        SCOPED_TRACE(period);
        Register(period);
        FeedSteady(52428, 20);
        EXPECT_EQ(store.Count, 0);
    }
}

TEST_F(FrameProcessing, RmaxFollowsTheMaximumAndIsZeroWithoutArea) {
    struct Case {
        int32_t areaMm2;
        double rmax;
    };
    for (const Case c : {Case{0, 0.0}, Case{400, 250.0}}) {
        SCOPED_TRACE(c.areaMm2);
        Reset();
        Register(100, c.areaMm2);
        FeedSteady(26214, 10);
        FeedSteady(52428, 10);
        EXPECT_DOUBLE_EQ(state.MaxForce, 100.0);
        EXPECT_DOUBLE_EQ(state.Rmax, c.rmax);
    }
}

TEST_F(FrameProcessing, MaximumSurvivesStartFallingForceAndOtherFrames) {
    FeedSteady(52428, 10);
    Register(100, 400);
    Feed(0, 'p');
    Feed(0, 'x');
    FeedSteady(100, 10);
    EXPECT_LT(state.Force, 1.0);
    EXPECT_DOUBLE_EQ(state.MaxForce, 100.0);
    // Rmax is recomputed only when the maximum rises, so the new area shows at a new maximum.
    EXPECT_DOUBLE_EQ(state.Rmax, 0.0);
    FeedSteady(52428, 10);
    EXPECT_DOUBLE_EQ(state.Rmax, 0.0);
    FeedSteady(65535, 1);
    EXPECT_GT(state.Rmax, 250.0);
}

TEST_F(FrameProcessing, FrameKindsOtherThanMeasurementOnlyRearmTheWatchdog) {
    FeedSteady(52428, 10);
    Register(100);
    struct Case {
        char kind;
        uint16_t length;
        int32_t frameCount;
    };
    // A 'p' frame restarts the I/O count; other kinds and a measurement frame too short to hold
    // a force code change nothing else.
    for (const Case c : {Case{'p', 10, 0}, Case{'x', 10, 10}, Case{' ', 9, 10}, Case{' ', 8, 10}}) {
        SCOPED_TRACE(c.kind);
        state.FrameCount = 10;
        state.Watchdog = 3;
        const TMeasureState before = state;
        const int32_t countBefore = store.Count;
        const TFrameOutcome out = Feed(1000, c.kind, c.length);
        EXPECT_FALSE(out.SampleStored);
        EXPECT_EQ(state.Watchdog, 20);
        EXPECT_EQ(state.LastKind, c.kind);
        EXPECT_EQ(state.FrameCount, c.frameCount);
        EXPECT_EQ(state.FramesSinceSample, before.FramesSinceSample);
        EXPECT_EQ(state.CodeRing, before.CodeRing);
        EXPECT_EQ(state.MsRing, before.MsRing);
        EXPECT_EQ(state.ClockReading, before.ClockReading);
        EXPECT_EQ(state.Force, before.Force);
        EXPECT_EQ(store.Count, countBefore);
    }
}

TEST_F(FrameProcessing, LastSampleFillsTheStoreAndSaysStop) {
    FeedSteady(52428, 10);
    Register(100);
    store.Count = kStoreCapacity - 1;
    const TFrameOutcome last = Feed(52428);
    EXPECT_TRUE(last.SampleStored);
    EXPECT_TRUE(last.StoreFull);
    EXPECT_EQ(store.Count, kStoreCapacity);
    EXPECT_EQ(store.TimeMs[kStoreCapacity - 1], (kStoreCapacity - 1) * 100);

    FeedSteady(0, 10);  // the window may not have stopped yet: still nothing is stored
    EXPECT_EQ(store.Count, kStoreCapacity);
    EXPECT_DOUBLE_EQ(state.Force, 0.0);
    EXPECT_EQ(store.ForceN[kStoreCapacity - 1], 100000);
}

TEST_F(FrameProcessing, CountersDoNotOverflow) {
    state.FrameCount = INT32_MAX;
    state.FramesSinceSample = INT32_MAX;
    Feed(0);
    EXPECT_EQ(state.FrameCount, 0);
    EXPECT_EQ(state.FramesSinceSample, INT32_MAX);
}

TEST(MeasureWatchdog, RunsDownToZeroAndStaysThere) {
    TMeasureState state;
    state.Watchdog = 2;
    for (const uint16_t expected : {1, 0, 0}) {
        measure::WatchdogTick(state);
        EXPECT_EQ(state.Watchdog, expected);
    }
}

// The stored force is compared after taking 2 % off it: only a force beyond the axis' maximum
// re-scales the axes.
TEST(SampleAxisChecks, LoadAxisWidensWhenTheReducedForceReachesItsMaximum) {
    struct Case {
        double force;
        double leftMax;
        bool widen;
    };
    for (const Case c : {Case{102.05, 100.0, true}, Case{102.0, 100.0, false},
                         Case{100.0, 100.0, false}, Case{0.0, 0.0, true}}) {
        EXPECT_EQ(measure::LoadAxisNeedsWidening(c.force, c.leftMax), c.widen)
            << c.force << " " << c.leftMax;
    }
    EXPECT_DOUBLE_EQ(measure::WidenedLoadMax(50.0), 60.0);
}

TEST(SampleAxisChecks, TimeAxisWidensAtItsMaximum) {
    struct Case {
        double timeS;
        double bottomMax;
        bool widen;
    };
    for (const Case c : {Case{20.0, 20.0, true}, Case{19.9, 20.0, false}, Case{0.0, 0.0, true}}) {
        EXPECT_EQ(measure::TimeAxisNeedsWidening(c.timeS, c.bottomMax), c.widen)
            << c.timeS << " " << c.bottomMax;
    }
    EXPECT_DOUBLE_EQ(measure::WidenedTimeMax(22.0), 42.0);
}

}  // namespace
