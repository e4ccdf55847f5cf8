#include "link/ktcom.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

#include "link/port_device.h"

TKTCOM* KTCOM = nullptr;

namespace {

constexpr unsigned long kApplyPauseMs = 200;
constexpr unsigned long kSetPauseMs = 100;
constexpr unsigned long kStopPollMs = 10;
// The receiver ends within one idle cycle; this only bounds a receiver that never does.
constexpr qint64 kStopLimitMs = 5000;
// How often a lost port is tried again.
constexpr int kRetryMs = 1000;

// The unit's line: 57600 baud, 8 data bits, 1 stop bit, no parity checking, no flow control,
// DTR and RTS off. The parity bit itself is switched off too: a serial line here always carries
// an explicit parity setting, and the unit sends none.
void SetUnitLine(platform::TDcb& dcb) {
    dcb.BaudRate = 57600;
    dcb.ByteSize = 8;
    dcb.Parity = platform::kNoParity;
    dcb.StopBits = platform::kOneStopBit;
    dcb.fBinary = true;
    dcb.fParity = false;
    dcb.fOutxCtsFlow = false;
    dcb.fOutxDsrFlow = false;
    dcb.fDtrControl = platform::kLineDisable;
    dcb.fDsrSensitivity = false;
    dcb.fTXContinueOnXoff = false;
    dcb.fOutX = false;
    dcb.fInX = false;
    dcb.fErrorChar = false;
    dcb.fNull = false;
    dcb.fRtsControl = platform::kLineDisable;
}

// A read returns what is queued and waits at most 1 ms for a first byte otherwise.
constexpr platform::TCommTimeouts kUnitTimeouts{0, 0, 1, 0, 0};

}  // namespace

TKTCOM::TKTCOM(TFrameSink& sink, QObject* parent)
    : QObject(parent), sink_(sink), retryTimer_(new QTimer(this)) {
    retryTimer_->setInterval(kRetryMs);
    connect(retryTimer_, &QTimer::timeout, this, &TKTCOM::RetryLostPort);
    Thread = new TCOMport(this);
    Thread->SetOwner(this);
    Thread->start();
    ReceiveRequested = false;
    ApplyReceiving();
    StatusText = QStringLiteral(" COM-port has NO Errors ");
}

TKTCOM::~TKTCOM() {
    ReceiveRequested = false;  // also ends the trying again of a lost port
    retryTimer_->stop();
    // The receiver may be waiting for a hand-over that only this thread can run, the
    // SyncReceiving that clears its run flag among them.
    while (Thread->Active()) {
        QThread::msleep(kStopPollMs);
        QCoreApplication::processEvents();
    }
    StopThread();
    std::lock_guard lock(portMutex_);
    LeavePort();
    Opened = false;
}

void TKTCOM::StopThread() {
    Thread->Terminate();
    Thread->SetOwner(nullptr);
    QElapsedTimer waited;
    waited.start();
    // A hand-over posted just before the terminate flag was set still has to run.
    while (!Thread->wait(kStopPollMs)) {
        QCoreApplication::processEvents();
        if (waited.hasExpired(kStopLimitMs)) {
            Thread->setParent(nullptr);  // left to the end of the program rather than hang
            return;
        }
    }
}

void TKTCOM::ApplyReceiving() {
    Thread->Suspend();
    QThread::msleep(kApplyPauseMs);
    Thread->SetReceiving(Opened && ReceiveRequested);
    QThread::msleep(kApplyPauseMs);
    Thread->Resume();
}

bool TKTCOM::SetReceiving(bool on) {
    ReceiveRequested = on;
    SyncReceiving();
    QThread::msleep(kSetPauseMs);
    return Thread->Receiving() == on;
}

QString TKTCOM::GetStatusText() const {
    return StatusText;
}

void TKTCOM::SyncReceiving() {
    Thread->SetReceiving(ReceiveRequested);
}

