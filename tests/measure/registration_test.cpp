#include "measure/registration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "measure/frame_processing.h"

namespace {

TEST(RegistrationGuards, RepeatedStartOrStopIsIgnored) {
    bool started = false;
    bool stopped = false;
    struct Step {
        bool start;  // else Stop
        bool runs;
        bool startedAfter;
        bool stoppedAfter;
    };
    // From start-up: Stop runs once (btStop is already pressed), Start runs once, then each
    // alternates.
    const Step steps[] = {{false, true, false, true}, {false, false, false, true},
                          {true, true, true, false},  {true, false, true, false},
                          {false, true, false, true}, {true, true, true, false}};
    for (const Step& s : steps) {
        const bool runs =
            s.start ? measure::BeginStart(started, stopped) : measure::BeginStop(started, stopped);
        EXPECT_EQ(runs, s.runs);
        EXPECT_EQ(started, s.startedAfter);
        EXPECT_EQ(stopped, s.stoppedAfter);
    }
}

struct RegistrationData : ::testing::Test {
    void SetUp() override {
        std::fill(store->ForceN.begin(), store->ForceN.end(), 7);
        std::fill(store->TimeMs.begin(), store->TimeMs.end(), 9);
        store->Count = 500;
        store->PeriodMs = 250;
        store->AreaMm2 = 40;
    }
    std::unique_ptr<TSampleStore> store = std::make_unique<TSampleStore>();
    TMeasureState state;
};

TEST_F(RegistrationData, StartRecordsFromZeroAndKeepsTheOldSamples) {
    measure::StartRegistration(1000, 0, *store);
    EXPECT_EQ(store->Count, 0);
    EXPECT_EQ(store->PeriodMs, 1000);
    EXPECT_EQ(store->AreaMm2, 0);
    EXPECT_EQ(store->ForceN[100], 7);
}

TEST_F(RegistrationData, CancelEmptiesTheStoreInThreeChunks) {
    state.MaxForce = 50;
    state.Rmax = 10;
    state.FramesSinceSample = 4;
    state.Force = 3;
    state.Rate = 2;
    state.FrameCount = 77;
    int pauses = 0;
    // Each pause comes right after entry 10000, then 20000, has been cleared.
    measure::CancelData(state, *store, [&] {
        const int last = 10000 * ++pauses;
        EXPECT_EQ(store->ForceN[last], 0);
        EXPECT_EQ(store->TimeMs[last], 0);
        EXPECT_EQ(store->ForceN[last + 1], 7);
        EXPECT_EQ(store->TimeMs[last + 1], 9);
    });
    EXPECT_EQ(pauses, 2);
    EXPECT_TRUE(
        std::all_of(store->ForceN.begin(), store->ForceN.end(), [](int v) { return v == 0; }));
    EXPECT_TRUE(
        std::all_of(store->TimeMs.begin(), store->TimeMs.end(), [](int v) { return v == 0; }));
    EXPECT_EQ(store->Count, 0);
    EXPECT_EQ(state.FramesSinceSample, 0);
    EXPECT_EQ(state.MaxForce, 0);
    EXPECT_EQ(state.Rmax, 0);
    // The registration's settings and the live values go on.
    EXPECT_EQ(store->PeriodMs, 250);
    EXPECT_EQ(store->AreaMm2, 40);
    EXPECT_EQ(state.Force, 3);
    EXPECT_EQ(state.Rate, 2);
    EXPECT_EQ(state.FrameCount, 77);
}

TEST_F(RegistrationData, ClearingStaysInsideTheStore) {
    measure::ClearSamples(*store, 20, 10);
    EXPECT_EQ(store->ForceN[15], 7);
    measure::ClearSamples(*store, -5, kStoreCapacity + 5);
    EXPECT_EQ(store->ForceN.front(), 0);
    EXPECT_EQ(store->TimeMs.back(), 0);
}

TEST_F(RegistrationData, RegistrationCancelledWhileRunningGoesOnFromTimeZero) {
    TDeviceFrame frame;
    frame.Bytes[frame::kKindOffset] = frame::kMeasurement;
    frame.Length = 10;
    const QDateTime now(QDate(2024, 3, 5), QTime(10, 0));
    measure::CancelData(state, *store, [] {});
    state.FramesSinceSample = 1;
    const measure::TFrameOutcome out = measure::ProcessFrame(frame, 100, true, now, state, *store);
    EXPECT_TRUE(out.SampleStored);
    EXPECT_EQ(out.TimeS, 0.0);
    EXPECT_EQ(store->Count, 1);
}

TEST(ControlEnabling, EachActionSetsItsRowOfTheTable) {
    struct Row {
        const char* action;
        TControlStates actual;
        TControlStates expected;
    };
    // Columns: btProtocol, btSaveTest, btOpenTest, btToExel, menu N2, pnInfo shown.
    constexpr std::nullopt_t keep = std::nullopt;
    const Row rows[] = {
        {"Start", measure::ControlsOnStart(), {false, false, false, false, false, keep}},
        {"Stop, 2 samples", measure::ControlsOnStop(2), {keep, keep, keep, keep, keep, keep}},
        {"Stop, 3 samples", measure::ControlsOnStop(3), {keep, true, keep, keep, keep, keep}},
        {"Cancel", measure::ControlsOnCancel(false), {false, false, true, false, true, false}},
        {"Cancel while registering",
         measure::ControlsOnCancel(true),
         {false, false, false, false, false, false}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.actual, r.expected) << r.action;
    }
}

}  // namespace
