// Start, Stop and Cancel of a registration: their guards, their effect on the recorded data and
// which buttons and menu items they enable.
#pragma once

#include <cstdint>
#include <functional>

#include "measure/control_states.h"
#include "measure/measure_state.h"
#include "measure/sample_store.h"

// The registration's own fields: whether Start or Stop ran last, and the timer's ticks within the
// current second (0..9).
struct TRegistrationFlags {
    bool Started = false;
    bool Stopped = false;
    uint16_t TickCount = 0;
};

namespace measure {

// Start runs only when no registration was started; it clears `stopped`. False: ignore the press.
bool BeginStart(bool& started, bool& stopped);
// Stop runs only when not already stopped; it clears `started`. False: ignore the press.
bool BeginStop(bool& started, bool& stopped);

// A new registration records from sample 0. The maximum, Rmax, the frame counters and the old
// samples beyond the new count are kept.
void StartRegistration(int32_t periodMs, int32_t areaMm2, TSampleStore& store);

// Zeroes ForceN and TimeMs at the entries [from, to), clamped to the store.
void ClearSamples(TSampleStore& store, int32_t from, int32_t to);

// Throws the recorded test away: both arrays, the count, the frames since the last sample, the
// maximum and Rmax. `pause` runs after entry 10000 and after entry 20000 are cleared: there the
// window lets pending messages run, so it stays responsive.
// The period, the area, the rings and the live force and rate stay.
void CancelData(TMeasureState& state, TSampleStore& store, const std::function<void()>& pause);

TControlStates ControlsOnStart();
// Saving becomes possible only with more than 2 stored samples.
TControlStates ControlsOnStop(int32_t count);
// While a registration runs, opening a test and the configuration stay unavailable.
TControlStates ControlsOnCancel(bool registering);

}  // namespace measure
