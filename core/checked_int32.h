#pragma once
// Truncation of a double toward zero into a 32-bit signed integer that is defined for every
// input. Element sets, time tags and header fields come from outside and may hold anything:
// a NaN or a value whose integer part does not fit gives 0, a wrong but harmless number,
// instead of undefined behaviour.
#include <cmath>
#include <cstdint>

namespace kova {

inline std::int32_t truncateToInt32(double value) {
    const double truncated = std::trunc(value);
    if (!(truncated >= -2147483648.0 && truncated <= 2147483647.0)) return 0;
    return static_cast<std::int32_t>(truncated);
}

}  // namespace kova
