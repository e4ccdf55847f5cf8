#include "link/frame_assembler.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/device_frame.h"
#include "support/device_frames.h"

namespace {

using Bytes = TBytes;

std::vector<Bytes> FramesOf(TFrameAssembler& rx, const Bytes& stream) {
    std::vector<Bytes> frames;
    for (uint8_t byte : stream) {
        if (rx.Feed(byte)) {
            const auto begin = rx.RxBuffer.begin();
            frames.emplace_back(begin, begin + rx.PayloadLength + frame::kHeaderSize);
        }
    }
    return frames;
}

const Bytes kMeasurement = WireFrame(' ', {0x34, 0x12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
const Bytes kReset = WireFrame('p', {});
const Bytes kOther = WireFrame('z', {0x77, 0x0A, 0x77});
const Bytes kFiller(1100, 0x55);

struct Case {
    const char* name;
    Bytes stream;
    std::vector<Bytes> frames;
};

const Case kCases[] = {
    {"clean measurement frame", kMeasurement, {kMeasurement}},
    {"garbage before the start marker",
     Join({{0x00, 0xFF, 0x0A, 0x20, 0x0C}, kMeasurement}),
     {kMeasurement}},
    {"start marker inside the payload", kOther, {kOther}},
    {"zero-length frame", kReset, {kReset}},
    {"bad terminator before any good header",
     Join({WireFrame(' ', 12, {}, 0x0D), kReset}),
     {WireFrame(' ', 12, {}, 0x0D), kReset}},
    {"bad terminator after a good header of length 3",
     Join({kOther, WireFrame(' ', 12, {9, 8, 7, 6}, 0x0D)}),
     {kOther, WireFrame(' ', 12, {9, 8, 7}, 0x0D)}},
    {"several frames in one stream",
     Join({kMeasurement, kReset, kOther, kMeasurement}),
     {kMeasurement, kReset, kOther, kMeasurement}},
    {"longest payload that fits",
     WireFrame(' ', 1016, Bytes(1016, 0x55)),
     {WireFrame(' ', 1016, Bytes(1016, 0x55))}},
    {"over-long header dropped, next frame found",
     Join({WireFrame(' ', 1017, kFiller), kMeasurement}),
     {kMeasurement}},
    {"largest announced length dropped", Join({WireFrame(' ', 0xFFFF, kFiller), kReset}), {kReset}},
};

TEST(FrameAssembler, Table) {
    for (const Case& c : kCases) {
        TFrameAssembler rx;
        EXPECT_EQ(FramesOf(rx, c.stream), c.frames) << c.name;
        EXPECT_EQ(rx.RxIndex, 0u) << c.name;
    }
}

TEST(FrameAssembler, MeasurementFrameCarriesKindAndForceCode) {
    TFrameAssembler rx;
    const std::vector<Bytes> frames = FramesOf(rx, kMeasurement);
    ASSERT_EQ(frames.size(), 1u);
    ASSERT_EQ(frames[0].size(), 20u);
    EXPECT_EQ(frames[0][frame::kKindOffset], frame::kMeasurement);
    EXPECT_EQ(frames[0][8] + 256 * frames[0][9], 0x1234);
}

TEST(FrameAssembler, DropStartsOverAndTheRestIsHuntedThrough) {
    TFrameAssembler rx;
    const Bytes firstHalf(kMeasurement.begin(), kMeasurement.begin() + 10);
    const Bytes secondHalf(kMeasurement.begin() + 10, kMeasurement.end());
    EXPECT_TRUE(FramesOf(rx, firstHalf).empty());
    rx.Drop();
    EXPECT_EQ(FramesOf(rx, Join({secondHalf, kReset})), std::vector<Bytes>{kReset});
}

TEST(FrameAssembler, NeverWritesPastTheBufferWhateverTheLength) {
    TFrameAssembler rx;
    rx.PayloadLength = 5000;  // out of reach of any header it accepts
    const Bytes stream = Join({WireFrame(' ', 12, {}, 0x0D), Bytes(3000, 0x01)});
    for (uint8_t byte : stream) {
        rx.Feed(byte);
        ASSERT_LE(rx.RxIndex, TFrameAssembler::kBufferSize);
    }
}

}  // namespace
