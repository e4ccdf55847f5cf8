#include "frame_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ve17sim {
namespace {

TEST(SimFrameEncoder, MeasurementFrameIsTwentyBytesWithCodeLowByteFirst) {
    const std::vector<uint8_t> expected = {
        0x77, 0x34, 0x12, 0x20, 0x0C, 0x00, 0x00, 0x0A, 0xCD, 0xAB, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(EncodeMeasurement(0x1234, 0xABCD), expected);
}

TEST(SimFrameEncoder, LengthIsLittleEndianAndHeaderEndsWithLineFeed) {
    const std::vector<uint8_t> payload(0x0123, 0x77);
    const std::vector<uint8_t> frame = EncodeFrame(7, 'p', payload);
    ASSERT_EQ(frame.size(), 8u + 0x0123);
    EXPECT_EQ(frame[3], 'p');
    EXPECT_EQ(frame[4], 0x23);
    EXPECT_EQ(frame[5], 0x01);
    EXPECT_EQ(frame[7], 0x0A);
    EXPECT_EQ(frame.back(), 0x77);
}

TEST(SimFrameEncoder, HeaderAnnouncesLengthWithoutPayload) {
    const std::vector<uint8_t> expected = {0x77, 0x02, 0x00, 0x20, 0xF9, 0x03, 0x00, 0x0A};
    EXPECT_EQ(EncodeHeader(2, ' ', 1017), expected);
}

TEST(SimFrameEncoder, ForceToCode) {
    struct Case {
        double kn;
        double scale;
        uint16_t code;
    };
    const Case cases[] = {
        {100, 100, 52428},   // full scale
        {50, 100, 26214},    // half scale
        {5, 100, 2621},      // 2621.4 rounds down
        {0.005, 100, 3},     // 2.62 rounds up
        {125, 100, 65535},   // 1.25 x full scale is the top code
        {130, 100, 65535},   // overload stays at the top
        {-3, 100, 0},        // a negative load reads 0
        {NAN, 100, 0},       // no number, no force
        {500, 1000, 26214},  // scale enters as a divisor
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ForceToCode(c.kn, c.scale), c.code) << c.kn << " kN at " << c.scale;
    }
}

}  // namespace
}  // namespace ve17sim
