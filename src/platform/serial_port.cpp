#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace platform {
namespace {

struct SpeedCode {
    uint32_t baud;
    speed_t code;
};

constexpr SpeedCode kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

// Everything that would change, add or swallow a byte on its way through the line.
constexpr tcflag_t kCookedInput = IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC;
constexpr tcflag_t kCookedLocal = ECHO | ECHONL | ICANON | ISIG | IEXTEN;
// A binary line receives and ignores the carrier, as a Windows port does.
constexpr tcflag_t kBinaryControl = CREAD | CLOCAL;

// The bits SetCommState manages; the rest of Settings is written back untouched.
constexpr tcflag_t kManagedInput = kCookedInput | INPCK | IXON | IXOFF;
constexpr tcflag_t kManagedOutput = OPOST;
constexpr tcflag_t kManagedControl =
    CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS | kBinaryControl;
constexpr tcflag_t kManagedLocal = kCookedLocal;

uint32_t BaudOf(speed_t code) {
    for (const SpeedCode& s : kSpeeds) {
        if (s.code == code) {
            return s.baud;
        }
    }
    return 0;
}

bool CodeOf(uint32_t baud, speed_t& code) {
    for (const SpeedCode& s : kSpeeds) {
        if (s.baud == baud) {
            code = s.code;
            return true;
        }
    }
    return false;
}

bool IsBinary(const termios& t) {
    return (t.c_iflag & kCookedInput) == 0 && (t.c_oflag & OPOST) == 0 &&
           (t.c_lflag & kCookedLocal) == 0 && (t.c_cflag & kBinaryControl) == kBinaryControl;
}

uint8_t ParityOf(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) {
        return kNoParity;
    }
    const bool odd = (cflag & PARODD) != 0;
    if ((cflag & CMSPAR) != 0) {
        return odd ? kMarkParity : kSpaceParity;
    }
    return odd ? kOddParity : kEvenParity;
}

tcflag_t ParityBits(uint8_t parity) {
    switch (parity) {
        case kOddParity:
            return PARENB | PARODD;
        case kEvenParity:
            return PARENB;
        case kMarkParity:
            return PARENB | PARODD | CMSPAR;
        case kSpaceParity:
            return PARENB | CMSPAR;
        default:
            return 0;
    }
}

