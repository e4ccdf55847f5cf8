// The force the simulated press puts on the channel, as a function of time.
#pragma once

namespace ve17sim {

enum class LoadShape { Press, Steady };

struct LoadSettings {
    LoadShape shape = LoadShape::Press;
    double loadRateKnS = 5;  // press: rise rate
    double peakKn = 80;      // press: the specimen fails here
    double restKn = 0.5;     // press: what is left on the press after the failure
    double dropS = 0.3;      // press: how long the failure takes to fall to the rest load
    bool repeat = false;     // press: start a new specimen after the pause
    double pauseS = 5;       // press: rest time before the next specimen
    double steadyKn = 10;    // steady: the load held
};

// Press: rise from 0 at loadRateKnS up to peakKn, a straight fall to restKn within dropS,
// then rest (for pauseS, then over again, when repeat is set). Steady: steadyKn throughout.
double LoadAt(const LoadSettings& settings, double seconds);

}  // namespace ve17sim
