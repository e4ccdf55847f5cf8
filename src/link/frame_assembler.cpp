#include "link/frame_assembler.h"

#include "link/device_frame.h"

bool TFrameAssembler::Feed(uint8_t byte) {
    // A frame can never outgrow the buffer (see below); this keeps the write inside it even if
    // the fields were set by hand.
    if (RxIndex >= kBufferSize) {
        RxIndex = 0;
    }
    RxBuffer[RxIndex] = byte;
    // Until a start marker is held each byte is tried as one; after it every byte belongs to
    // the frame, a 0x77 in the payload included.
    if (RxBuffer[0] == frame::kStartMarker) {
        ++RxIndex;
    } else {
        RxIndex = 0;
    }
    if (RxIndex == frame::kHeaderSize && RxBuffer[frame::kHeaderSize - 1] == frame::kTerminator) {
        const uint32_t length =
            RxBuffer[frame::kLengthOffset] + 256u * RxBuffer[frame::kLengthOffset + 1];
        if (length > kMaxPayload) {
            // Cannot be held: drop the header and look for the next start marker.
            RxIndex = 0;
            return false;
        }
        PayloadLength = length;
    }
    if (PayloadLength + frame::kHeaderSize == RxIndex) {
        RxIndex = 0;
        return true;
    }
    return false;
}
