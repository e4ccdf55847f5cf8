// What one frame from the measuring unit does to the live values and the recorded test.
#pragma once

#include <QDateTime>
#include <cstdint>

#include "link/device_frame.h"
#include "measure/measure_state.h"
#include "measure/sample_store.h"

namespace measure {

// The force code 52428 (= 65535 / 1.25) is the channel's full scale.
constexpr double kFullScaleCode = 52428.0;
// Longest period whose sample times still fit the store's 32-bit milliseconds.
constexpr int32_t kMaxPeriodMs = INT32_MAX / kStoreCapacity;

// What the window has to do after a frame.
struct TFrameOutcome {
    bool SampleStored = false;  // append (TimeS, ForceKn) to the chart, then check both axes
    double TimeS = 0;           // nominal time of the stored sample, seconds
    double ForceKn = 0;         // force of the stored sample, kN
    bool StoreFull = false;     // this sample filled the store: perform Stop
};

// Applies one received frame. `registering` is the pressed state of btStart; `now` is the PC's
// local time at the frame (only measurement frames use it).
TFrameOutcome ProcessFrame(const TDeviceFrame& frame, int16_t forceScale, bool registering,
                           const QDateTime& now, TMeasureState& state, TSampleStore& store);

// End of one receive cycle: the link watchdog runs down towards 0 (link lost).
void WatchdogTick(TMeasureState& state);

// A stored force at 98 % of the load axis' maximum or above: AutoScale, then WidenedLoadMax.
bool LoadAxisNeedsWidening(double forceKn, double leftMax);
double WidenedLoadMax(double forceKn);

// A stored time at the time axis' maximum or beyond: AutoScale, then WidenedTimeMax of the
// maximum that AutoScale left.
bool TimeAxisNeedsWidening(double timeS, double bottomMax);
double WidenedTimeMax(double bottomMaxAfterAutoScale);

}  // namespace measure
