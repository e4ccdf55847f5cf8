// The one channel to the measuring unit: the serial port, its line settings, the receiver
// thread and the last frame received.
#pragma once

#include <QObject>
#include <QString>
#include <mutex>

#include "link/comport.h"
#include "link/device_frame.h"
#include "link/frame_sink.h"
#include "link/receiver_owner.h"
#include "platform/serial_port.h"

class TKTCOM : public QObject, private TReceiverOwner {
    Q_OBJECT
  public:
    // Starts the receiver idle. The sink (the main window) gets every frame and every end of
    // a receive cycle, on the UI thread.
    explicit TKTCOM(TFrameSink& sink, QObject* parent = nullptr);
    // Waits for the receiver to go idle, stops it, restores the port's earlier line settings and
    // closes the port.
    ~TKTCOM() override;

    // Opens the named port ("COM1".."COM3") at 57600 baud, 8 data bits, 1 stop bit, no parity, no
    // flow control. True on success; otherwise StatusText tells why.
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

  private:
    // The receiver's access to the port; safe while the UI thread re-opens it.
    uint32_t PortBytesQueued() override;
    bool PortReadByte(uint8_t& byte) override;
    // Hand-overs from the receiver, run on the UI thread while it waits.
    void FrameReceived(std::span<const uint8_t> frame) override;
    void CycleDone() override;

    void ApplyReceiving();
    bool OpenPort(const QString& portName);
    void StopThread();

    TFrameSink& sink_;
    std::mutex portMutex_;  // the receiver never reads a port that is being closed
};

// The application's one channel, set by the main window.
extern TKTCOM* KTCOM;
