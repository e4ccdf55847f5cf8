#include "traffic.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "frame_encoder.h"
#include "sim/frame_reader.h"

namespace ve17sim {
namespace {

using testing::FrameReader;

constexpr int kTicks = 400;

std::vector<uint8_t> Joined(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> bytes;
    for (const Chunk& c : chunks) {
        bytes.insert(bytes.end(), c.bytes.begin(), c.bytes.end());
    }
    return bytes;
}

// What a faulty line carries around each measurement frame, over many frames.
struct Stream {
    std::vector<std::vector<Chunk>> ticks;
    std::vector<uint8_t> bytes;
};

Stream Generate(const FaultSettings& faults, uint32_t seed = 1) {
    Traffic traffic(faults, seed);
    Stream s;
    for (int i = 0; i < kTicks; ++i) {
        s.ticks.push_back(traffic.Next(static_cast<uint16_t>(1000 + i)));
        const std::vector<uint8_t> joined = Joined(s.ticks.back());
        s.bytes.insert(s.bytes.end(), joined.begin(), joined.end());
    }
    return s;
}

// The measurement frame closes every tick, whole, with the tick's code.
void ExpectEveryTickEndsWithItsFrame(const Stream& s) {
    for (int i = 0; i < kTicks; ++i) {
        const std::vector<uint8_t> bytes = Joined(s.ticks[i]);
        ASSERT_GE(bytes.size(), 20u);
        const std::vector<uint8_t> frame(bytes.end() - 20, bytes.end());
        const std::vector<uint8_t> expected = EncodeMeasurement(0, static_cast<uint16_t>(1000 + i));
        EXPECT_TRUE(std::equal(frame.begin() + 3, frame.end(), expected.begin() + 3)) << i;
        EXPECT_EQ(frame[0], 0x77) << i;
    }
}

TEST(SimTraffic, CleanLineCarriesOneFramePerTickWithCountingTags) {
    const Stream s = Generate({});
    FrameReader reader;
    reader.Feed(s.bytes);
    ASSERT_EQ(reader.Frames().size(), static_cast<size_t>(kTicks));
    for (int i = 0; i < kTicks; ++i) {
        EXPECT_EQ(reader.Frames()[i].tag, i);
        EXPECT_EQ(reader.Frames()[i].Code(), 1000 + i);
    }
    EXPECT_EQ(reader.Skipped(), 0);
}

TEST(SimTraffic, SplitFramesPauseBetweenTheirTwoParts) {
    FaultSettings f;
    f.split = true;
    f.splitPauseMs = 250;
    const Stream s = Generate(f);
    std::vector<size_t> cuts;
    for (const std::vector<Chunk>& tick : s.ticks) {
        ASSERT_EQ(tick.size(), 2u);
        EXPECT_EQ(tick[0].pauseAfterMs, 250);
        EXPECT_EQ(tick[1].pauseAfterMs, 0);
        cuts.push_back(tick[0].bytes.size());
    }
    ExpectEveryTickEndsWithItsFrame(s);
    // The cut moves about, so it falls in the header as well as in the payload.
    EXPECT_EQ(*std::min_element(cuts.begin(), cuts.end()), 1u);
    EXPECT_EQ(*std::max_element(cuts.begin(), cuts.end()), 19u);
}

TEST(SimTraffic, OtherKindsAreWholeFramesAmongTheMeasurements) {
    FaultSettings f;
    f.kinds = true;
    const Stream s = Generate(f);
    FrameReader reader;
    reader.Feed(s.bytes);
    EXPECT_EQ(reader.Skipped(), 0);
    int resets = 0, others = 0, measurements = 0;
    for (const auto& frame : reader.Frames()) {
        if (frame.kind == ' ') {
            EXPECT_EQ(frame.Code(), 1000 + measurements++);
        } else if (frame.kind == 'p') {
            ++resets;
        } else {
            ++others;
        }
    }
    EXPECT_EQ(measurements, kTicks);
    EXPECT_GT(resets, 10);
    EXPECT_GT(others, 10);
}

TEST(SimTraffic, OverlongHeadersAreFollowedByNormalFrames) {
    FaultSettings f;
    f.overlong = true;
    const Stream s = Generate(f);
    int overlong = 0;
    for (const std::vector<Chunk>& tick : s.ticks) {
        if (tick.size() == 2) {
            const std::vector<uint8_t>& header = tick[0].bytes;
            ASSERT_EQ(header.size(), 8u);
            EXPECT_EQ(header[0], 0x77);
            EXPECT_EQ(header[7], 0x0A);
            EXPECT_GT(header[4] | header[5] << 8, 1016);
            ++overlong;
        }
    }
    EXPECT_GT(overlong, 10);
    ExpectEveryTickEndsWithItsFrame(s);
}

TEST(SimTraffic, GarbageHoldsStartMarkersAndOverlongHeadersBetweenFrames) {
    FaultSettings f;
    f.garbage = true;
    const Stream s = Generate(f);
    int markers = 0, overlong = 0;
    for (const std::vector<Chunk>& tick : s.ticks) {
        ASSERT_EQ(tick.size(), 2u);
        const std::vector<uint8_t>& garbage = tick[0].bytes;
        markers += static_cast<int>(std::count(garbage.begin(), garbage.end(), 0x77));
        for (size_t i = 0; i + 8 <= garbage.size(); ++i) {
            overlong += garbage[i] == 0x77 && garbage[i + 7] == 0x0A &&
                        (garbage[i + 4] | garbage[i + 5] << 8) > 1016;
        }
    }
    EXPECT_GT(markers, kTicks / 2);
    EXPECT_GT(overlong, 10);
    ExpectEveryTickEndsWithItsFrame(s);
}

TEST(SimTraffic, SeedMakesTheFaultsReproducible) {
    FaultSettings f;
    f.garbage = f.kinds = f.split = f.overlong = true;
    EXPECT_EQ(Generate(f, 7).bytes, Generate(f, 7).bytes);
    EXPECT_NE(Generate(f, 7).bytes, Generate(f, 8).bytes);
}

TEST(SimTraffic, TalkingFrom) {
    struct Case {
        double silenceAfter, talk, mute, t, expected;
    };
    const Case cases[] = {
        {-1, 0, 0, 100, 100},  // always talking
        {5, 0, 0, 4.9, 4.9},   // before falling silent
        {5, 0, 0, 5, -1},      // silent for good
        {-1, 3, 2, 2.5, 2.5},  // in a talking period
        {-1, 3, 2, 3.5, 5},    // muted until the next period
        {-1, 3, 2, 5.5, 5.5}, {-1, 3, 2, 9, 10},
        {7, 3, 2, 3.5, 5},   // resumes before falling silent for good
        {4, 3, 2, 3.5, -1},  // would resume after it: never again
    };
    for (const Case& c : cases) {
        FaultSettings f;
        f.silenceAfterS = c.silenceAfter;
        f.talkS = c.talk;
        f.muteS = c.mute;
        EXPECT_DOUBLE_EQ(TalkingFrom(f, c.t), c.expected)
            << c.silenceAfter << " " << c.talk << "/" << c.mute << " at " << c.t;
    }
}

}  // namespace
}  // namespace ve17sim
