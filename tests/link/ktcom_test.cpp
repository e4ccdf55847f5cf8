#include "link/ktcom.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <memory>

#include "support/cpu_time.h"
#include "support/device_frames.h"
#include "support/program_folder.h"
#include "support/pty_pair.h"
#include "support/wait.h"

namespace {

using Bytes = TBytes;

const Bytes kMeasurement = WireFrame(' ', {0x34, 0x12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
const Bytes kReset = WireFrame('p', {});
const Bytes kOther = WireFrame('z', {0x77, 0x0A, 0x77});

// The main window's side of the hand-overs: what arrived, in which order, on which thread.
class RecordingSink : public TFrameSink {
  public:
    void ProcessFrame() override {
        CheckThread();
        const TDeviceFrame& frame = channel->Frame;
        frames.emplace_back(frame.Bytes.begin(), frame.Bytes.begin() + frame.Length);
        events += 'F';
    }
    void WatchdogTick() override {
        CheckThread();
        ++ticks;
        events += 'T';
    }

    TKTCOM* channel = nullptr;
    std::vector<Bytes> frames;
    std::string events;
    int ticks = 0;
    bool offUiThread = false;

  private:
    void CheckThread() {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            offUiThread = true;
        }
    }
};

// COM1 is the pseudo-terminal, COM2 a device that does not exist, COM3 a pseudo-terminal that
// refuses the unit's speed.
class ChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.WriteIni("[PORTS]\r\nCOM1=" + QByteArray::fromStdString(pty.SlavePath()) +
                     "\r\nCOM2=" + QFile::encodeName(dir.FilePath("missing")) +
                     "\r\nCOM3=" + QByteArray::fromStdString(fixedSpeed.SlavePath()) + "\r\n");
        channel = std::make_unique<TKTCOM>(sink);
        sink.channel = channel.get();
    }
    void TearDown() override {
        channel.reset();
        EXPECT_FALSE(sink.offUiThread);
    }

    void StartReceiving() {
        ASSERT_TRUE(channel->Open("COM1"));
        ASSERT_TRUE(channel->SetReceiving(true));
    }
    bool TicksPass(int count) {
        const int until = sink.ticks + count;
        return WaitUntil([&] { return sink.ticks >= until; });
    }
    bool SlaveIsFree() {
        platform::SerialPort probe;
        return probe.Open(pty.SlavePath());
    }

    TScratchProgramFolder dir;
    PtyPair pty;
    PtyPair fixedSpeed;
    RecordingSink sink;
    std::unique_ptr<TKTCOM> channel;
};

TEST_F(ChannelTest, StartsIdleWithoutErrors) {
    EXPECT_EQ(channel->GetStatusText(), " COM-port has NO Errors ");
    EXPECT_FALSE(channel->Opened);
    EXPECT_FALSE(channel->Thread->Receiving());
    EXPECT_TRUE(channel->Thread->isRunning());
}

TEST_F(ChannelTest, PortThatCannotBeOpenedIsReportedByName) {
    for (const QString name : {"COM2", "com1", ""}) {
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(channel->Open(name));
        EXPECT_GE(timer.elapsed(), 400);  // reception is stopped and settled first
        EXPECT_EQ(channel->GetStatusText(),
                  "  Внимание: ошибка при попытке открыть порт связи " + name + "   ");
        EXPECT_FALSE(channel->Opened);
    }
}

