// The receiver thread: reads the unit's bytes from its owner's port, assembles frames and hands
// each one, and the end of each receive cycle, to the UI thread.
#pragma once

#include <QThread>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "link/frame_assembler.h"
#include "link/receiver_owner.h"

class TCOMport : public QThread {
    Q_OBJECT
  public:
    // Created on the UI thread: the hand-overs run on the thread this object belongs to.
    explicit TCOMport(QObject* parent = nullptr);

    // The owner is set right after creation and cleared when the channel stops the thread.
    void SetOwner(TReceiverOwner* owner) { owner_ = owner; }

    // Run flag: receive cycles run while it is set. Written by the channel only.
    void SetReceiving(bool on) { receiving_ = on; }
    bool Receiving() const { return receiving_; }
    // Set while receive cycles run; the channel waits for it to clear before stopping.
    bool Active() const { return active_; }

    // While suspended the receiver waits at its gate, which it passes at the top of every
    // cycle and before every hand-over. Neither call waits for the receiver.
    void Suspend();
    void Resume();
    // Sets the terminate flag and opens the gate: the body ends within one cycle.
    void Terminate();

  protected:
    void run() override;

  private:
    void ReceiveLoop();
    void ReceiveCycle(TReceiverOwner& owner);
    void IdleCycle();
    bool DrainQueue(TReceiverOwner& owner);
    bool TakeByte(uint8_t byte);
    void PassGate();
    void HandFrameOver();
    template <typename Call>
    void HandOver(Call call);

    uint32_t pending_ = 0;     // bytes still to read in this cycle
    uint32_t idleCycles_ = 0;  // receive cycles in a row that found nothing queued
    // The bytes of one read; the driver's input queue holds no more than this.
    std::array<uint8_t, 4096> readBuffer_{};
    // The frame being assembled. The UI thread reads a complete frame out of it during the
    // hand-over, while the receiver waits; the lock is never contended and only states that
    // order where tools can see it (Qt's blocking call keeps its own synchronisation hidden).
    TFrameAssembler rx_;
    std::mutex rxLock_;

    std::atomic<bool> receiving_{false};
    std::atomic<bool> active_{false};
    std::atomic<TReceiverOwner*> owner_{nullptr};

    std::mutex gateMutex_;
    std::condition_variable gateOpened_;
    bool suspended_ = false;
};
