// What the receiver thread needs of the channel that owns it. The port calls run on the receiver
// thread; the hand-overs run on the UI thread while the receiver waits for them.
#pragma once

#include <cstdint>
#include <span>

class TReceiverOwner {
  public:
    virtual ~TReceiverOwner() = default;

    // Receiver thread: the bytes waiting in the port's input queue, and one of them.
    virtual uint32_t PortBytesQueued() = 0;
    virtual bool PortReadByte(uint8_t& byte) = 0;

    // UI thread, one call per complete frame in arrival order: the frame's bytes, header included.
    virtual void FrameReceived(std::span<const uint8_t> frame) = 0;
    // UI thread, once at the end of every receive cycle.
    virtual void CycleDone() = 0;
    // UI thread, at the end of every cycle: the receiver's run flag follows the request.
    virtual void SyncReceiving() = 0;
};
