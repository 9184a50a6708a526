#pragma once
// The spacecraft's two real-number formats, both big-endian.
//   Real48: bytes 0-2 a signed 24-bit mantissa M, byte 3 a signed exponent E, bytes 4-5 an
//           unsigned 16-bit mantissa extension X; value 2^E * (M * 2^-23 +/- X * 2^-39),
//           the extension always moving the value away from zero.
//   Real32: the first four bytes of a Real48; value 2^E * M * 2^-23.
#include <cstdint>

namespace kova {

inline constexpr double kTwoPowerMinus31 = 0x1p-31;  // scales bytes 0-3 with the low byte cleared
inline constexpr double kTwoPowerMinus39 = 0x1p-39;  // scales the extension

// Exact for every bit pattern (every value is a double); never fails.
double decodeReal48(const std::uint8_t* bytes6);
// decodeReal48 of the four bytes followed by two zero bytes.
double decodeReal32(const std::uint8_t* bytes4);

}  // namespace kova
