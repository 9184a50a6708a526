#pragma once
// Numbers in fixed-point text for every program, written by hand into a caller's buffer: no
// locale, no stream, no allocation. One rule for every number: the digits of the double's
// exact binary value rounded to nearest with ties to even (as printf's "%.<decimals>f"), and a
// result that prints as zero has no sign ("0.000", never "-0.000").
#include <cstddef>

namespace kova {

// Room enough for any number writeFixedPoint writes (sign, 16 digits, point, exponent).
inline constexpr std::size_t kFixedPointTextCapacity = 32;

// A finite `value` with `decimals` digits after the point (0 to 15; no point for 0), rounded
// as said above. A
// value that would need more than 16 significant digits that way is written as
// d.<15 digits>e<sign><exponent> instead (16 significant digits). Returns one past the last
// character written (at most kFixedPointTextCapacity of them).
char* writeFixedPoint(char* out, double value, int decimals);

}  // namespace kova