tcflag_t SizeBits(uint8_t byteSize) {
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

uint8_t SizeOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

void SetBits(tcflag_t& flags, tcflag_t bits, bool on) {
    flags = on ? (flags | bits) : (flags & ~bits);
}

// Whether the record asks only for what this system's serial lines can do.
bool Supported(const TDcb& dcb) {
    speed_t code;
    return (dcb.BaudRate == 0 || CodeOf(dcb.BaudRate, code)) && dcb.ByteSize >= 5 &&
           dcb.ByteSize <= 8 && dcb.Parity <= kSpaceParity &&
           (dcb.StopBits == kOneStopBit || dcb.StopBits == kTwoStopBits) && !dcb.fOutxDsrFlow &&
           !dcb.fDsrSensitivity && !dcb.fTXContinueOnXoff && !dcb.fErrorChar && !dcb.fNull &&
           dcb.fDtrControl <= kLineEnable && dcb.fRtsControl <= kLineEnable;
}

termios ToTermios(const TDcb& dcb) {
    termios t = dcb.Settings;
    speed_t code;
    if (dcb.BaudRate != 0 && CodeOf(dcb.BaudRate, code)) {
        cfsetispeed(&t, code);
        cfsetospeed(&t, code);
    }
    t.c_cflag = (t.c_cflag & ~(CSIZE | PARENB | PARODD | CMSPAR)) | SizeBits(dcb.ByteSize) |
                ParityBits(dcb.Parity);
    SetBits(t.c_cflag, CSTOPB, dcb.StopBits == kTwoStopBits);
    SetBits(t.c_cflag, CRTSCTS, dcb.fOutxCtsFlow);
    SetBits(t.c_iflag, INPCK, dcb.fParity);
    SetBits(t.c_iflag, IXON, dcb.fOutX);
    SetBits(t.c_iflag, IXOFF, dcb.fInX);
    if (dcb.fBinary) {
        t.c_iflag &= ~kCookedInput;
        t.c_oflag &= ~OPOST;
        t.c_lflag &= ~kCookedLocal;
        t.c_cflag |= kBinaryControl;
    }
    return t;
}

bool SameManagedBits(const termios& a, const termios& b) {
    return (a.c_iflag & kManagedInput) == (b.c_iflag & kManagedInput) &&
           (a.c_oflag & kManagedOutput) == (b.c_oflag & kManagedOutput) &&
           (a.c_cflag & kManagedControl) == (b.c_cflag & kManagedControl) &&
           (a.c_lflag & kManagedLocal) == (b.c_lflag & kManagedLocal) &&
           cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

// Serial adapters drive DTR and RTS; pseudo-terminals have no modem lines and refuse.
void SetModemLine(int fd, int line, uint8_t control) {
    ioctl(fd, control == kLineEnable ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::Open(const std::string& device) {
    Close();
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // TIOCEXCL keeps other users out but not the superuser; the lock holds against everyone
    // who opens ports through this class.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    ioctl(fd, TIOCEXCL);
    fd_ = fd;
    readFailed_ = false;
    return true;
}

void SerialPort::Close() {
    if (fd_ < 0) {
        return;
    }
    // The exclusive mode outlives the descriptor on a terminal that stays open elsewhere.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    readFailed_ = false;
}

bool SerialPort::IsTerminal() const {
    return fd_ >= 0 && isatty(fd_) == 1;
}

std::optional<dev_t> SerialPort::Device() const {
    struct stat info {};
    if (fd_ < 0 || fstat(fd_, &info) != 0) {
        return std::nullopt;
    }
    return info.st_rdev;
}

bool SerialPort::Failed() const {
    if (fd_ < 0) {
        return false;
    }
    // A hung-up terminal reports the hang-up whatever is asked for; a live one reports nothing.
    pollfd line{fd_, 0, 0};
    return readFailed_ ||
           (poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0);
}

bool SerialPort::GetCommState(TDcb& dcb) const {
    termios t{};
    if (fd_ < 0 || tcgetattr(fd_, &t) != 0) {
        return false;
    }
    dcb = TDcb{};
    dcb.Settings = t;
    dcb.BaudRate = BaudOf(cfgetispeed(&t));
    dcb.ByteSize = SizeOf(t.c_cflag);
    dcb.Parity = ParityOf(t.c_cflag);
    dcb.StopBits = (t.c_cflag & CSTOPB) != 0 ? kTwoStopBits : kOneStopBit;
    dcb.fBinary = IsBinary(t);
    dcb.fParity = (t.c_iflag & INPCK) != 0;
    dcb.fOutxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
    dcb.fOutX = (t.c_iflag & IXON) != 0;
    dcb.fInX = (t.c_iflag & IXOFF) != 0;
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) == 0) {
        dcb.fDtrControl = (lines & TIOCM_DTR) != 0 ? kLineEnable : kLineDisable;
        dcb.fRtsControl = (lines & TIOCM_RTS) != 0 ? kLineEnable : kLineDisable;
    }
    return true;
}

bool SerialPort::SetCommState(const TDcb& dcb) {
    if (fd_ < 0 || !Supported(dcb)) {
        return false;
    }
    const termios wanted = ToTermios(dcb);
    termios now{};
    if (tcsetattr(fd_, TCSANOW, &wanted) != 0 || tcgetattr(fd_, &now) != 0 ||
        !SameManagedBits(wanted, now)) {
        return false;
    }
    SetModemLine(fd_, TIOCM_DTR, dcb.fDtrControl);
    SetModemLine(fd_, TIOCM_RTS, dcb.fRtsControl);
    return true;
}

void SerialPort::Purge() {
    if (fd_ >= 0) {
        tcflush(fd_, TCIOFLUSH);
    }
}

uint32_t SerialPort::BytesQueued() const {
    int count = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &count) != 0 || count < 0) {
        return 0;
    }
    return static_cast<uint32_t>(count);
}

size_t SerialPort::Read(std::span<uint8_t> into) {
    if (fd_ < 0 || into.empty()) {
        return 0;
    }
    ssize_t got = TEMP_FAILURE_RETRY(::read(fd_, into.data(), into.size()));
    if (got > 0) {
        return size_t(got);
    }
    if (got != -1 || errno != EAGAIN) {
        // A hung-up line reads as empty, which Failed() tells by the hang-up itself: a live raw
        // line without a byte reads as empty too when its minimum count is 0.
        readFailed_ = got == -1;
        return 0;
    }
    const uint32_t limit = timeouts_.ReadTotalTimeoutConstant;
    pollfd waiting{fd_, POLLIN, 0};
    if (TEMP_FAILURE_RETRY(poll(&waiting, 1, limit > INT_MAX ? INT_MAX : int(limit))) != 1 ||
        (waiting.revents & POLLIN) == 0) {
        return 0;
    }
    got = TEMP_FAILURE_RETRY(::read(fd_, into.data(), into.size()));
    if (got > 0) {
        return size_t(got);
    }
    readFailed_ = got == -1 && errno != EAGAIN;
    return 0;
}

}  // namespace platform
