#pragma once
// One NaN for everything kova writes or prints. The IEEE standard leaves the sign and payload
// of a NaN open, and compilers and optimisation levels really do give different ones for the
// same degenerate input (a zero position vector, say); products and reports must be the same
// bytes from every build, so every NaN leaves the program as the one quiet NaN.
#include <bit>
#include <cmath>
#include <cstdint>

namespace kova {

inline constexpr std::uint64_t kCanonicalNanBits = 0x7FF8000000000000u;

// `value`, or the quiet NaN 7FF8000000000000 when it is any NaN.
inline double withCanonicalNan(double value) {
    return std::isnan(value) ? std::bit_cast<double>(kCanonicalNanBits) : value;
}

}  // namespace kova
