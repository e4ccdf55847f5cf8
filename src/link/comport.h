// The receiver thread: reads the unit's bytes from the channel's port, assembles frames and
// hands each one, and the end of each receive cycle, to the UI thread.
#pragma once

#include <QThread>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "link/frame_assembler.h"

class TKTCOM;

class TCOMport : public QThread {
    Q_OBJECT
  public:
    explicit TCOMport(QObject* parent = nullptr);

    uint32_t Pending = 0;     // bytes still to read in this cycle
    uint32_t IdleCycles = 0;  // receive cycles in a row that found nothing queued
    // RxBuffer, RxIndex, PayloadLength. The UI thread copies a complete frame out of it during
    // the hand-over, while the receiver waits; the lock is never contended and only states that
    // order where tools can see it (Qt's blocking call keeps its own synchronisation hidden).
    TFrameAssembler Rx;
    std::mutex RxLock;

    std::atomic<bool> Receiving{false};   // run flag, written by the channel
    std::atomic<bool> Active{false};      // set while receive cycles run
    std::atomic<TKTCOM*> Owner{nullptr};  // the channel: its port and its hand-over operations

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
    void ReceiveCycle();
    void IdleCycle();
    bool TakeByte(TKTCOM* owner);
    void PassGate();
    void HandOver(const char* operation);

    std::mutex gateMutex_;
    std::condition_variable gateOpened_;
    bool suspended_ = false;
};
