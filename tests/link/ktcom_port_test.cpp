// The port under the channel, through the real receiver thread: its line settings given back on
// leaving it, files that are no port, and a port that vanishes under the program and comes back.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/ktcom.h"
#include "support/adapter_link.h"
#include "support/device_frames.h"
#include "support/program_folder.h"
#include "support/pty_pair.h"
#include "support/wait.h"

namespace {

const TBytes kMeasurement = WireFrame(' ', {0x34, 0x12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
const QString kOpenError =
    QStringLiteral("  Внимание: ошибка при попытке открыть порт связи COM1   ");

class CountingSink : public TFrameSink {
  public:
    void ProcessFrame() override { ++frames; }
    void WatchdogTick() override { ++ticks; }
    int frames = 0;
    int ticks = 0;
};

QByteArray PortLine(const char* port, const std::string& device) {
    return QByteArray(port) + '=' + QByteArray::fromStdString(device) + "\r\n";
}

bool IsUnitLine(const termios& line) {
    return cfgetispeed(&line) == B57600 && (line.c_lflag & (ICANON | ECHO)) == 0 &&
           (line.c_cflag & (CSIZE | PARENB)) == CS8;
}

// Whether nobody holds the device.
bool IsFree(const std::string& device) {
    platform::SerialPort probe;
    return probe.Open(device);
}

TEST(ChannelPorts, LeavingAPortGivesItsOriginalSettingsBack) {
    // Each step opens COM1 or COM2; both are pseudo-terminals with a cooked line.
    const std::vector<std::vector<int>> sequences = {{1, 2, 1}, {1, 1}};
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(::testing::PrintToString(sequence));
        PtyPair com[2];
        const TScratchProgramFolder dir("[PORTS]\r\n" + PortLine("COM1", com[0].SlavePath()) +
                                        PortLine("COM2", com[1].SlavePath()));
        const termios before[2] = {com[0].SlaveSettings(), com[1].SlaveSettings()};
        {
            CountingSink sink;
            TKTCOM channel(sink);
            for (const int port : sequence) {
                ASSERT_TRUE(channel.Open(QStringLiteral("COM%1").arg(port)));
                const int held = port - 1;
                EXPECT_TRUE(IsUnitLine(com[held].SlaveSettings()));
                EXPECT_TRUE(SameSettings(before[1 - held], com[1 - held].SlaveSettings()))
                    << "the port left has its own settings back";
            }
        }
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(SameSettings(before[i], com[i].SlaveSettings())) << "COM" << i + 1;
        }
    }
}

// A FIFO with no writer would block an open that waits for one.
TEST(ChannelPorts, DeviceThatIsNoTerminalIsAPortThatCannotBeOpened) {
    TScratchProgramFolder dir;
    const std::string file = dir.FilePath(QStringLiteral("plain")).toStdString();
    const std::string fifo = dir.FilePath(QStringLiteral("fifo")).toStdString();
    QFile(QString::fromStdString(file)).open(QIODevice::WriteOnly);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CountingSink sink;
    TKTCOM channel(sink);
    for (const std::string& device : {file, fifo, std::string("/dev/null")}) {
        SCOPED_TRACE(device);
        dir.WriteIni("[PORTS]\r\n" + PortLine("COM1", device));
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(channel.Open(QStringLiteral("COM1")));
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_EQ(channel.GetStatusText(), kOpenError);
        EXPECT_FALSE(channel.Opened);
        EXPECT_TRUE(IsFree(device));
    }
}

// COM1 is a USB adapter known by its link in the scratch folder, as /dev/serial/by-id names one;
// COM2 a device that does not exist.
class VanishingPort {
  public:
    using States = std::vector<std::pair<QString, bool>>;

    VanishingPort() {
        dir.WriteIni("[PORTS]\r\n" + PortLine("COM1", adapter.Path()) +
                     PortLine("COM2", dir.FilePath(QStringLiteral("missing")).toStdString()));
        channel = std::make_unique<TKTCOM>(sink);
        QObject::connect(channel.get(), &TKTCOM::PortStateChanged,
                         [this](const QString& port, bool ok) {
                             states.push_back({port, ok});
                         });
    }

