// Blank values of the matcher's float tables: +0 to the bit, which every
// table starts with. A -0 or a value that is not a number is not blank, so
// work skipped for blank values gives exactly what doing it would have.
#pragma once

#include <cstdint>
#include <cstring>

namespace graphmat {

// True when x is +0 to the bit (not -0, not a number).
inline bool plusZero(float x) {
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits == 0;
}

// True when every one of the n values is +0 to the bit (one pass that the
// compiler can vectorise).
inline bool allPlusZero(const float* values, int n) {
    std::uint32_t any = 0;
    for (int k = 0; k < n; ++k) {
        std::uint32_t bits;
        std::memcpy(&bits, values + k, sizeof bits);
        any |= bits;
    }
    return any == 0;
}

}  // namespace graphmat
