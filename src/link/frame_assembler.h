// Assembly of device frames from the byte stream, one byte at a time.
#pragma once

#include <array>
#include <cstdint>

struct TFrameAssembler {
    static constexpr uint32_t kBufferSize = 1024;
    // The longest payload that fits the buffer behind its header.
    static constexpr uint32_t kMaxPayload = kBufferSize - 8;

    std::array<uint8_t, kBufferSize> RxBuffer{};  // the frame being assembled
    uint32_t RxIndex = 0;                         // bytes assembled so far
    uint32_t PayloadLength = 0;                   // N of the last header that ended in a line feed

    // Takes the next byte from the line. True when a frame is complete: its PayloadLength + 8
    // bytes are then at the start of RxBuffer and assembly has started over.
    bool Feed(uint8_t byte);
    // Drops a partly assembled frame.
    void Drop() { RxIndex = 0; }
};
