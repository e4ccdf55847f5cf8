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

inline uint32_t GetLe(const uint8_t* at, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value |= static_cast<uint32_t>(at[i]) << (8 * i);
    }
    return value;
}

}  // namespace platform
