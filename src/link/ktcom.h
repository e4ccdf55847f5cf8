// The one channel to the measuring unit: the serial port, its line settings, the receiver
// thread and the last frame received.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <mutex>

#include "link/comport.h"
#include "link/device_frame.h"
#include "link/frame_sink.h"
#include "link/receiver_owner.h"
#include "platform/serial_port.h"

class QTimer;

class TKTCOM : public QObject, private TReceiverOwner {
    Q_OBJECT
  public:
    // Starts the receiver idle. The sink (the main window) gets every frame and every end of
    // a receive cycle, on the UI thread.
    explicit TKTCOM(TFrameSink& sink, QObject* parent = nullptr);
    // Waits for the receiver to go idle, stops it, restores the port's original line settings
    // and closes the port.
    ~TKTCOM() override;

    // Opens the named port ("COM1".."COM3") at 57600 baud, 8 data bits, 1 stop bit, no parity, no
    // flow control; a port held before gets its original settings back and is closed first.
    // Only a terminal is a port. True on success; otherwise StatusText tells why.
    bool Open(const QString& portName);
    // Switches reception on or off; whether the receiver's run flag now equals the request.
    bool SetReceiving(bool on);
    QString GetStatusText() const;
    // Copies the request into the receiver's run flag.
    void SyncReceiving() override;

    TCOMport* Thread = nullptr;
    QString StatusText;
    platform::TDcb Dcb;
    platform::TDcb SavedDcb;
    platform::SerialPort Port;  // the port handle: closed when none is held
    platform::TCommTimeouts Timeouts;
    bool Opened = false;
    bool ReceiveRequested = false;
    TDeviceFrame Frame;

  signals:
    // The open port hung up or failed under the program (ok false): it is closed, and while
    // reception is wanted the device of the same port name is tried again once a second until
    // it opens (ok true) or the next Open. Each change is told once.
    void PortStateChanged(const QString& portName, bool ok);

  private:
    // The receiver's access to the port; safe while the UI thread re-opens it.
    uint32_t PortBytesQueued() override;
    size_t PortRead(std::span<uint8_t> into) override;
    bool PortClosedSinceRead() override;
    bool PortFailed() override;
    // Hand-overs from the receiver, run on the UI thread while it waits.
    void FrameReceived(std::span<const uint8_t> frame) override;
    void PortLost() override;
    void CycleDone() override;

    void ApplyReceiving();
    bool OpenPort(const QString& portName);
    void LeavePort();
    void RetryLostPort();
    void StopThread();

    TFrameSink& sink_;
    QString portName_;      // the port of the last successful Open: the one tried again when lost
    QTimer* retryTimer_;    // runs while a lost port is tried again
    std::mutex portMutex_;  // the receiver never reads a port that is being closed
    // Under portMutex_: the port's closings so far, and their number at the receiver's last read.
    uint32_t portClosings_ = 0;
    uint32_t closingsAtRead_ = 0;
    // Each device's line settings as the program first found them, by device number: what
    // leaving it restores, however often it was opened, left or lost since.
    std::map<dev_t, platform::TDcb> originals_;
};

// The application's one channel, set by the main window.
extern TKTCOM* KTCOM;
