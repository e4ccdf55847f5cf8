// The receiver thread against a scripted port: what each receive cycle finds queued and what its
// reads bring, and what reaches the UI thread, in which order.
#include "link/comport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "support/device_frames.h"
#include "support/wait.h"

namespace {

using Bytes = TBytes;

const Bytes kMeasurement = WireFrame(' ', {0x34, 0x12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
const Bytes kReset = WireFrame('p', {});
const Bytes kOther = WireFrame('z', {0x77, 0x0A, 0x77});
const Bytes kHead(kMeasurement.begin(), kMeasurement.begin() + 11);
const Bytes kTail(kMeasurement.begin() + 11, kMeasurement.end());

// One receive cycle of the script: the count the queue reports, and the bytes reads bring.
struct Cycle {
    uint32_t queued;
    Bytes brought;
};
Cycle Queued(const Bytes& bytes) {
    return {uint32_t(bytes.size()), bytes};
}
std::vector<Cycle> Empty(int cycles) {
    return std::vector<Cycle>(size_t(cycles), Cycle{0, {}});
}
std::vector<Cycle> Script(std::initializer_list<std::vector<Cycle>> parts) {
    std::vector<Cycle> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The port side runs on the receiver thread, the hand-overs on the UI thread; after the script
// every cycle finds the queue empty.
class ScriptedOwner : public TReceiverOwner {
  public:
    explicit ScriptedOwner(std::vector<Cycle> script) : script_(std::move(script)) {}

    uint32_t PortBytesQueued() override {
        started_ = next_ + 1;
        cycle_ = next_ < script_.size() ? script_[next_++] : Cycle{0, {}};
        taken_ = 0;
        return cycle_.queued;
    }
    size_t PortRead(std::span<uint8_t> into) override {
        ++reads;
        closed_ = false;
        const size_t count = std::min(into.size(), cycle_.brought.size() - taken_);
        std::copy_n(cycle_.brought.begin() + long(taken_), count, into.begin());
        taken_ += count;
        return count;
    }
    bool PortClosedSinceRead() override { return closed_; }
    bool PortFailed() override {
        return failsFromCycle != 0 && started_ >= failsFromCycle && !letGo_;
    }
    void FrameReceived(std::span<const uint8_t> frame) override {
        frames.emplace_back(frame.begin(), frame.end());
        events += 'F';
        if (frames.size() == closeAfterFrames) {
            closed_ = true;  // as the window re-opening the port while it takes a frame
        }
    }
    void PortLost() override {
        events += 'L';
        letGo_ = true;  // as the channel closing the dead port
    }
    void CycleDone() override {
        ++cycles;
        events += 'T';
    }
    void SyncReceiving() override {}

    size_t ScriptLength() const { return script_.size(); }

    // Receiver thread; read once it has stopped.
    int reads = 0;
    // Set before the receiver starts: the port is dead from this cycle on (1 the first, 0 never).
    size_t failsFromCycle = 0;
    // UI thread.
    size_t closeAfterFrames = 0;  // 0: the port is never closed
    std::vector<Bytes> frames;
    std::string events;  // F: a frame, L: the port found dead, T: the end of a receive cycle
    size_t cycles = 0;

  private:
    std::vector<Cycle> script_;
    size_t next_ = 0;
    std::atomic<size_t> started_{0};  // cycles begun, beyond the script too
    std::atomic<bool> letGo_{false};
    Cycle cycle_;
    size_t taken_ = 0;
    std::atomic<bool> closed_{false};
};

// Runs the receiver until every cycle of the script has ended, then stops it. The events are
// those of the script's cycles.
void RunScript(ScriptedOwner& owner) {
    TCOMport receiver;
    receiver.SetOwner(&owner);
    receiver.SetReceiving(true);
    receiver.start();
    const bool done = WaitUntil([&] { return owner.cycles >= owner.ScriptLength(); }, 20000);
    receiver.SetReceiving(false);
    receiver.Terminate();
    while (!receiver.wait(10)) {
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(done);
    size_t end = 0;
    for (size_t ends = 0; ends < owner.ScriptLength(); ++end) {
        ends += owner.events[end] == 'T';
    }
    owner.events.resize(end);
}

TEST(Receiver, OneReadBringsSeveralFramesAndPartOfTheNext) {
    ScriptedOwner owner(
        {Queued(Join({kMeasurement, kOther, kHead})), Queued(Join({kTail, kReset}))});
    RunScript(owner);
    EXPECT_EQ(owner.frames, (std::vector<Bytes>{kMeasurement, kOther, kMeasurement, kReset}));
    // One hand-over per frame in arrival order, then the end of the cycle once.
    EXPECT_EQ(owner.events, "FFTFFT");
    EXPECT_EQ(owner.reads, 2) << "one read per cycle that finds bytes";
}

TEST(Receiver, QueueLongerThanOneReadTakesIsReadInPieces) {
    const Bytes garbage(5000, 0x55);
    ScriptedOwner owner({Queued(Join({garbage, kMeasurement, kReset}))});
    RunScript(owner);
    EXPECT_EQ(owner.frames, (std::vector<Bytes>{kMeasurement, kReset}));
    EXPECT_EQ(owner.events, "FFT");
    EXPECT_EQ(owner.reads, 2);
}

TEST(Receiver, PartialFrameOutlivesTenEmptyCyclesButNotEleven) {
    const struct {
        int emptyCycles;
        std::vector<Bytes> frames;
    } rows[] = {
        {10, {kMeasurement, kReset}},
        // The head is given up; the tail is hunted through for a start marker.
        {11, {kReset}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.emptyCycles);
        ScriptedOwner owner(
            Script({{Queued(kHead)}, Empty(row.emptyCycles), {Queued(Join({kTail, kReset}))}}));
        RunScript(owner);
        EXPECT_EQ(owner.frames, row.frames);
    }
}

TEST(Receiver, PortClosedWhileAFrameIsHandedOverTakesTheRestOfItsReadWithIt) {
    ScriptedOwner owner({Queued(Join({kMeasurement, kOther, kHead})), Queued(kReset)});
    owner.closeAfterFrames = 1;
    RunScript(owner);
    EXPECT_EQ(owner.frames, (std::vector<Bytes>{kMeasurement, kReset}));
}

TEST(Receiver, PortThatReportsBytesButBringsNoneYieldsNoFramesAndNoBusyLoop) {
    ScriptedOwner owner({{300, {}}, {300, {}}, {300, {}}});
    RunScript(owner);
    EXPECT_TRUE(owner.frames.empty());
    EXPECT_EQ(owner.events, "TTT");
    EXPECT_EQ(owner.reads, 3) << "a read that brings nothing ends the cycle's reading";
}

TEST(Receiver, DeadPortIsToldOnceBeforeItsCycleEndsAndTheCyclesGoOn) {
    const struct {
        const char* name;
        std::vector<Cycle> script;
        size_t failsFromCycle;
        std::string events;
    } rows[] = {
        {"dead from the start", Empty(3), 1, "LTTT"},
        {"pulled after a frame", Script({{Queued(kMeasurement)}, Empty(3)}), 2, "FTLTTT"},
        // Bytes that came are taken first; the question waits for a cycle that brings none.
        {"pulled while bytes still came", Script({{Queued(kMeasurement)}, Empty(2)}), 1, "FTLTT"},
        {"queue reported but reads bring nothing", {{300, {}}, {0, {}}}, 1, "LTT"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedOwner owner(row.script);
        owner.failsFromCycle = row.failsFromCycle;
        RunScript(owner);
        EXPECT_EQ(owner.events, row.events);
    }
}

}  // namespace
