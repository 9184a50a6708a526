#pragma once
// Truncation of a double toward zero into a 32-bit signed integer. A NaN or a value whose
// integer part does not fit gives 0 instead of undefined behaviour, so a corrupt time or
// angle yields a wrong but harmless number rather than a crash.
#include <cstdint>

namespace kova {

inline std::int32_t truncateToInt32(double value) {
    // The open interval (-2^31 - 1, 2^31) holds exactly the values whose integer part fits.
    if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
    return static_cast<std::int32_t>(value);
}

}  // namespace kova