TEST_F(ChannelTest, OpenSetsTheUnitLineAndDestructionRestoresIt) {
    const termios before = pty.SlaveSettings();
    ASSERT_TRUE(channel->Open("COM1"));
    EXPECT_EQ(channel->GetStatusText(), " COM-port has NO Errors ");
    const termios line = pty.SlaveSettings();
    EXPECT_EQ(cfgetispeed(&line), B57600);
    EXPECT_EQ(cfgetospeed(&line), B57600);
    EXPECT_EQ(line.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS | CREAD), tcflag_t(CS8 | CREAD));
    EXPECT_EQ(line.c_iflag & (INPCK | IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_FALSE(SlaveIsFree());

    channel.reset();
    EXPECT_TRUE(SameSettings(before, pty.SlaveSettings()));
    EXPECT_TRUE(SlaveIsFree());
}

TEST_F(ChannelTest, SecondOpenReleasesTheFirstHandle) {
    ASSERT_TRUE(channel->Open("COM1"));
    EXPECT_TRUE(channel->Open("COM1"));
    EXPECT_TRUE(channel->Opened);
}

TEST_F(ChannelTest, PortRefusingTheSettingsStaysHeldUntilTheNextOpen) {
    if (!fixedSpeed.LockSpeed(B9600)) {
        GTEST_SKIP() << "no right to fix a line's speed";
    }
    EXPECT_FALSE(channel->Open("COM3"));
    EXPECT_EQ(channel->GetStatusText(), " Внимание: ошибка при конфигурировании COM-порта ! ");
    EXPECT_FALSE(channel->Opened);
    platform::SerialPort probe;
    EXPECT_FALSE(probe.Open(fixedSpeed.SlavePath()));

    EXPECT_FALSE(channel->Open("COM2"));
    EXPECT_TRUE(probe.Open(fixedSpeed.SlavePath()));
}

TEST_F(ChannelTest, FramesReachTheWindowOneByOneInOrder) {
    StartReceiving();
    pty.Write({0x01, 0x02});  // noise before the first start marker
    pty.Write(kMeasurement);
    pty.Write({0x10, 0x20});
    pty.Write(kReset);
    pty.Write(kOther);
    pty.Write(kMeasurement);
    ASSERT_TRUE(WaitUntil([&] { return sink.frames.size() >= 4; }));
    ASSERT_TRUE(TicksPass(1));
    EXPECT_EQ(sink.frames, (std::vector<Bytes>{kMeasurement, kReset, kOther, kMeasurement}));
    // Every frame is followed by the end of its cycle.
    EXPECT_EQ(sink.events.back(), 'T');
    EXPECT_EQ(channel->Frame.Length, kMeasurement.size());
}

TEST_F(ChannelTest, SplitFrameSurvivesAShortPauseOnly) {
    StartReceiving();
    const Bytes head(kMeasurement.begin(), kMeasurement.begin() + 11);
    const Bytes tail(kMeasurement.begin() + 11, kMeasurement.end());

    pty.Write(head);
    ASSERT_TRUE(TicksPass(4));  // a few empty cycles
    pty.Write(tail);
    ASSERT_TRUE(WaitUntil([&] { return sink.frames.size() == 1; }));

    pty.Write(head);
    ASSERT_TRUE(TicksPass(14));  // more than ten empty cycles: the head is given up
    pty.Write(tail);
    pty.Write(kReset);
    ASSERT_TRUE(WaitUntil([&] { return sink.frames.size() == 2; }));
    EXPECT_EQ(sink.frames, (std::vector<Bytes>{kMeasurement, kReset}));
}

TEST_F(ChannelTest, CyclesEndOnlyWhileReceiving) {
    StartReceiving();
    EXPECT_TRUE(TicksPass(8));
    EXPECT_TRUE(sink.frames.empty());

    ASSERT_TRUE(channel->SetReceiving(false));
    QTest::qWait(100);  // a cycle under way still ends
    const int ticks = sink.ticks;
    pty.Write(kMeasurement);
    QTest::qWait(300);
    EXPECT_EQ(sink.ticks, ticks);
    EXPECT_TRUE(sink.frames.empty());
    EXPECT_FALSE(channel->Thread->Active());
}

TEST_F(ChannelTest, ReopeningWhileTheReceiverWaitsForTheWindowCarriesOn) {
    StartReceiving();
    ASSERT_TRUE(TicksPass(1));
    QTest::qWait(20);
    pty.Write(kMeasurement);
    pty.Write(kMeasurement);
    QThread::msleep(150);  // the receiver now waits for the window to take a frame or a tick
    ASSERT_TRUE(channel->Open("COM1"));
    ASSERT_TRUE(channel->SetReceiving(true));
    pty.Write(kReset);
    ASSERT_TRUE(WaitUntil([&] { return !sink.frames.empty() && sink.frames.back() == kReset; }));
    // A frame already taken is still handed over; what was queued went with the old handle.
    EXPECT_LE(sink.frames.size(), 2u);
    EXPECT_EQ(sink.frames.front(), sink.frames.size() == 2 ? kMeasurement : kReset);
}

TEST_F(ChannelTest, DestroyingWhileAFrameWaitsForTheWindowEndsCleanly) {
    const termios before = pty.SlaveSettings();
    StartReceiving();
    pty.Write(kMeasurement);
    QThread::msleep(150);  // the receiver is now waiting for the window to take the frame
    channel.reset();
    EXPECT_TRUE(SameSettings(before, pty.SlaveSettings()));
    EXPECT_TRUE(SlaveIsFree());
}

TEST_F(ChannelTest, HungUpLineGivesNoFramesAndNoBusyLoop) {
    StartReceiving();
    pty.CloseMaster();
    ASSERT_TRUE(TicksPass(2));
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = ProcessCpuSeconds();
    QTest::qWait(1000);
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    EXPECT_LT(cpu, 0.3 * double(wall.elapsed()) / 1000.0);
    EXPECT_TRUE(sink.frames.empty());
    EXPECT_TRUE(TicksPass(2));  // the receiver carries on, so the watchdog runs down
}

}  // namespace
