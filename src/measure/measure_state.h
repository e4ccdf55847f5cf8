// The live values computed from the measurement frames.
#pragma once

#include <QDateTime>
#include <array>
#include <cstdint>

struct TMeasureState {
    char LastKind = 0;
    uint16_t Watchdog = 0;  // 20 on every frame, counted down per receive cycle; 0 = link lost
    int32_t FrameCount = 0;
    int32_t FramesSinceSample = 0;
    std::array<int32_t, 10> CodeRing{};
    int32_t CodeIndex = 0;
    std::array<int32_t, 20> DiffRing{};
    int32_t DiffIndex = 0;
    int32_t PrevCode = 0;
    std::array<uint16_t, 20> MsRing{};
    uint16_t MsIndex = 0;
    uint16_t PrevMs = 0;
    QDateTime ClockReading;
    uint16_t FrameMs = 0;
    double Force = 0;     // kN
    double Rate = 0;      // kN/s
    double MaxForce = 0;  // kN
    double Rmax = 0;      // N/mm2
};
