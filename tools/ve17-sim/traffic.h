// What goes on the line around each measurement frame: the frame itself and the faults
// asked for (garbage, other kinds, over-long headers, frames split by a pause).
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace ve17sim {

struct FaultSettings {
    bool garbage = false;  // random bytes between frames, 0x77 and over-long headers among them
    bool split = false;    // each measurement frame in two parts with a pause between
    int splitPauseMs = 100;
    bool kinds = false;         // 'p' frames and frames of other kinds mixed in
    bool overlong = false;      // now and then a header announcing more than 1016 payload bytes
    double silenceAfterS = -1;  // >= 0: the unit falls silent for good after this time
    double talkS = 0;           // both > 0: the unit alternates talking and silent periods
    double muteS = 0;
    double hangupAfterS = -1;  // >= 0: the line is hung up after this time
};

// The time the unit talks again: `seconds` itself while it talks, -1 when it never will.
double TalkingFrom(const FaultSettings& faults, double seconds);

// A piece of line traffic and the pause to keep after it.
struct Chunk {
    std::vector<uint8_t> bytes;
    int pauseAfterMs = 0;
};

class Traffic {
  public:
    Traffic(const FaultSettings& faults, uint32_t seed);

    // The chunks for one measurement frame with the given force code, faults included,
    // in the order they go on the line. Frame tags count every frame sent.
    std::vector<Chunk> Next(uint16_t forceCode);

  private:
    std::vector<uint8_t> Garbage();
    std::vector<uint8_t> OverlongHeader();
    std::vector<uint8_t> OtherKindFrame();
    void AddMeasurement(std::vector<Chunk>& chunks, uint16_t forceCode);
    bool OneIn(int n);

    FaultSettings faults_;
    std::mt19937 rng_;
    uint16_t tag_ = 0;
};

}  // namespace ve17sim
