#include "time/fixed_point_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kova {

namespace {

constexpr std::array<std::uint64_t, 16> kPowersOfTen = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
    1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull,
    100000000000000ull, 1000000000000000ull};
// Exact products of a 53-bit mantissa and a power of ten up to 10^15 (GCC and Clang).
__extension__ using Uint128 = unsigned __int128;

constexpr std::uint64_t kSixteenDigitLimit = 10000000000000000ull;  // 10^16

// |value| * 10^decimals rounded to an integer, ties to even, for |value| < 2^40; the caller
// keeps decimals <= 15 so the exact product (< 2^53 * 10^15 < 2^103) fits in 128 bits.
std::uint64_t scaledAndRounded(double magnitude, int decimals) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    const int biasedExponent = static_cast<int>(bits >> 52);
    int exponent = -1074;  // subnormal: mantissa * 2^-1074
    if (biasedExponent != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biasedExponent - 1075;
    }
    // magnitude = mantissa * 2^exponent with exponent < 0, since magnitude < 2^40.
    const Uint128 scaled = static_cast<Uint128>(mantissa) * kPowersOfTen[static_cast<std::size_t>(decimals)];
    const int shift = -exponent;
    if (shift >= 128) return 0;  // scaled < 2^103 <= half of 2^shift: rounds to 0
    Uint128 quotient = scaled >> shift;
    const Uint128 remainder = scaled - (quotient << shift);
    const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1) != 0)) ++quotient;
    return static_cast<std::uint64_t>(quotient);
}


constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

char* writeFixedPoint(char* out, double value, int decimals) {
    const double magnitude = std::fabs(value);
    if (magnitude < 0x1p40) {
        std::uint64_t digits = scaledAndRounded(magnitude, decimals);
        if (digits < kSixteenDigitLimit) {
            if (digits != 0 && value < 0.0) *out++ = '-';
            // At least one digit before the point: the digit count of max(digits, 10^decimals).
            int count = decimals + 1;
            while (count < 16 && digits >= kPowersOfTen[static_cast<std::size_t>(count)]) ++count;
            char* const end = out + count + (decimals > 0 ? 1 : 0);
            char* cursor = end;
            int written = 0;
            // Right to left, two digits at a time; the point goes in after `decimals` digits.
            while (written + 2 <= decimals) {
                cursor -= 2;
                std::memcpy(cursor, kDigitPairs + 2 * (digits % 100), 2);
                digits /= 100;
                written += 2;
            }
            if (written < decimals) {
                *--cursor = static_cast<char>('0' + digits % 10);
                digits /= 10;
                ++written;
            }
            if (decimals > 0) *--cursor = '.';
            while (written + 2 <= count) {
                cursor -= 2;
                std::memcpy(cursor, kDigitPairs + 2 * (digits % 100), 2);
                digits /= 100;
                written += 2;
            }
            if (written < count) *--cursor = static_cast<char>('0' + digits % 10);
            return end;
        }
    }
    // Too large for 16 significant digits in fixed point (never for kova's positions of less
    // than 10^7 km, nor for a report's times and heights): a mantissa d.ddd with 16
    // significant digits.
    return std::to_chars(out, out + kFixedPointTextCapacity, value, std::chars_format::scientific, 15).ptr;
}

}  // namespace kova
