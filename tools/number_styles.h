#pragma once
// Number styles of the dump text. Each routine writes one number into a character buffer and
// returns the end of what it wrote; none allocates. The characters are those a text stream
// prints in fixed-point notation with the given precision, field width (blank fill, right
// aligned) and plus-sign setting, so the dump reads the same as a stream-formatted one.
#include <cstddef>
#include <cstdint>

namespace kova::number_style {

// Most decimals a fixed-point style has (F8); more are cut to this.
inline constexpr int kMaxFixedDigits = 8;
// Room one number may need: a fixed-point double near 1.8e308 with 8 decimals and a sign.
inline constexpr std::size_t kMaxNumberText = 400;

// Style U (width 0) and U2, U5 (width 2, 5): unsigned decimal of the 32-bit value, never a
// sign, right-aligned in `width` characters; a wider number overflows the field.
char* writeUnsigned(char* out, std::uint32_t value, unsigned width = 0);

// Style S: signed decimal, with a leading '+' on values >= 0 while `plusSign` is on.
char* writeSigned(char* out, std::int64_t value, bool plusSign);

// Styles F2, F6, F8: fixed-point with `digits` decimals, no exponent, correctly rounded
// (ties to even, as the C library prints). A negative value, -0.0 included, and one that
// rounds to zero keep their '-'; values >= 0 get a '+' while `plusSign` is on. Infinities and
// NaNs print as inf and nan with the same sign rule.
char* writeFixed(char* out, double value, int digits, bool plusSign);

// The low 16 bits of a quality flag word as exactly four lower-case hexadecimal digits.
char* writeHex4(char* out, std::uint32_t flagWord);

}  // namespace kova::number_style
