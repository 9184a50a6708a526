#pragma once
// The spacecraft's two real-number formats, both big-endian.
//   Real48: bytes 0-2 a signed 24-bit mantissa M, byte 3 a signed exponent E, bytes 4-5 an
//           unsigned 16-bit mantissa extension X; value 2^E * (M * 2^-23 +/- X * 2^-39),
//           the extension always moving the value away from zero.
//   Real32: the first four bytes of a Real48; value 2^E * M * 2^-23.
// Thirteen of these are decoded per navigation packet, so they are inline.
#include <bit>
#include <cmath>
#include <cstdint>

#include "core/big_endian.h"

namespace kova {

inline constexpr double kTwoPowerMinus31 = 0x1p-31;  // scales bytes 0-3 with the low byte cleared
inline constexpr double kTwoPowerMinus39 = 0x1p-39;  // scales the extension

namespace real_format_detail {

inline constexpr std::int32_t kExponentByteMask = 0xFF;
inline constexpr unsigned kDoubleFractionBits = 52;
inline constexpr int kDoubleExponentBias = 1023;

// 2^exponent for the exponents a signed byte holds (-128 to 127): every one is a normal
// double, so its bits are just the biased exponent.
inline double powerOfTwo(int exponent) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(exponent + kDoubleExponentBias)
                                 << kDoubleFractionBits);
}

inline double decodeMantissaAndExponent(const std::uint8_t* bytes, std::uint16_t extension) {
    const std::int32_t word = be::loadI32(bytes);
    const std::int32_t high = word & ~kExponentByteMask;  // mantissa in the top 24 bits, sign kept
    const double mantissa = static_cast<double>(high) * kTwoPowerMinus31;
    const double extended = static_cast<double>(extension) * kTwoPowerMinus39;
    // Away from zero: mantissa + extended, or mantissa - extended when the mantissa is
    // negative; the subtraction is the addition of the negated extension, so both are one
    // sum with the extension given the mantissa's sign (+0.0 for a zero mantissa: added).
    const double value = mantissa + std::copysign(extended, mantissa);
    const int exponent = static_cast<std::int8_t>(bytes[3]);
    // The scaling is exact, as std::ldexp would be: |value| is 0 or lies in
    // [2^-39, 1 + 2^-23], so with a factor from 2^-128 to 2^127 the product is never
    // subnormal, never infinite and never rounded.
    return value * powerOfTwo(exponent);
}

}  // namespace real_format_detail

// Exact for every bit pattern (every value is a double); never fails.
inline double decodeReal48(const std::uint8_t* bytes6) {
    return real_format_detail::decodeMantissaAndExponent(bytes6, be::loadU16(bytes6 + 4));
}
// decodeReal48 of the four bytes followed by two zero bytes.
inline double decodeReal32(const std::uint8_t* bytes4) {
    return real_format_detail::decodeMantissaAndExponent(bytes4, 0);
}

}  // namespace kova
