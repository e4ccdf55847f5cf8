#include "frame_encoder.h"

#include <cmath>
#include <stdexcept>

namespace ve17sim {

std::vector<uint8_t> EncodeHeader(uint16_t tag, uint8_t kind, uint16_t announcedLength) {
    return {kStartMarker,
            static_cast<uint8_t>(tag & 0xFF),
            static_cast<uint8_t>(tag >> 8),
            kind,
            static_cast<uint8_t>(announcedLength & 0xFF),
            static_cast<uint8_t>(announcedLength >> 8),
            0,
            kHeaderEnd};
}

std::vector<uint8_t> EncodeFrame(uint16_t tag, uint8_t kind, std::span<const uint8_t> payload) {
    if (payload.size() > 0xFFFF) {
        throw std::length_error("frame payload longer than 65535 bytes");
    }
    std::vector<uint8_t> bytes = EncodeHeader(tag, kind, static_cast<uint16_t>(payload.size()));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

std::vector<uint8_t> EncodeMeasurement(uint16_t tag, uint16_t forceCode) {
    uint8_t payload[kMeasurementPayload] = {};
    payload[0] = static_cast<uint8_t>(forceCode & 0xFF);
    payload[1] = static_cast<uint8_t>(forceCode >> 8);
    return EncodeFrame(tag, kMeasurementKind, payload);
}

uint16_t ForceToCode(double kn, double scaleKn) {
    const double code = std::round(kn / scaleKn * kFullScaleCode);
    if (!(code > 0)) {
        return 0;
    }
    if (code >= 65535) {
        return 65535;
    }
    return static_cast<uint16_t>(code);
}

}  // namespace ve17sim
