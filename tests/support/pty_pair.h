// A pseudo-terminal standing in for the serial line: the test plays the unit on the master side,
// the code under test opens the slave device as its port.
#pragma once

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

class PtyPair {
  public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        slave_ = ptsname(master_);
        // Held to the end: see CloseMaster.
        heldSlave_ = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (heldSlave_ < 0) {
            CloseMaster();
            throw std::runtime_error("cannot open the pseudo-terminal's slave");
        }
    }
    ~PtyPair() {
        CloseMaster();
        ::close(heldSlave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slave_; }

    void Write(const std::vector<uint8_t>& bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                throw std::runtime_error("write to the pseudo-terminal failed");
            }
            done += static_cast<size_t>(n);
        }
    }

    // The slave's line settings, as the port's holder sees them.
    termios SlaveSettings() const {
        termios t{};
        tcgetattr(master_, &t);
        return t;
    }

    // Fixes the slave's line speed: the port then takes every setting but another speed. Needs
    // the right to administer the system; false without it.
    bool LockSpeed(speed_t speed) const {
        termios t = SlaveSettings();
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        termios locked{};
        locked.c_cflag = CBAUD | CBAUDEX;
        return tcsetattr(master_, TCSANOW, &t) == 0 && ioctl(master_, TIOCSLCKTRMIOS, &locked) == 0;
    }

    // Hangs the line up under the slave's holder. The slave descriptor this object holds keeps
    // the terminal's number from going to another pseudo-terminal while the object lives, so a
    // port tried again by its name never reaches somebody else's line.
    void CloseMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

  private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slave_;
};

inline bool SameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && cfgetispeed(&a) == cfgetispeed(&b) &&
           cfgetospeed(&a) == cfgetospeed(&b) && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc);
}