bool TKTCOM::Open(const QString& portName) {
    retryTimer_->stop();  // the operator's choice ends the trying again of a lost port
    Opened = false;
    ApplyReceiving();
    {
        std::lock_guard lock(portMutex_);
        if (!OpenPort(portName)) {
            return false;
        }
    }
    portName_ = portName;
    Opened = true;
    ApplyReceiving();
    return true;
}

// Under portMutex_: leaves a port held before, then opens and configures the named one. The
// receiver sees the new port only once it is configured (or given up).
bool TKTCOM::OpenPort(const QString& portName) {
    LeavePort();
    // Only a terminal is a serial line: a plain file, a FIFO or /dev/null is no port.
    if (!Port.Open(DeviceForPort(portName.toStdString())) || !Port.IsTerminal()) {
        Port.Close();
        StatusText = "  Внимание: ошибка при попытке открыть порт связи " + portName + "   ";
        return false;
    }
    Port.Purge();
    const std::optional<dev_t> device = Port.Device();
    const bool readable = device && Port.GetCommState(Dcb);
    if (readable) {
        SavedDcb = originals_.try_emplace(*device, Dcb).first->second;
        SetUnitLine(Dcb);
    }
    if (!readable || !Port.SetCommState(Dcb)) {
        // The port stays held until the next Open or the end of the program.
        StatusText = QStringLiteral(" Внимание: ошибка при конфигурировании COM-порта ! ");
        return false;
    }
    Timeouts = kUnitTimeouts;
    Port.SetCommTimeouts(Timeouts);
    // The driver's queues are the kernel's own 4096 bytes each, the size the unit's stream needs.
    return true;
}

// Under portMutex_: gives the held port its original settings back and closes it. A port that
// has failed takes no settings; it is closed all the same.
void TKTCOM::LeavePort() {
    if (!Port.IsOpen()) {
        return;
    }
    if (const std::optional<dev_t> device = Port.Device()) {
        if (const auto original = originals_.find(*device); original != originals_.end()) {
            Port.SetCommState(original->second);
        }
    }
    Port.Close();
    ++portClosings_;
}

void TKTCOM::PortLost() {
    {
        std::lock_guard lock(portMutex_);
        // The operator may have opened another port since the receiver found this one failed.
        if (!Opened || !Port.Failed()) {
            return;
        }
        LeavePort();
    }
    Opened = false;
    if (ReceiveRequested) {
        retryTimer_->start();
    }
    emit PortStateChanged(portName_, false);
}

// A probe while the device is away costs this thread a read of the INI and an open that fails at
// once: none of Open's pauses, since the receiver never reads a port while this holds it. The
// device is looked up anew each time: a mapped name may point at a new device node by now.
void TKTCOM::RetryLostPort() {
    if (!ReceiveRequested) {
        retryTimer_->stop();
        return;
    }
    {
        std::lock_guard lock(portMutex_);
        if (!OpenPort(portName_)) {
            LeavePort();  // a device that is back but refuses the settings is tried again
            return;
        }
    }
    retryTimer_->stop();
    Opened = true;
    emit PortStateChanged(portName_, true);
}

void TKTCOM::FrameReceived(std::span<const uint8_t> frame) {
    const std::size_t length = std::min(frame.size(), Frame.Bytes.size());
    std::copy_n(frame.begin(), length, Frame.Bytes.begin());
    Frame.Length = static_cast<uint16_t>(length);
    sink_.ProcessFrame();
}

void TKTCOM::CycleDone() {
    sink_.WatchdogTick();
}

uint32_t TKTCOM::PortBytesQueued() {
    std::lock_guard lock(portMutex_);
    return Port.BytesQueued();
}

size_t TKTCOM::PortRead(std::span<uint8_t> into) {
    std::lock_guard lock(portMutex_);
    closingsAtRead_ = portClosings_;
    return Port.Read(into);
}

bool TKTCOM::PortClosedSinceRead() {
    std::lock_guard lock(portMutex_);
    return portClosings_ != closingsAtRead_;
}

bool TKTCOM::PortFailed() {
    std::lock_guard lock(portMutex_);
    return Port.Failed();
}
