#include "packets/real_formats.h"

#include <cmath>

#include "run/big_endian.h"

namespace kova {

namespace {

constexpr std::int32_t kExponentByteMask = 0xFF;

double decodeMantissaAndExponent(const std::uint8_t* bytes, std::uint16_t extension) {
    const std::int32_t word = be::loadI32(bytes);
    const std::int32_t high = word & ~kExponentByteMask;  // mantissa in the top 24 bits, sign kept
    const double mantissa = static_cast<double>(high) * kTwoPowerMinus31;
    const double extended = static_cast<double>(extension) * kTwoPowerMinus39;
    const double value = high >= 0 ? mantissa + extended : mantissa - extended;
    const int exponent = static_cast<std::int8_t>(bytes[3]);
    return std::ldexp(value, exponent);  // exact: a power of two within the double range
}

}  // namespace

double decodeReal48(const std::uint8_t* bytes6) {
    return decodeMantissaAndExponent(bytes6, be::loadU16(bytes6 + 4));
}

double decodeReal32(const std::uint8_t* bytes4) { return decodeMantissaAndExponent(bytes4, 0); }

}  // namespace kova
