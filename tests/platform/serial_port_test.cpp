#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <cstdio>

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

std::vector<uint8_t> Drain(SerialPort& port, size_t expected) {
    std::vector<uint8_t> got;
    for (int tries = 0; got.size() < expected && tries < 1000; ++tries) {
        uint8_t byte = 0;
        if (port.ReadByte(byte)) {
            got.push_back(byte);
        }
    }
    return got;
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
    uint8_t byte = 0;
    EXPECT_FALSE(port.ReadByte(byte));
    EXPECT_EQ(port.BytesQueued(), 0u);
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
    uint8_t byte = 0;
    EXPECT_FALSE(port.ReadByte(byte));
}

TEST(SerialPortOpen, FailsCleanlyWithoutADevice) {
    for (const char* path : {"", "/dev/ve17-no-such-port", "/"}) {
        SerialPort port;
        EXPECT_FALSE(port.Open(path)) << path;
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.BytesQueued(), 0u);
        uint8_t byte = 0;
        EXPECT_FALSE(port.ReadByte(byte));
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
