#include "link/comport.h"

#include <algorithm>

#include "link/device_frame.h"

#if defined(__SANITIZE_THREAD__)
#define VE17_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VE17_TSAN 1
#endif
#endif

#if defined(VE17_TSAN)
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace {
constexpr unsigned long kReceivePauseMs = 50;
constexpr unsigned long kIdlePauseMs = 20;
// Empty receive cycles after which a partly assembled frame is given up.
constexpr uint32_t kSilentCyclesToDrop = 10;

// In a thread-checked build, the stretch in which the receiver is inside Qt, posting a call to
// the UI thread and waiting for it, is left out of the checks: Qt's event queue is guarded by
// futex-based locks the checker cannot see. The locks taken there still count; of this program's
// data only the copy of the call that Qt carries over is made there, and the UI thread reads
// nothing else of this thread's.
struct QtOnlyStretch {
#if defined(VE17_TSAN)
    QtOnlyStretch() {
        __tsan_ignore_thread_begin();
    }
    ~QtOnlyStretch() {
        __tsan_ignore_thread_end();
    }
#endif
};
}  // namespace

TCOMport::TCOMport(QObject* parent) : QThread(parent) {}

void TCOMport::Suspend() {
    std::lock_guard lock(gateMutex_);
    suspended_ = true;
}

void TCOMport::Resume() {
    {
        std::lock_guard lock(gateMutex_);
        suspended_ = false;
    }
    gateOpened_.notify_all();
}

void TCOMport::Terminate() {
    requestInterruption();
    Resume();
}

void TCOMport::run() {
    ReceiveLoop();
}

void TCOMport::ReceiveLoop() {
    while (!isInterruptionRequested()) {
        PassGate();
        if (isInterruptionRequested()) {
            break;
        }
        TReceiverOwner* owner = owner_.load();
        if (receiving_ && owner != nullptr) {
            ReceiveCycle(*owner);
        } else {
            IdleCycle();
        }
        if (!isInterruptionRequested()) {
            HandOver([](TReceiverOwner& to) { to.SyncReceiving(); });
        }
    }
    active_ = false;
}

void TCOMport::ReceiveCycle(TReceiverOwner& owner) {
    active_ = true;
    setPriority(QThread::TimeCriticalPriority);
    msleep(kReceivePauseMs);
    ++idleCycles_;
    pending_ = owner.PortBytesQueued();
    if (pending_ == 0 && idleCycles_ > kSilentCyclesToDrop) {
        idleCycles_ = 0;
        std::lock_guard lock(rxLock_);
        rx_.Drop();
    }
    // A dead port is told to the owner here, once: the cycles go on without it, bring no frame,
    // and so the watchdog runs down as for a silent unit.
    if (!DrainQueue(owner) && owner.PortFailed()) {
        HandOver([](TReceiverOwner& to) { to.PortLost(); });
    }
    HandOver([](TReceiverOwner& to) { to.CycleDone(); });
}

void TCOMport::IdleCycle() {
    active_ = false;
    setPriority(QThread::NormalPriority);
    msleep(kIdlePauseMs);
}

// The bytes queued at the start of the cycle, in one read (in pieces of the buffer's size should
// more be reported), assembled in arrival order; each complete frame is handed over before the
// next byte is assembled. A read that brings nothing gives up the rest of the count: a port that
// failed underneath yields no bytes. A port closed while a frame was handed over takes the
// bytes not yet assembled with it, as it takes those still queued. Whether any byte came.
bool TCOMport::DrainQueue(TReceiverOwner& owner) {
    bool brought = false;
    while (pending_ != 0) {
        idleCycles_ = 0;
        const size_t wanted = std::min<size_t>(pending_, readBuffer_.size());
        const size_t got = std::min(owner.PortRead(std::span(readBuffer_).first(wanted)), wanted);
        if (got == 0) {
            return brought;
        }
        brought = true;
        pending_ -= uint32_t(got);
        for (size_t i = 0; i < got; ++i) {
            if (TakeByte(readBuffer_[i]) && owner.PortClosedSinceRead()) {
                break;
            }
        }
    }
    return brought;
}

// True when the byte completed a frame, which has then been handed over.
bool TCOMport::TakeByte(uint8_t byte) {
    bool complete = false;
    {
        std::lock_guard lock(rxLock_);
        complete = rx_.Feed(byte);
    }
    if (complete) {
        HandFrameOver();
    }
    return complete;
}

// The assembler has already started over, but PayloadLength still describes the frame at the
// start of its buffer.
void TCOMport::HandFrameOver() {
    HandOver([this](TReceiverOwner& to) {
        std::lock_guard lock(rxLock_);
        to.FrameReceived(std::span(rx_.RxBuffer.data(), rx_.PayloadLength + frame::kHeaderSize));
    });
}

void TCOMport::PassGate() {
    std::unique_lock lock(gateMutex_);
    gateOpened_.wait(lock, [this] { return !suspended_; });
}

// Runs the call with the owner on the UI thread (this object's thread) and waits until it has
// returned. The call and the owner are copied into Qt's hand-over inside the stretch below, so
// the UI thread reads nothing this thread wrote outside it.
template <typename Call>
void TCOMport::HandOver(Call call) {
    PassGate();
    TReceiverOwner* owner = owner_.load();
    if (owner == nullptr) {
        return;
    }
    [[maybe_unused]] const QtOnlyStretch qtOnly;
    QMetaObject::invokeMethod(
        this, [owner, call] { call(*owner); }, Qt::BlockingQueuedConnection);
}
