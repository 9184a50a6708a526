#include "tools/number_styles.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/canonical_nan.h"

namespace kova::number_style {

char* writeUnsigned(char* out, std::uint32_t value, unsigned width) {
    char digits[16];
    const auto converted = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<unsigned>(converted.ptr - digits);
    for (unsigned fill = length; fill < width; ++fill) *out++ = ' ';
    std::memcpy(out, digits, length);
    return out + length;
}

char* writeSigned(char* out, std::int64_t value, bool plusSign) {
    if (plusSign && value >= 0) *out++ = '+';
    return std::to_chars(out, out + 24, value).ptr;
}

namespace {

__extension__ typedef unsigned __int128 WideUnsigned;

constexpr std::uint64_t kPowersOfTen[kMaxFixedDigits + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// Below this magnitude a value times 10^8 stays below 2^64 after rounding.
constexpr double kExactPathLimit = 1.0e10;

// Fixed-point text of a finite |value| < kExactPathLimit, computed exactly from the binary
// value: the mantissa times 10^digits, shifted right with round-half-even, as the C
// library's correctly rounded conversion does, without its cost.
char* writeFixedExactly(char* out, double value, int digits) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const unsigned exponentField = static_cast<unsigned>((bits >> 52) & 0x7FFu);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t mantissa = exponentField == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    // value = mantissa * 2^-shift; below the limit the shift is always positive.
    const unsigned shift = exponentField == 0 ? 1074u : 1075u - exponentField;
    const WideUnsigned scaled = WideUnsigned{mantissa} * kPowersOfTen[digits];
    std::uint64_t rounded = 0;
    if (shift < 128) {
        rounded = static_cast<std::uint64_t>(scaled >> shift);
        const WideUnsigned remainder = scaled - (WideUnsigned{rounded} << shift);
        const WideUnsigned half = WideUnsigned{1} << (shift - 1);
        if (remainder > half || (remainder == half && (rounded & 1u) != 0)) ++rounded;
    }  // else scaled < 2^80 is far below half a unit of the last digit: it rounds to 0

    if ((bits >> 63) != 0) *out++ = '-';
    const std::uint64_t unit = kPowersOfTen[digits];
    out = std::to_chars(out, out + 24, rounded / unit).ptr;
    if (digits == 0) return out;
    *out++ = '.';
    std::uint64_t decimals = rounded % unit;
    for (int position = digits - 1; position >= 0; --position) {
        out[position] = static_cast<char>('0' + decimals % 10);
        decimals /= 10;
    }
    return out + digits;
}

}  // namespace

char* writeFixed(char* out, double value, int digits, bool plusSign) {
    if (digits < 0) digits = 0;
    if (digits > kMaxFixedDigits) digits = kMaxFixedDigits;
    // Every NaN shows as "nan": its sign bit is an accident of the build that made the file.
    value = withCanonicalNan(value);
    // As with the C library's "%.*f", the '-' of a negative value (and of -0.0) belongs to the
    // number; only the '+' is ours to add.
    if (plusSign && !std::signbit(value)) *out++ = '+';
    if (std::isfinite(value) && std::fabs(value) < kExactPathLimit)
        return writeFixedExactly(out, value, digits);
    return std::to_chars(out, out + (kMaxNumberText - 1), value, std::chars_format::fixed, digits)
        .ptr;
}

char* writeHex4(char* out, std::uint32_t flagWord) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4) *out++ = kHexDigits[(flagWord >> shift) & 0xFu];
    return out;
}

}  // namespace kova::number_style