    void StartReceiving() {
        adapter.PlugIn(first.SlavePath());
        ASSERT_TRUE(channel->Open(QStringLiteral("COM1")));
        ASSERT_TRUE(channel->SetReceiving(true));
    }
    // The line hangs up and the adapter's name goes with it.
    void PullAndWaitForTheLoss() {
        first.CloseMaster();
        adapter.Pull();
        ASSERT_TRUE(WaitUntil([&] { return !states.empty(); }, 2000));
        ASSERT_EQ(states, (States{{QStringLiteral("COM1"), false}}));
    }
    bool FrameArrives(const PtyPair& line) {
        const int frames = sink.frames;
        line.Write(kMeasurement);
        return WaitUntil([&] { return sink.frames == frames + 1; });
    }

    TScratchProgramFolder dir;
    AdapterLink adapter{dir.FilePath(QStringLiteral("usb-ve17")).toStdString()};
    PtyPair first;
    CountingSink sink;
    std::unique_ptr<TKTCOM> channel;
    States states;
};

// The longest time the UI thread kept a 5 ms timer waiting within `milliseconds`.
qint64 LongestStallMs(int milliseconds) {
    QElapsedTimer since;
    qint64 longest = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longest = std::max(longest, since.restart()); });
    since.start();
    probe.start(5);
    QTest::qWait(milliseconds);
    return longest;
}

TEST(ChannelPorts, PulledAdapterIsToldOnceAndComesBackBehindItsName) {
    VanishingPort port;
    ASSERT_NO_FATAL_FAILURE(port.StartReceiving());
    ASSERT_TRUE(port.FrameArrives(port.first));

    ASSERT_NO_FATAL_FAILURE(port.PullAndWaitForTheLoss());
    EXPECT_FALSE(port.channel->Opened);
    const int ticks = port.sink.ticks;
    // Two tries while the adapter is away: neither may hold the window up.
    const qint64 stallMs = LongestStallMs(2500);
    std::printf("longest stall of the UI thread while the port is tried: %lld ms\n",
                static_cast<long long>(stallMs));
    EXPECT_LT(stallMs, 200);
    EXPECT_EQ(port.states.size(), 1u) << "the loss is told once";
    EXPECT_GT(port.sink.ticks, ticks + 20) << "the receive cycles go on: the watchdog runs down";
    EXPECT_EQ(port.sink.frames, 1);

    PtyPair second;  // plugged in again: a new device node behind the same name
    const termios fresh = second.SlaveSettings();
    port.adapter.PlugIn(second.SlavePath());
    ASSERT_TRUE(WaitUntil([&] { return port.states.size() == 2; }, 3000));
    EXPECT_EQ(port.states, (VanishingPort::States{{QStringLiteral("COM1"), false},
                                                  {QStringLiteral("COM1"), true}}));
    EXPECT_TRUE(port.channel->Opened);
    EXPECT_TRUE(IsUnitLine(second.SlaveSettings()));
    EXPECT_TRUE(port.FrameArrives(second));

    port.channel.reset();
    EXPECT_TRUE(SameSettings(fresh, second.SlaveSettings()));
    EXPECT_TRUE(IsFree(second.SlavePath()));
}

TEST(ChannelPorts, PortIsNotTriedAgainAfterTheOperatorsOwnChoice) {
    const struct {
        const char* name;
        std::function<void(VanishingPort&)> before;
    } rows[] = {
        {"the operator's open failed",
         [](VanishingPort& p) { EXPECT_FALSE(p.channel->Open(QStringLiteral("COM1"))); }},
        {"lost, then another port chosen",
         [](VanishingPort& p) {
             ASSERT_NO_FATAL_FAILURE(p.StartReceiving());
             ASSERT_NO_FATAL_FAILURE(p.PullAndWaitForTheLoss());
             EXPECT_FALSE(p.channel->Open(QStringLiteral("COM2")));
         }},
        {"lost, then reception switched off as the window closes",
         [](VanishingPort& p) {
             ASSERT_NO_FATAL_FAILURE(p.StartReceiving());
             ASSERT_NO_FATAL_FAILURE(p.PullAndWaitForTheLoss());
             p.channel->SetReceiving(false);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        VanishingPort port;
        ASSERT_NO_FATAL_FAILURE(row.before(port));
        PtyPair back;
        port.adapter.PlugIn(back.SlavePath());
        QTest::qWait(1600);  // longer than the time between two tries
        EXPECT_FALSE(port.channel->Opened);
        EXPECT_TRUE(IsFree(back.SlavePath()));
        EXPECT_EQ(std::count_if(port.states.begin(), port.states.end(),
                                [](const auto& state) { return state.second; }),
                  0);
    }
}

}  // namespace
