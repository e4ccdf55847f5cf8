// The recorded test: one force and one time per stored sample.
#pragma once

#include <array>
#include <cstdint>

constexpr int kStoreCapacity = 32767;

struct TSampleStore {
    std::array<int32_t, kStoreCapacity> ForceN{};  // newtons, kN x 1000 truncated
    std::array<int32_t, kStoreCapacity> TimeMs{};  // i x PeriodMs (nominal)
    int32_t Count = 0;
    int32_t PeriodMs = 0;
    int32_t AreaMm2 = 0;
};
