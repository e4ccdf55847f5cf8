#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

#include "support/pty_pair.h"

using platform::SerialPort;
using platform::TDcb;

namespace {

TDcb RawLine(TDcb dcb) {
    dcb.BaudRate = 57600;
    dcb.ByteSize = 8;
    dcb.Parity = platform::kNoParity;
    dcb.StopBits = platform::kOneStopBit;
    dcb.fBinary = true;
    dcb.fParity = false;
    dcb.fOutxCtsFlow = false;
    dcb.fOutX = false;
    dcb.fInX = false;
    return dcb;
}

// Reads until `expected` bytes came, in reads of at most 64 bytes.
std::vector<uint8_t> Drain(SerialPort& port, size_t expected) {
    std::vector<uint8_t> got;
    std::array<uint8_t, 64> buffer{};
    for (int tries = 0; got.size() < expected && tries < 1000; ++tries) {
        const size_t wanted = std::min(buffer.size(), expected - got.size());
        const size_t n = port.Read(std::span(buffer).first(wanted));
        got.insert(got.end(), buffer.begin(), buffer.begin() + n);
    }
    return got;
}

// Whether a read finds nothing.
bool ReadsNothing(SerialPort& port) {
    std::array<uint8_t, 8> buffer{};
    return port.Read(buffer) == 0;
}

// Waits until the line has delivered `count` bytes to the port's input queue.
bool Queued(const SerialPort& port, uint32_t count) {
    for (int tries = 0; tries < 1000 && port.BytesQueued() < count; ++tries) {
        usleep(1000);
    }
    return port.BytesQueued() == count;
}

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(port.Open(pty.SlavePath()));
        port.SetCommTimeouts({0, 0, 5, 0, 0});
    }
    PtyPair pty;
    SerialPort port;
};

TEST_F(SerialPortTest, RecordReadBackWritesNothingNew) {
    const termios before = pty.SlaveSettings();
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    ASSERT_TRUE(port.SetCommState(dcb));
    EXPECT_TRUE(SameSettings(before, pty.SlaveSettings()));
}

TEST_F(SerialPortTest, RawLineAndBackRestoresEverySetting) {
    const termios before = pty.SlaveSettings();
    TDcb saved;
    ASSERT_TRUE(port.GetCommState(saved));
    ASSERT_FALSE(saved.fBinary);  // a fresh terminal is cooked

    ASSERT_TRUE(port.SetCommState(RawLine(saved)));
    const termios raw = pty.SlaveSettings();
    EXPECT_EQ(cfgetispeed(&raw), B57600);
    EXPECT_EQ(raw.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(raw.c_lflag & (ICANON | ECHO | ISIG), 0u);
    TDcb now;
    ASSERT_TRUE(port.GetCommState(now));
    EXPECT_TRUE(now.fBinary);
    EXPECT_EQ(now.BaudRate, 57600u);

    ASSERT_TRUE(port.SetCommState(saved));
    EXPECT_TRUE(SameSettings(before, pty.SlaveSettings()));
}

TEST_F(SerialPortTest, RawLinePassesEveryByteUntouched) {
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    ASSERT_TRUE(port.SetCommState(RawLine(dcb)));
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<uint8_t>(i);
    }
    pty.Write(all);
    EXPECT_EQ(Drain(port, all.size()), all);
    EXPECT_EQ(port.BytesQueued(), 0u);
}

TEST_F(SerialPortTest, PurgeDiscardsQueuedBytes) {
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    ASSERT_TRUE(port.SetCommState(RawLine(dcb)));
    pty.Write({1, 2, 3});
    ASSERT_EQ(Drain(port, 1), std::vector<uint8_t>{1});
    port.Purge();
    EXPECT_TRUE(ReadsNothing(port));
    EXPECT_EQ(port.BytesQueued(), 0u);
}

