// What every reader of the test-file layout must give back: the header's bytes, each whole
// record as a sample, and the rest of the store left alone. Read from the bytes themselves, not
// through the program's own codec, so a fault there cannot hide itself.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "measure/sample_store.h"
#include "records/test_file.h"

namespace fuzz {

constexpr size_t kHeader = 120;
constexpr size_t kRecord = 8;
// Header bytes that always read as zero: the fillers (the period among them) and the last byte
// of every text field.
constexpr std::array<size_t, 12> kZeroedBytes = {18,  19,  35,  67,  87,  107,
                                                 114, 115, 116, 117, 118, 119};

inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

inline int32_t Le32(const uint8_t* at) {
    return static_cast<int32_t>(at[0] | at[1] << 8 | at[2] << 16 |
                                static_cast<uint32_t>(at[3]) << 24);
}

inline void CheckHeaderBytes(const TOpenedTest& test, const uint8_t* data) {
    auto expected = std::array<uint8_t, kHeader>{};
    std::memcpy(expected.data(), data, kHeader);
    for (const size_t at : kZeroedBytes) {
        expected[at] = 0;
    }
    Check(test.header.ToBytes() == expected, "header differs from the file's first 120 bytes");
}

// The store holds the first store.Count records of `data` and, beyond them, what `before` held.
inline void CheckSamples(const TOpenedTest& test, const TSampleStore& store,
                         const TSampleStore& before, const uint8_t* data) {
    int32_t fmax = 0;
    for (int32_t i = 0; i < store.Count; ++i) {
        const uint8_t* record = data + kHeader + kRecord * static_cast<size_t>(i);
        Check(store.ForceN[i] == Le32(record) && store.TimeMs[i] == Le32(record + 4),
              "sample differs from its record");
        fmax = std::max(fmax, store.ForceN[i]);
    }
    Check(test.fmaxN == fmax, "fmax is not the largest loaded force (at least 0)");
    const size_t rest = (kStoreCapacity - store.Count) * sizeof(int32_t);
    Check(std::memcmp(&store.ForceN[store.Count], &before.ForceN[store.Count], rest) == 0 &&
              std::memcmp(&store.TimeMs[store.Count], &before.TimeMs[store.Count], rest) == 0,
          "samples beyond the count changed");
    Check(store.PeriodMs == before.PeriodMs && store.AreaMm2 == before.AreaMm2,
          "period or area changed");
}

}  // namespace fuzz
