#include "link/comport.h"

#include "link/ktcom.h"

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
// the UI thread and waiting for it, is left out of the checks: only Qt's own code runs there, and
// Qt's event queue is guarded by futex-based locks the checker cannot see. The locks taken there
// still count, and no data of this program is touched.
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
        if (Receiving) {
            ReceiveCycle();
        } else {
            IdleCycle();
        }
        if (!isInterruptionRequested()) {
            HandOver("SyncReceiving");
        }
    }
    Active = false;
}

void TCOMport::ReceiveCycle() {
    Active = true;
    setPriority(QThread::TimeCriticalPriority);
    msleep(kReceivePauseMs);
    ++IdleCycles;
    TKTCOM* owner = Owner.load();
    Pending = owner != nullptr ? owner->PortBytesQueued() : 0;
    if (Pending == 0 && IdleCycles > kSilentCyclesToDrop) {
        IdleCycles = 0;
        std::lock_guard lock(RxLock);
        Rx.Drop();
    }
    while (Pending != 0 && TakeByte(owner)) {
        --Pending;
    }
    HandOver("CycleDone");
}

void TCOMport::IdleCycle() {
    Active = false;
    setPriority(QThread::NormalPriority);
    msleep(kIdlePauseMs);
}

// False when the port gave no byte although bytes were reported: a port that failed
// underneath yields nothing, and the rest of the cycle's count is given up.
bool TCOMport::TakeByte(TKTCOM* owner) {
    IdleCycles = 0;
    uint8_t byte = 0;
    if (!owner->PortReadByte(byte)) {
        return false;
    }
    bool complete = false;
    {
        std::lock_guard lock(RxLock);
        complete = Rx.Feed(byte);
    }
    if (complete) {
        HandOver("FrameReceived");
    }
    return true;
}

void TCOMport::PassGate() {
    std::unique_lock lock(gateMutex_);
    gateOpened_.wait(lock, [this] { return !suspended_; });
}

// Runs the channel's operation on the UI thread and waits until it has returned. The operation
// is named rather than passed as a functor, so no object of this code crosses the threads
// behind Qt's own locks, which the thread checker cannot see.
void TCOMport::HandOver(const char* operation) {
    PassGate();
    TKTCOM* owner = Owner.load();
    if (owner != nullptr) {
        [[maybe_unused]] const QtOnlyStretch qtOnly;
        QMetaObject::invokeMethod(owner, operation, Qt::BlockingQueuedConnection);
    }
}
