// The last complete frame from the measuring unit, exactly as received.
#pragma once

#include <array>
#include <cstdint>

struct TDeviceFrame {
    std::array<uint8_t, 4096> Bytes{};  // header at 0..7, payload from 8
    uint16_t Length = 0;                // payload length + 8
};

// Frame layout on the wire.
namespace frame {
constexpr uint8_t kStartMarker = 0x77;
constexpr uint8_t kTerminator = 0x0A;
constexpr int kHeaderSize = 8;
constexpr int kKindOffset = 3;
constexpr int kLengthOffset = 4;  // 16 bits, low byte first
constexpr uint8_t kMeasurement = ' ';
constexpr uint8_t kReset = 'p';
}  // namespace frame
