// A serial port held for exclusive use, with its line settings in the terms of the Windows
// device-control block that the channel works with.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform {

// Parity schemes (DCB Parity).
constexpr uint8_t kNoParity = 0;
constexpr uint8_t kOddParity = 1;
constexpr uint8_t kEvenParity = 2;
constexpr uint8_t kMarkParity = 3;
constexpr uint8_t kSpaceParity = 4;

// Stop bits (DCB StopBits).
constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kTwoStopBits = 2;

// DTR and RTS line control (DCB fDtrControl, fRtsControl).
constexpr uint8_t kLineDisable = 0;
constexpr uint8_t kLineEnable = 1;

// The line settings of a port. The named fields are those the channel sets; Settings carries the
// port's complete terminal settings, so writing back a record read earlier restores the port
// exactly. Fields that have no counterpart on this system read as false and must stay false.
struct TDcb {
    uint32_t BaudRate = 0;  // 0: keep the speed held in Settings
    uint8_t ByteSize = 8;
    uint8_t Parity = kNoParity;
    uint8_t StopBits = kOneStopBit;
    bool fBinary = false;  // raw bytes in both directions, receiver on, carrier ignored
    bool fParity = false;  // parity checking of received bytes
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;  // no counterpart
    uint8_t fDtrControl = kLineDisable;
    bool fDsrSensitivity = false;    // no counterpart
    bool fTXContinueOnXoff = false;  // no counterpart
    bool fOutX = false;              // XON/XOFF on output
    bool fInX = false;               // XON/XOFF on input
    bool fErrorChar = false;         // no counterpart
    bool fNull = false;              // no counterpart
    uint8_t fRtsControl = kLineDisable;
    termios Settings{};
};

// The port's time-outs (COMMTIMEOUTS), in milliseconds. Only ReadTotalTimeoutConstant acts here:
// it bounds how long a read waits for a first byte; nothing is ever written.
struct TCommTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device for reading and writing, for this holder alone: a port that another
    // holder (any process, any user) has open is refused. Closes a port held before. Never
    // waits: neither for a modem line nor for the other end of a FIFO.
    bool Open(const std::string& device);
    // Leaves the line settings as they are.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // Whether the open device is a terminal, the only kind of device that is a serial line.
    bool IsTerminal() const;
    // The open device's number: the same for every name of the device (a link in
    // /dev/serial/by-id or /dev/ttyUSB0); none when no port is open.
    std::optional<dev_t> Device() const;
    // Whether the line has gone from under its holder: hung up (a USB adapter pulled, the far
    // end of a pseudo-terminal closed) or failing its reads. Such a port never carries a byte
    // again; only opening the device anew, once it is back, does. False when no port is open.
    bool Failed() const;

    bool GetCommState(TDcb& dcb) const;
    // Applies the record and reports whether the port took every setting.
    bool SetCommState(const TDcb& dcb);

    TCommTimeouts GetCommTimeouts() const { return timeouts_; }
    void SetCommTimeouts(const TCommTimeouts& timeouts) { timeouts_ = timeouts; }

    // Discards everything queued in both directions.
    void Purge();
    // Bytes waiting in the input queue; 0 when the port is closed or has failed.
    uint32_t BytesQueued() const;
    // As many bytes of the input queue as fit `into` (those queued, in one read), waiting at
    // most ReadTotalTimeoutConstant ms when none is queued yet. The number read: 0 when none
    // came (nothing queued, the port failed or hung up).
    size_t Read(std::span<uint8_t> into);

  private:
    int fd_ = -1;
    bool readFailed_ = false;  // a read found the line hung up or failing
    TCommTimeouts timeouts_{};
};

}  // namespace platform
