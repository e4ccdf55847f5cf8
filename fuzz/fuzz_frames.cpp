// Any byte stream from the line, one byte at a time, through the frame assembler.
// The assembler must stay inside its 1024-byte buffer, and every frame it hands on must be
// exactly the PayloadLength + 8 bytes that last arrived, starting at a start marker.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "link/device_frame.h"
#include "link/frame_assembler.h"

namespace {

void Check(bool condition, const char* what, size_t at) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_frames: %s (input byte %zu)\n", what, at);
        std::abort();
    }
}

// A finished frame, which starts at or after input byte 0: the last `length` input bytes, a start
// marker first and, when its header ends in a line feed, the length that header announces.
void CheckFrame(const TFrameAssembler& rx, const uint8_t* data, size_t at) {
    const uint32_t length = rx.PayloadLength + frame::kHeaderSize;
    Check(length <= TFrameAssembler::kBufferSize, "frame longer than the buffer", at);
    Check(std::memcmp(rx.RxBuffer.data(), data + at + 1 - length, length) == 0,
          "frame differs from the bytes received", at);
    Check(rx.RxBuffer[0] == frame::kStartMarker, "frame without a start marker", at);
    const auto& b = rx.RxBuffer;
    if (b[frame::kHeaderSize - 1] == frame::kTerminator) {
        const uint32_t announced = b[frame::kLengthOffset] + 256u * b[frame::kLengthOffset + 1];
        Check(announced + frame::kHeaderSize == length, "frame length differs from its header", at);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFrameAssembler rx;
    size_t start = 0;  // input position of the start marker being assembled
    for (size_t at = 0; at < size; ++at) {
        if (rx.RxIndex == 0) {
            start = at;
        }
        const bool complete = rx.Feed(data[at]);
        Check(rx.PayloadLength <= TFrameAssembler::kMaxPayload, "payload length beyond the buffer",
              at);
        // A frame is handed on as soon as it is whole, so the assembler never holds more.
        Check(rx.RxIndex < rx.PayloadLength + frame::kHeaderSize, "frame held past its end", at);
        Check(rx.RxIndex < TFrameAssembler::kBufferSize, "index beyond the buffer", at);
        if (complete) {
            Check(rx.RxIndex == 0, "assembly not restarted after a frame", at);
            Check(at + 1 - start == rx.PayloadLength + frame::kHeaderSize,
                  "frame does not start at its start marker", at);
            CheckFrame(rx, data, at);
        } else if (rx.RxIndex > 0) {
            Check(rx.RxBuffer[0] == frame::kStartMarker, "assembling without a start marker", at);
            Check(rx.RxIndex == at + 1 - start, "bytes skipped inside a frame", at);
        }
    }
    return 0;
}
