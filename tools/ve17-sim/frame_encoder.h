// The unit's frames as bytes on the line: an 8-byte header, then the payload.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ve17sim {

constexpr uint8_t kStartMarker = 0x77;
constexpr uint8_t kHeaderEnd = 0x0A;
constexpr uint8_t kMeasurementKind = ' ';
constexpr uint8_t kResetKind = 'p';
constexpr int kHeaderSize = 8;
constexpr int kMeasurementPayload = 12;
constexpr int kMeasurementFrameSize = kHeaderSize + kMeasurementPayload;
// The longest payload the recorder can assemble; headers announcing more are faults.
constexpr int kLongestPayload = 1016;
// The code of the channel's full scale; codes run to 65535 = 1.25 x full scale.
constexpr uint16_t kFullScaleCode = 52428;

// Header only: marker, tag (not interpreted by the recorder, little-endian), kind,
// announced payload length (little-endian), a spare byte, terminator.
std::vector<uint8_t> EncodeHeader(uint16_t tag, uint8_t kind, uint16_t announcedLength);

// A whole frame; the header announces payload.size(), which must not exceed 65535.
std::vector<uint8_t> EncodeFrame(uint16_t tag, uint8_t kind, std::span<const uint8_t> payload);

// A 20-byte measurement frame carrying the force code in its first two payload bytes.
std::vector<uint8_t> EncodeMeasurement(uint16_t tag, uint16_t forceCode);

// kN to the unit's code: round(kN / scale x 52428), held to 0..65535 (NaN gives 0).
uint16_t ForceToCode(double kn, double scaleKn);

}  // namespace ve17sim