TEST_F(SerialPortTest, ReadTakesTheQueuedBytesThatFitAndLeavesTheRest) {
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    ASSERT_TRUE(port.SetCommState(RawLine(dcb)));
    pty.Write({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ASSERT_TRUE(Queued(port, 10));
    std::array<uint8_t, 4> small{};
    ASSERT_EQ(port.Read(small), 4u);
    EXPECT_EQ(small, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(port.BytesQueued(), 6u);
    std::array<uint8_t, 16> large{};
    ASSERT_EQ(port.Read(large), 6u);
    EXPECT_EQ(std::vector<uint8_t>(large.begin(), large.begin() + 6),
              (std::vector<uint8_t>{5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(ReadsNothing(port));
}

TEST_F(SerialPortTest, SettingsWithoutCounterpartAreRefusedUnchanged) {
    TDcb base;
    ASSERT_TRUE(port.GetCommState(base));
    const termios before = pty.SlaveSettings();
    const std::vector<void (*)(TDcb&)> asks = {
        [](TDcb& d) { d.BaudRate = 12345; },    [](TDcb& d) { d.ByteSize = 9; },
        [](TDcb& d) { d.StopBits = 1; },        [](TDcb& d) { d.Parity = 5; },
        [](TDcb& d) { d.fOutxDsrFlow = true; }, [](TDcb& d) { d.fNull = true; },
        [](TDcb& d) { d.fErrorChar = true; },   [](TDcb& d) { d.fRtsControl = 2; },
    };
    for (size_t i = 0; i < asks.size(); ++i) {
        TDcb dcb = RawLine(base);
        asks[i](dcb);
        EXPECT_FALSE(port.SetCommState(dcb)) << "case " << i;
        EXPECT_TRUE(SameSettings(before, pty.SlaveSettings())) << "case " << i;
    }
}

TEST_F(SerialPortTest, HeldPortIsRefusedToASecondHolder) {
    SerialPort second;
    EXPECT_FALSE(second.Open(pty.SlavePath()));
    port.Close();
    EXPECT_TRUE(second.Open(pty.SlavePath()));
}

TEST_F(SerialPortTest, HungUpLineYieldsNothing) {
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    ASSERT_TRUE(port.SetCommState(RawLine(dcb)));
    pty.Write({1, 2, 3});
    pty.CloseMaster();
    EXPECT_EQ(port.BytesQueued(), 0u);
    EXPECT_TRUE(ReadsNothing(port));
}

TEST_F(SerialPortTest, HungUpLineHasFailedUntilClosed) {
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    ASSERT_TRUE(port.SetCommState(RawLine(dcb)));
    EXPECT_FALSE(port.Failed());
    pty.Write({1, 2, 3});
    ASSERT_TRUE(Queued(port, 3));
    EXPECT_FALSE(port.Failed()) << "bytes waiting are no failure";
    pty.CloseMaster();
    EXPECT_TRUE(port.Failed());
    EXPECT_TRUE(ReadsNothing(port));
    EXPECT_TRUE(port.Failed());
    port.Close();
    EXPECT_FALSE(port.Failed());
}

// A raw line asking for no minimum count reads as empty when nothing came, as a hung-up one does.
TEST_F(SerialPortTest, EmptyReadOfALiveLineIsNoFailure) {
    TDcb dcb;
    ASSERT_TRUE(port.GetCommState(dcb));
    dcb = RawLine(dcb);
    dcb.Settings.c_cc[VMIN] = 0;
    dcb.Settings.c_cc[VTIME] = 0;
    ASSERT_TRUE(port.SetCommState(dcb));
    EXPECT_TRUE(ReadsNothing(port));
    EXPECT_FALSE(port.Failed());
    pty.Write({7});
    EXPECT_EQ(Drain(port, 1), std::vector<uint8_t>{7});
}

TEST_F(SerialPortTest, EveryNameOfTheDeviceIsTheSameDevice) {
    char dir[] = "/tmp/ve17-serial-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/usb-adapter";
    ASSERT_EQ(symlink(pty.SlavePath().c_str(), link.c_str()), 0);
    const std::optional<dev_t> device = port.Device();
    ASSERT_TRUE(device.has_value());
    port.Close();
    EXPECT_FALSE(port.Device().has_value());
    ASSERT_TRUE(port.Open(link));
    EXPECT_EQ(port.Device(), device);
    PtyPair other;
    ASSERT_TRUE(port.Open(other.SlavePath()));
    EXPECT_NE(port.Device(), device);
    std::remove(link.c_str());
    rmdir(dir);
}

TEST(SerialPortOpen, OnlyATerminalIsALine) {
    char dir[] = "/tmp/ve17-serial-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/plain";
    const std::string fifo = std::string(dir) + "/fifo";
    close(open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    PtyPair pty;
    const struct {
        std::string device;
        bool terminal;
    } rows[] = {{pty.SlavePath(), true}, {file, false}, {fifo, false}, {"/dev/null", false}};
    for (const auto& row : rows) {
        SerialPort port;
        ASSERT_TRUE(port.Open(row.device)) << row.device << ": a FIFO without a writer opens too";
        EXPECT_EQ(port.IsTerminal(), row.terminal) << row.device;
        EXPECT_FALSE(port.Failed()) << row.device;
    }
    std::remove(file.c_str());
    std::remove(fifo.c_str());
    rmdir(dir);
}

TEST(SerialPortOpen, FailsCleanlyWithoutADevice) {
    for (const char* path : {"", "/dev/ve17-no-such-port", "/"}) {
        SerialPort port;
        EXPECT_FALSE(port.Open(path)) << path;
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.BytesQueued(), 0u);
        EXPECT_TRUE(ReadsNothing(port));
        TDcb dcb;
        EXPECT_FALSE(port.GetCommState(dcb));
        EXPECT_FALSE(port.SetCommState(dcb));
    }
}

TEST(SerialPortOpen, FileThatIsNoLineTakesNoSettings) {
    char path[] = "/tmp/ve17-serial-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    SerialPort port;
    ASSERT_TRUE(port.Open(path));
    TDcb dcb;
    EXPECT_FALSE(port.GetCommState(dcb));
    EXPECT_FALSE(port.SetCommState(RawLine(dcb)));
    port.Close();
    std::remove(path);
}

}  // namespace
