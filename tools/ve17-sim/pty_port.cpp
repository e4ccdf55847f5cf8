#include "pty_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace ve17sim {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

bool SetRawLine(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B57600) != 0 || ::cfsetospeed(&tio, B57600) != 0) {
        return false;
    }
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

PtyPort::PtyPort() {
    master_ = platform::TUniqueFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (master_.Get() < 0) {
        ThrowErrno("posix_openpt");
    }
    if (::grantpt(master_.Get()) != 0 || ::unlockpt(master_.Get()) != 0) {
        ThrowErrno("grantpt/unlockpt");
    }
    char name[128];
    if (::ptsname_r(master_.Get(), name, sizeof name) != 0) {
        ThrowErrno("ptsname");
    }
    slavePath_ = name;
    slave_ = platform::TUniqueFd(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (slave_.Get() < 0) {
        ThrowErrno(slavePath_.c_str());
    }
    if (!SetRawLine(slave_.Get())) {
        ThrowErrno("setting the line to 57600 8N1 raw");
    }
    const int flags = ::fcntl(master_.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(master_.Get(), F_SETFL, flags | O_NONBLOCK) != 0) {
        ThrowErrno("fcntl O_NONBLOCK");
    }
}

size_t PtyPort::Write(std::span<const uint8_t> bytes, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    size_t done = 0;
    while (IsOpen() && done < bytes.size()) {
        const ssize_t n = ::write(master_.Get(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd pfd{master_.Get(), POLLOUT, 0};
        ::poll(&pfd, 1, static_cast<int>(left.count()));
    }
    return done;
}

void PtyPort::DiscardInput() {
    uint8_t sink[256];
    while (IsOpen() && ::read(master_.Get(), sink, sizeof sink) > 0) {
    }
}

void PtyPort::ReleaseStaleExclusive() {
    int exclusive = 0;
    if (slave_.Get() < 0 || ::ioctl(slave_.Get(), TIOCGEXCL, &exclusive) != 0 || !exclusive) {
        return;
    }
    if (::flock(slave_.Get(), LOCK_EX | LOCK_NB) != 0) {
        return;
    }
    ::ioctl(slave_.Get(), TIOCNXCL);
    ::flock(slave_.Get(), LOCK_UN);
}

void PtyPort::HangUp() {
    master_.Reset();
}

}  // namespace ve17sim
