// What the receiver thread needs of the channel that owns it. The port calls run on the receiver
// thread; the hand-overs run on the UI thread while the receiver waits for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class TReceiverOwner {
  public:
    virtual ~TReceiverOwner() = default;

    // Receiver thread: the number of bytes waiting in the port's input queue, and as many of
    // them as fit `into`, in arrival order; the number read, 0 when none came.
    virtual uint32_t PortBytesQueued() = 0;
    virtual size_t PortRead(std::span<uint8_t> into) = 0;
    // Receiver thread: whether the port the last read came from has been closed since (the
    // channel opened a port again); the bytes of that read not yet assembled went with it, as
    // those still queued did.
    virtual bool PortClosedSinceRead() = 0;
    // Receiver thread, after a receive cycle that brought no byte: whether the port has hung up
    // or failed underneath (an adapter pulled), so that it will never bring one again.
    virtual bool PortFailed() = 0;

    // UI thread, one call per complete frame in arrival order: the frame's bytes, header included.
    virtual void FrameReceived(std::span<const uint8_t> frame) = 0;
    // UI thread, after a cycle that found the port failed and before that cycle's end: the owner
    // lets the port go, so the next cycle finds no failed port to report again.
    virtual void PortLost() = 0;
    // UI thread, once at the end of every receive cycle.
    virtual void CycleDone() = 0;
    // UI thread, at the end of every cycle: the receiver's run flag follows the request.
    virtual void SyncReceiving() = 0;
};
