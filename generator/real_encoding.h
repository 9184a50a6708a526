#pragma once
// Encoders of the spacecraft's Real48 and Real32 formats, the inverses of decodeReal48 and
// decodeReal32: every value those formats hold encodes to bytes that decode to exactly that
// value; any other value is rounded to the nearest one they hold (ties to even).
#include <cstdint>

namespace kova::generator {

// Magnitudes below 2^-129 encode as zero. Throws std::range_error for a magnitude of
// 2^127 or more (after rounding) and std::domain_error for a value that is not finite.
void encodeReal48(double value, std::uint8_t* bytes6);
void encodeReal32(double value, std::uint8_t* bytes4);

}  // namespace kova::generator
