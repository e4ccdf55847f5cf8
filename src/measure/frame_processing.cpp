#include "measure/frame_processing.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace measure {
namespace {

constexpr int kMinMeasurementLength = frame::kHeaderSize + 2;  // header + the 16-bit force code

uint16_t ForceCodeOf(const TDeviceFrame& frame) {
    const int lo = frame.Bytes[frame::kHeaderSize];
    const int hi = frame.Bytes[frame::kHeaderSize + 1];
    return static_cast<uint16_t>(lo | (hi << 8));
}

// Only the millisecond field of the PC clock is used, so intervals are taken modulo 1000 ms.
uint16_t IntervalMs(uint16_t prevMs, uint16_t frameMs) {
    return frameMs >= prevMs ? frameMs - prevMs : 1000 - prevMs + frameMs;
}

void UpdateRings(uint16_t code, const QDateTime& now, TMeasureState& s) {
    s.ClockReading = now;
    s.FrameMs = static_cast<uint16_t>(std::max(0, now.time().msec()));  // invalid reading: 0
    s.MsRing[s.MsIndex] = IntervalMs(s.PrevMs, s.FrameMs);
    s.PrevMs = s.FrameMs;
    s.MsIndex = (s.MsIndex + 1) % s.MsRing.size();

    s.CodeRing[s.CodeIndex] = code;
    s.DiffRing[s.DiffIndex] = code - s.PrevCode;
    s.PrevCode = code;
    s.CodeIndex = (s.CodeIndex + 1) % s.CodeRing.size();
    s.DiffIndex = (s.DiffIndex + 1) % s.DiffRing.size();
}

void UpdateForce(int16_t forceScale, int32_t areaMm2, TMeasureState& s) {
    const int32_t meanCode = std::accumulate(s.CodeRing.begin(), s.CodeRing.end(), 0) / 10;
    s.Force = forceScale * static_cast<double>(meanCode) / kFullScaleCode;
    if (s.Force > s.MaxForce) {
        s.MaxForce = s.Force;
        s.Rmax = areaMm2 != 0 ? s.MaxForce * 1000 / areaMm2 : 0;
    }
    const int32_t diffSum = std::accumulate(s.DiffRing.begin(), s.DiffRing.end(), 0);
    const int32_t msSum = std::accumulate(s.MsRing.begin(), s.MsRing.end(), 0);
    // 20 frames within one clock reading measure no time: the last measured rate stands.
    if (msSum != 0) {
        s.Rate = forceScale * static_cast<double>(diffSum) / kFullScaleCode / (0.001 * msSum);
    }
}

bool SampleDue(bool registering, const TMeasureState& s, const TSampleStore& store) {
    return registering && store.PeriodMs > 0 && store.PeriodMs <= kMaxPeriodMs &&
           store.Count >= 0 && store.Count < kStoreCapacity &&
           s.FramesSinceSample >= store.PeriodMs / 100;
}

TFrameOutcome StoreSample(TMeasureState& s, TSampleStore& store) {
    const int32_t t = store.Count * store.PeriodMs;
    store.ForceN[store.Count] = static_cast<int32_t>(s.Force * 1000);
    store.TimeMs[store.Count] = t;
    store.Count += 1;
    s.FramesSinceSample = 0;
    return {.SampleStored = true,
            .TimeS = t * 0.001,
            .ForceKn = s.Force,
            .StoreFull = store.Count == kStoreCapacity};
}

}  // namespace

TFrameOutcome ProcessFrame(const TDeviceFrame& frame, int16_t forceScale, bool registering,
                           const QDateTime& now, TMeasureState& state, TSampleStore& store) {
    state.Watchdog = 20;
    state.LastKind = static_cast<char>(frame.Bytes[frame::kKindOffset]);
    if (state.LastKind == static_cast<char>(frame::kReset)) {
        state.FrameCount = 0;
        return {};
    }
    // A measurement frame too short to hold its force code only proves the link is alive.
    if (state.LastKind != static_cast<char>(frame::kMeasurement) ||
        frame.Length < kMinMeasurementLength) {
        return {};
    }
    // Months of frames must not overflow the counters: the I/O count starts again from 0, the
    // frames since the last sample stay at their largest value.
    state.FrameCount = state.FrameCount == INT32_MAX ? 0 : state.FrameCount + 1;
    state.FramesSinceSample = std::min(state.FramesSinceSample, INT32_MAX - 1) + 1;
    UpdateRings(ForceCodeOf(frame), now, state);
    UpdateForce(forceScale, store.AreaMm2, state);
    if (!SampleDue(registering, state, store)) {
        return {};
    }
    return StoreSample(state, store);
}

void WatchdogTick(TMeasureState& state) {
    if (state.Watchdog != 0) {
        state.Watchdog -= 1;
    }
}

bool LoadAxisNeedsWidening(double forceKn, double leftMax) {
    return forceKn * 0.98 >= leftMax;
}

double WidenedLoadMax(double forceKn) {
    return forceKn * 1.2;
}

bool TimeAxisNeedsWidening(double timeS, double bottomMax) {
    return timeS >= bottomMax;
}

double WidenedTimeMax(double bottomMaxAfterAutoScale) {
    return bottomMaxAfterAutoScale + 20;
}

}  // namespace measure
