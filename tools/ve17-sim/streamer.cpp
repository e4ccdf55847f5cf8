#include "streamer.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "frame_encoder.h"

namespace ve17sim {

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr auto kSlice = std::chrono::milliseconds(20);
constexpr auto kHousekeepingEvery = std::chrono::seconds(1);
// How long a frame may wait for room on a line nobody reads before it is dropped, and how long
// the rest of a frame already begun may wait.
constexpr auto kFrameWait = std::chrono::milliseconds(100);
constexpr auto kRestWait = std::chrono::milliseconds(1000);
// One measurement frame's time on the line.
constexpr auto kCatchUp = std::chrono::duration_cast<Clock::duration>(
    Seconds(kMeasurementFrameSize / kLineBytesPerSecond));
// After a longer stall (the simulator stopped in a debugger) the schedule starts afresh
// instead of making up for the missed frames in a burst.
constexpr auto kLongestLag = std::chrono::seconds(1);

Clock::duration Span(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(Seconds(seconds));
}

class Run {
  public:
    Run(const StreamSettings& settings, PtyPort& port, const std::atomic<bool>& stop,
        std::FILE* log)
        : s_(settings),
          port_(port),
          stop_(stop),
          log_(log),
          traffic_(settings.faults, settings.seed) {
        if (s_.durationS >= 0) {
            end_ = start_ + Span(s_.durationS);
        }
    }

    StreamStats Go();

  private:
    double Elapsed() const { return Seconds(Clock::now() - start_).count(); }
    bool WaitUntil(Clock::time_point when);
    void HangUp();
    enum class Outcome { Sent, Dropped, Finished };
    void SendFrame(double t);
    Outcome SendChunk(const Chunk& chunk, bool first);
    std::chrono::milliseconds UpToTheEnd(std::chrono::milliseconds wait) const;
    void Note(const char* text);

    const StreamSettings& s_;
    PtyPort& port_;
    const std::atomic<bool>& stop_;
    std::FILE* log_;
    Traffic traffic_;
    StreamStats stats_;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point end_ = Clock::time_point::max();
    Clock::time_point lineFree_ = start_;
    Clock::time_point housekeeping_ = start_;
    bool dropping_ = false;
};

void Run::Note(const char* text) {
    if (log_) {
        std::fprintf(log_, "ve17-sim: %.3f s: %s\n", Elapsed(), text);
        std::fflush(log_);
    }
}

// Sleeps in short slices, so a stop request or the end is seen at once; meanwhile throws away
// what the far end writes and clears a stale exclusive mode. False when it is time to finish.
bool Run::WaitUntil(Clock::time_point when) {
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (stop_.load() || now >= end_) {
            return false;
        }
        if (now >= housekeeping_) {
            port_.DiscardInput();
            port_.ReleaseStaleExclusive();
            housekeeping_ = now + kHousekeepingEvery;
        }
        if (now >= when) {
            return true;
        }
        std::this_thread::sleep_for(std::min({when - now, end_ - now, Clock::duration(kSlice)}));
    }
}

void Run::HangUp() {
    port_.HangUp();
    stats_.hungUp = true;
    Note("line hung up");
}

// A write never keeps the simulator past its end.
std::chrono::milliseconds Run::UpToTheEnd(std::chrono::milliseconds wait) const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - Clock::now());
    return std::max(std::chrono::milliseconds::zero(), std::min(wait, left));
}

Run::Outcome Run::SendChunk(const Chunk& chunk, bool first) {
    if (!WaitUntil(lineFree_)) {
        return Outcome::Finished;
    }
    size_t sent = port_.Write(chunk.bytes, UpToTheEnd(first ? kFrameWait : kRestWait));
    if (sent > 0 && sent < chunk.bytes.size()) {
        sent += port_.Write(std::span(chunk.bytes).subspan(sent), UpToTheEnd(kRestWait));
    }
    stats_.bytesSent += sent;
    const auto lineTime = Span(static_cast<double>(sent) / kLineBytesPerSecond);
    // Waking a little late is made up for, so --fast really fills the line; a longer idle
    // spell is not, so no burst ever beats the baud rate.
    lineFree_ = std::max(lineFree_, Clock::now() - kCatchUp) + lineTime +
                std::chrono::milliseconds(chunk.pauseAfterMs);
    return sent == chunk.bytes.size() ? Outcome::Sent : Outcome::Dropped;
}

void Run::SendFrame(double t) {
    const double load = LoadAt(s_.load, t);
    const uint16_t code = ForceToCode(load, s_.scaleKn);
    const std::vector<Chunk> chunks = traffic_.Next(code);
    Outcome outcome = Outcome::Sent;
    for (size_t i = 0; i < chunks.size() && outcome == Outcome::Sent; ++i) {
        outcome = SendChunk(chunks[i], i == 0);
    }
    if (outcome == Outcome::Finished) {
        return;
    }
    if (outcome == Outcome::Dropped) {
        if (stop_.load() || Clock::now() >= end_) {
            return;  // cut short by the end, not by the line
        }
        ++stats_.framesDropped;
        if (!dropping_ && port_.IsOpen()) {
            Note("the line is full (is anyone reading?): frames are dropped until it drains");
        }
        dropping_ = true;
        return;
    }
    if (dropping_) {
        Note("the line takes frames again");
    }
    dropping_ = false;
    ++stats_.measurementFrames;
    if (s_.verbose && log_) {
        std::fprintf(log_, "ve17-sim: %.3f s: %.3f kN, code %u\n", t, load, code);
    }
}

StreamStats Run::Go() {
    const Clock::duration period = s_.fast ? Clock::duration::zero() : Span(1.0 / s_.rateHz);
    const double hangupAt = s_.faults.hangupAfterS;
    Clock::time_point next = start_;
    bool silentNoted = false;
    for (;;) {
        Clock::time_point wake = next;
        if (hangupAt >= 0) {
            wake = std::min(wake, start_ + Span(hangupAt));
        }
        if (!WaitUntil(wake)) {
            break;
        }
        const double t = Elapsed();
        if (hangupAt >= 0 && t >= hangupAt) {
            HangUp();
            WaitUntil(Clock::time_point::max());
            break;
        }
        if (Clock::now() < next) {
            continue;
        }
        const double talking = TalkingFrom(s_.faults, t);
        if (talking != t) {
            if (!silentNoted) {
                Note(talking < 0 ? "falling silent for good" : "falling silent");
            }
            silentNoted = true;
            next = talking < 0 ? Clock::time_point::max() : start_ + Span(talking);
            continue;
        }
        if (silentNoted) {
            Note("talking again");
            silentNoted = false;
        }
        SendFrame(t);
        next = std::max(next + period, lineFree_);
        next = std::max(next, Clock::now() - kLongestLag);
    }
    return stats_;
}

}  // namespace

StreamStats Stream(const StreamSettings& settings, PtyPort& port, const std::atomic<bool>& stop,
                   std::FILE* log) {
    return Run(settings, port, stop, log).Go();
}

}  // namespace ve17sim
