#include "load_profile.h"

#include <cmath>

namespace ve17sim {

namespace {

double PressLoadAt(const LoadSettings& s, double seconds) {
    const double riseS = s.loadRateKnS > 0 ? s.peakKn / s.loadRateKnS : 0;
    const double cycleS = riseS + s.dropS + s.pauseS;
    double t = seconds < 0 ? 0 : seconds;
    if (s.repeat && cycleS > 0) {
        t = std::fmod(t, cycleS);
    }
    if (t < riseS) {
        return s.loadRateKnS * t;
    }
    if (t < riseS + s.dropS) {
        const double fallen = (t - riseS) / s.dropS;
        return s.peakKn + (s.restKn - s.peakKn) * fallen;
    }
    return s.restKn;
}

}  // namespace

double LoadAt(const LoadSettings& settings, double seconds) {
    if (settings.shape == LoadShape::Steady) {
        return settings.steadyKn;
    }
    return PressLoadAt(settings, seconds);
}

}  // namespace ve17sim
