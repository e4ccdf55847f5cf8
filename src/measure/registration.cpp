#include "measure/registration.h"

#include <algorithm>
#include <array>

namespace measure {
namespace {

constexpr std::array<int32_t, 4> kCancelChunkBounds = {0, 10001, 20001, kStoreCapacity};

}  // namespace

bool BeginStart(bool& started, bool& stopped) {
    if (started) {
        return false;
    }
    started = true;
    stopped = false;
    return true;
}

bool BeginStop(bool& started, bool& stopped) {
    if (stopped) {
        return false;
    }
    stopped = true;
    started = false;
    return true;
}

void StartRegistration(int32_t periodMs, int32_t areaMm2, TSampleStore& store) {
    store.PeriodMs = periodMs;
    store.AreaMm2 = areaMm2;
    store.Count = 0;
}

void ClearSamples(TSampleStore& store, int32_t from, int32_t to) {
    from = std::clamp(from, 0, kStoreCapacity);
    to = std::clamp(to, from, kStoreCapacity);
    std::fill(store.ForceN.begin() + from, store.ForceN.begin() + to, 0);
    std::fill(store.TimeMs.begin() + from, store.TimeMs.begin() + to, 0);
}

void CancelData(TMeasureState& state, TSampleStore& store, const std::function<void()>& pause) {
    for (size_t i = 0; i + 1 < kCancelChunkBounds.size(); ++i) {
        if (i > 0) {
            pause();
        }
        ClearSamples(store, kCancelChunkBounds[i], kCancelChunkBounds[i + 1]);
    }
    state.FramesSinceSample = 0;
    store.Count = 0;
    state.MaxForce = 0;
    state.Rmax = 0;
}

TControlStates ControlsOnStart() {
    return {.Protocol = false,
            .SaveTest = false,
            .OpenTest = false,
            .ToExel = false,
            .ConfigMenu = false,
            .InfoVisible = std::nullopt};
}

TControlStates ControlsOnStop(int32_t count) {
    TControlStates states;
    if (count > 2) {
        states.SaveTest = true;
    }
    return states;
}

TControlStates ControlsOnCancel(bool registering) {
    // A Cancel during a registration empties the store while recording goes on: opening a test
    // then would mix its samples with the live ones, and the configuration stays locked as long
    // as the registration runs.
    return {.Protocol = false,
            .SaveTest = false,
            .OpenTest = !registering,
            .ToExel = false,
            .ConfigMenu = !registering,
            .InfoVisible = false};
}

}  // namespace measure
