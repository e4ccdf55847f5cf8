// The unit at work: measurement frames at the chosen pace, the load profile in their codes,
// the faults asked for around them, never faster than the line carries.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "load_profile.h"
#include "pty_port.h"
#include "traffic.h"

namespace ve17sim {

// 57600 baud with a start and a stop bit around every 8 data bits.
constexpr double kLineBytesPerSecond = 5760;

struct StreamSettings {
    LoadSettings load;
    FaultSettings faults;
    double scaleKn = 100;   // the recorder's FORCE_SCALE: code 52428 stands for this load
    double rateHz = 10;     // measurement frames per second
    bool fast = false;      // as many frames as the line carries, whatever rateHz says
    double durationS = -1;  // < 0: until stopped
    uint32_t seed = 1;      // for the random faults
    bool verbose = false;   // one log line per measurement frame
};

struct StreamStats {
    uint64_t measurementFrames = 0;  // sent whole, with their faults
    uint64_t framesDropped = 0;      // the line did not take them (nobody reading) in time
    uint64_t bytesSent = 0;
    bool hungUp = false;
};

// Streams until `stop` is set or the duration has passed; after a hang-up it only waits for
// either. Events (and, when verbose, every frame) go to `log` unless it is null.
StreamStats Stream(const StreamSettings& settings, PtyPort& port, const std::atomic<bool>& stop,
                   std::FILE* log);

}  // namespace ve17sim
