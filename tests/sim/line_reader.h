// The recorder's side of the simulator's line in tests: a descriptor on the slave, read raw.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "pty_port.h"

namespace ve17sim::testing {

class LineReader {
  public:
    explicit LineReader(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd_.Get() >= 0) {
            ::tcflush(fd_.Get(), TCIOFLUSH);
        }
    }

    bool IsOpen() const { return fd_.Get() >= 0; }
    int Fd() const { return fd_.Get(); }

    // Everything that arrives within the time; stops early once `enough` bytes came or the line
    // hung up (then HungUp() is true).
    std::vector<uint8_t> Read(std::chrono::milliseconds time, size_t enough = SIZE_MAX) {
        std::vector<uint8_t> bytes;
        const auto end = std::chrono::steady_clock::now() + time;
        while (bytes.size() < enough && std::chrono::steady_clock::now() < end) {
            pollfd pfd{fd_.Get(), POLLIN, 0};
            ::poll(&pfd, 1, 20);
            uint8_t chunk[512];
            const ssize_t n = ::read(fd_.Get(), chunk, sizeof chunk);
            if (n > 0) {
                bytes.insert(bytes.end(), chunk, chunk + n);
            } else if ((pfd.revents & POLLHUP) != 0 || n == 0 || errno == EIO) {
                // A hung-up terminal reads as end of file or fails with EIO.
                hungUp_ = true;
                break;
            }
        }
        return bytes;
    }

    bool HungUp() const { return hungUp_; }

  private:
    platform::TUniqueFd fd_;
    bool hungUp_ = false;
};

}  // namespace ve17sim::testing
