// Little-endian integers in file images: the test file's header numbers and sample records.
#pragma once

#include <cstdint>

namespace platform {

// Writes the low `size` bytes of `value`, lowest first.
inline void PutLe(uint8_t* at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// The four bytes at `at`, lowest first: written out, so that the compiler reads them with one
// load on a little-endian machine (the loop below it leaves a loop).
inline uint32_t GetLe32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

inline uint32_t GetLe(const uint8_t* at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value |= static_cast<uint32_t>(at[i]) << (8 * i);
    }
    return value;
}

}  // namespace platform
