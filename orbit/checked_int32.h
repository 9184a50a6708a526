#pragma once
// Conversion of a double to a 32-bit integer that is defined for every input.
#include <cmath>
#include <cstdint>

namespace kova {

// The value truncated toward zero. NaN, or a truncated value outside [-2^31, 2^31 - 1],
// gives 0: element sets are text from outside and may hold anything.
inline std::int32_t int32FromDouble(double value) {
    const double truncated = std::trunc(value);
    if (!(truncated >= -2147483648.0 && truncated <= 2147483647.0)) return 0;
    return static_cast<std::int32_t>(truncated);
}

}  // namespace kova
