#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "frame_encoder.h"
#include "pty_port.h"
#include "sim/frame_reader.h"
#include "sim/line_reader.h"
#include "streamer.h"

extern char** environ;

namespace ve17sim {
namespace {

using namespace std::chrono_literals;
using testing::FrameReader;
using testing::LineReader;

// The simulator streaming on its own thread, as a test drives it in-process.
class Streaming {
  public:
    Streaming(const StreamSettings& settings, PtyPort& port)
        : thread_([this, settings, &port] { stats_ = Stream(settings, port, stop_, nullptr); }) {}
    ~Streaming() { Finish(); }

    StreamStats Finish() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return stats_;
    }

  private:
    std::atomic<bool> stop_{false};
    StreamStats stats_;
    std::thread thread_;
};

StreamSettings FastPress() {
    StreamSettings s;
    s.fast = true;
    s.load.loadRateKnS = 20;
    return s;
}

std::vector<testing::ParsedFrame> FramesOf(const std::vector<uint8_t>& bytes) {
    FrameReader reader;
    reader.Feed(bytes);
    return reader.Frames();
}

void ExpectRisingMeasurements(const std::vector<testing::ParsedFrame>& frames) {
    ASSERT_GE(frames.size(), 20u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].kind, ' ');
        EXPECT_EQ(frames[i].payload.size(), 12u);
        if (i > 0) {
            EXPECT_EQ(frames[i].tag, static_cast<uint16_t>(frames[i - 1].tag + 1)) << i;
            EXPECT_GE(frames[i].Code(), frames[i - 1].Code()) << i;
        }
    }
    EXPECT_GT(frames.back().Code(), frames.front().Code());
}

TEST(SimPtyStream, FramesOnTheSlaveParseAndTheLoadRises) {
    PtyPort port;
    LineReader reader(port.SlavePath());
    ASSERT_TRUE(reader.IsOpen());
    Streaming streaming(FastPress(), port);
    const auto begin = std::chrono::steady_clock::now();
    const std::vector<uint8_t> bytes = reader.Read(5s, 40 * kMeasurementFrameSize);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const StreamStats stats = streaming.Finish();
    ExpectRisingMeasurements(FramesOf(bytes));
    EXPECT_GT(stats.measurementFrames, 0u);
    // Never more than 57600 baud carries (two frames of slack for a late start).
    EXPECT_LE(bytes.size(), 5760 * elapsed + 2 * kMeasurementFrameSize);
}

TEST(SimPtyStream, LineStaysUpWhileTheRecorderReopensThePort) {
    PtyPort port;
    Streaming streaming(FastPress(), port);
    for (int opening = 0; opening < 3; ++opening) {
        LineReader reader(port.SlavePath());
        ASSERT_TRUE(reader.IsOpen()) << opening;
        ExpectRisingMeasurements(FramesOf(reader.Read(5s, 30 * kMeasurementFrameSize)));
        EXPECT_FALSE(reader.HungUp());
    }
}

TEST(SimPtyStream, HangUpEndsTheLineForTheReader) {
    PtyPort port;
    LineReader reader(port.SlavePath());
    StreamSettings s = FastPress();
    s.faults.hangupAfterS = 0.3;
    Streaming streaming(s, port);
    const std::vector<uint8_t> bytes = reader.Read(10s);
    EXPECT_TRUE(reader.HungUp());
    ExpectRisingMeasurements(FramesOf(bytes));
    EXPECT_TRUE(streaming.Finish().hungUp);
    EXPECT_FALSE(port.IsOpen());
}

TEST(SimPtyStream, FullLineDropsFramesInsteadOfBlocking) {
    PtyPort port;
    const std::vector<uint8_t> frame = EncodeMeasurement(0, 1);
    size_t queued = 0;
    while (port.Write(frame, 10ms) == frame.size()) {
        queued += frame.size();
        ASSERT_LT(queued, 1u << 20) << "the line never filled up";
    }
    StreamSettings s = FastPress();
    s.durationS = 0.5;
    std::atomic<bool> stop{false};
    const StreamStats stats = Stream(s, port, stop, nullptr);
    EXPECT_GT(stats.framesDropped, 0u);
    EXPECT_EQ(stats.measurementFrames, 0u);
}

TEST(SimPtyStream, StaleExclusiveModeOfAVanishedRecorderIsCleared) {
    PtyPort port;
    int exclusive = -1;
    {
        LineReader recorder(port.SlavePath());
        ASSERT_EQ(::flock(recorder.Fd(), LOCK_EX | LOCK_NB), 0);
        ASSERT_EQ(::ioctl(recorder.Fd(), TIOCEXCL), 0);
        port.ReleaseStaleExclusive();  // the recorder still holds the port: left alone
        ASSERT_EQ(::ioctl(recorder.Fd(), TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
    }  // gone without giving the exclusive mode back
    port.ReleaseStaleExclusive();
    LineReader next(port.SlavePath());
    ASSERT_TRUE(next.IsOpen());
    ASSERT_EQ(::ioctl(next.Fd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

// The program itself, as the demo and the end-to-end tests start it.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        args.insert(args.begin(), VE17_SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        stdout_ = ::fdopen(out[0], "r");
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        if (stdout_) {
            std::fclose(stdout_);
        }
    }

    bool Started() const { return pid_ > 0 && stdout_; }

    std::string FirstLine() {
        char line[256] = {};
        if (!std::fgets(line, sizeof line, stdout_)) {
            return {};
        }
        std::string text(line);
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        return text;
    }

    void Signal(int signal) { ::kill(pid_, signal); }

    // The exit status, or -1 when it did not end normally.
    int Wait() {
        int status = 0;
        const pid_t pid = pid_;
        pid_ = -1;
        if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

  private:
    pid_t pid_ = -1;
    std::FILE* stdout_ = nullptr;
};

TEST(SimProgram, PrintsThePathAndStreamsUntilItsDurationEnds) {
    Program sim({"--no-map", "--fast", "--quiet", "--duration", "3"});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.FirstLine();
    ASSERT_TRUE(path.starts_with("/dev/pts/")) << path;
    LineReader reader(path);
    ASSERT_TRUE(reader.IsOpen());
    ExpectRisingMeasurements(FramesOf(reader.Read(5s, 40 * kMeasurementFrameSize)));
    EXPECT_EQ(sim.Wait(), 0);
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SimProgram, MapsThePortAndPutsTheIniBackOnSigterm) {
    char dir[] = "/tmp/ve17-sim-test-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string ini = std::string(dir) + "/VE17.ini";
    const std::string original = "[CONFIG]\r\nLINK_PORT=COM2\r\n[PORTS]\r\nCOM2 = /dev/ttyUSB0\r\n";
    std::ofstream(ini, std::ios::binary) << original;
    {
        Program sim({"--ini", ini, "--port", "com2", "--profile", "steady", "--quiet"});
        ASSERT_TRUE(sim.Started());
        const std::string path = sim.FirstLine();
        ASSERT_TRUE(path.starts_with("/dev/pts/")) << path;
        // The path comes once the mapping is written.
        EXPECT_EQ(Contents(ini), "[CONFIG]\r\nLINK_PORT=COM2\r\n[PORTS]\r\nCOM2 =" + path + "\r\n");
        sim.Signal(SIGTERM);
        EXPECT_EQ(sim.Wait(), 0);
    }
    EXPECT_EQ(Contents(ini), original);
    std::remove(ini.c_str());
    ::rmdir(dir);
}

}  // namespace
}  // namespace ve17sim
