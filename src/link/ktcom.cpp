#include "link/ktcom.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>

#include "link/port_device.h"

TKTCOM* KTCOM = nullptr;

namespace {

constexpr unsigned long kApplyPauseMs = 200;
constexpr unsigned long kSetPauseMs = 100;
constexpr unsigned long kStopPollMs = 10;
// The receiver ends within one idle cycle; this only bounds a receiver that never does.
constexpr qint64 kStopLimitMs = 5000;

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

// A one-byte read returns what is queued and waits at most 1 ms otherwise.
constexpr platform::TCommTimeouts kUnitTimeouts{0, 0, 1, 0, 0};

}  // namespace

TKTCOM::TKTCOM(TFrameSink& sink, QObject* parent) : QObject(parent), sink_(sink) {
    Thread = new TCOMport(this);
    Thread->SetOwner(this);
    Thread->start();
    ReceiveRequested = false;
    ApplyReceiving();
    StatusText = QStringLiteral(" COM-port has NO Errors ");
}

TKTCOM::~TKTCOM() {
    ReceiveRequested = false;
    // The receiver may be waiting for a hand-over that only this thread can run, the
    // SyncReceiving that clears its run flag among them.
    while (Thread->Active()) {
        QThread::msleep(kStopPollMs);
        QCoreApplication::processEvents();
    }
    StopThread();
    if (Opened && Port.IsOpen()) {
        std::lock_guard lock(portMutex_);
        Port.SetCommState(SavedDcb);
        Port.Close();
        Opened = false;
    }
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
    Opened = false;
    ApplyReceiving();
    if (!OpenPort(portName)) {
        return false;
    }
    Opened = true;
    ApplyReceiving();
    return true;
}

// Closes a port held before, then opens and configures the named one.
bool TKTCOM::OpenPort(const QString& portName) {
    std::lock_guard lock(portMutex_);
    Port.Close();
    if (!Port.Open(DeviceForPort(portName.toStdString()))) {
        StatusText = "  Внимание: ошибка при попытке открыть порт связи " + portName + "   ";
        return false;
    }
    Port.Purge();
    Port.GetCommState(Dcb);
    SavedDcb = Dcb;
    SetUnitLine(Dcb);
    if (!Port.SetCommState(Dcb)) {
        // The port stays held until the next Open or the end of the program.
        StatusText = QStringLiteral(" Внимание: ошибка при конфигурировании COM-порта ! ");
        return false;
    }
    Timeouts = kUnitTimeouts;
    Port.SetCommTimeouts(Timeouts);
    // The driver's queues are the kernel's own 4096 bytes each, the size the unit's stream needs.
    return true;
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

bool TKTCOM::PortReadByte(uint8_t& byte) {
    std::lock_guard lock(portMutex_);
    return Port.ReadByte(byte);
}
