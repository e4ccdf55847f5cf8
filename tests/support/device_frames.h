// Frames of the measuring unit as a test builds them: on the wire, and in the channel's record.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/device_frame.h"

using TBytes = std::vector<uint8_t>;

// A header announcing `length` payload bytes and ending in `terminator`, then `payload`. The
// bytes the recorder does not interpret (1, 2 and 6) are not zero, so that nothing relies on them.
inline TBytes WireFrame(uint8_t kind, uint16_t length, const TBytes& payload,
                        uint8_t terminator = frame::kTerminator) {
    TBytes bytes = {frame::kStartMarker,  0x11, 0x22,      kind, uint8_t(length & 0xFF),
                    uint8_t(length >> 8), 0x33, terminator};
    // One byte at a time: GCC 12 warns wrongly about inserting an empty payload at the end.
    for (const uint8_t byte : payload) {
        bytes.push_back(byte);
    }
    return bytes;
}

inline TBytes WireFrame(uint8_t kind, const TBytes& payload) {
    return WireFrame(kind, uint16_t(payload.size()), payload);
}

inline TBytes Join(std::initializer_list<TBytes> parts) {
    TBytes all;
    for (const TBytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The channel's frame record holding a frame of that kind whose payload begins with the force
// code, `length` bytes long (header included).
inline TDeviceFrame DeviceFrame(char kind, uint16_t code,
                                uint16_t length = frame::kHeaderSize + 2) {
    TDeviceFrame frame;
    frame.Bytes[0] = frame::kStartMarker;
    frame.Bytes[frame::kKindOffset] = static_cast<uint8_t>(kind);
    frame.Bytes[frame::kLengthOffset] = static_cast<uint8_t>(length - frame::kHeaderSize);
    frame.Bytes[frame::kHeaderSize - 1] = frame::kTerminator;
    frame.Bytes[frame::kHeaderSize] = static_cast<uint8_t>(code & 0xFF);
    frame.Bytes[frame::kHeaderSize + 1] = static_cast<uint8_t>(code >> 8);
    frame.Length = length;
    return frame;
}
