#include "generator/real_encoding.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "core/big_endian.h"

namespace kova::generator {

namespace {

constexpr int kMinExponent = -128;
constexpr int kMaxExponent = 127;
constexpr std::uint32_t kMantissaMask = 0xFFFFFF;  // 24-bit two's complement

// Splits |value| into an exponent e and an integer mantissa of `bits` bits with its top
// bit set (value = mantissa * 2^(e - bits)). False when the value encodes as zero.
bool normalise(double value, int bits, std::uint64_t& mantissa, int& exponent) {
    if (!std::isfinite(value)) throw std::domain_error("value is not finite");
    if (value == 0.0) return false;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
    if (exponent < kMinExponent) return false;
    mantissa = static_cast<std::uint64_t>(std::nearbyint(std::ldexp(fraction, bits)));
    if (mantissa == (std::uint64_t{1} << bits)) {  // rounded up to the next power of two
        mantissa >>= 1;
        ++exponent;
    }
    if (exponent > kMaxExponent) throw std::range_error("value beyond the exponent range");
    return true;
}

void storeMantissaAndExponent(std::uint32_t magnitude24, bool negative, int exponent, std::uint8_t* bytes) {
    const std::uint32_t mantissa = negative ? (0u - magnitude24) & kMantissaMask : magnitude24;
    const std::uint8_t exponentByte = static_cast<std::uint8_t>(static_cast<std::int8_t>(exponent));
    be::storeU32(bytes, (mantissa << 8) | exponentByte);
}

}  // namespace

void encodeReal48(double value, std::uint8_t* bytes6) {
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (!normalise(value, 39, mantissa, exponent)) {
        std::memset(bytes6, 0, 6);
        return;
    }
    // Top 23 bits to the signed high part, low 16 bits to the extension, which the
    // decoder adds to the magnitude whatever the sign.
    storeMantissaAndExponent(static_cast<std::uint32_t>(mantissa >> 16), value < 0.0, exponent, bytes6);
    be::storeU16(bytes6 + 4, static_cast<std::uint16_t>(mantissa & 0xFFFF));
}

void encodeReal32(double value, std::uint8_t* bytes4) {
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (!normalise(value, 23, mantissa, exponent)) {
        std::memset(bytes4, 0, 4);
        return;
    }
    storeMantissaAndExponent(static_cast<std::uint32_t>(mantissa), value < 0.0, exponent, bytes4);
}

}  // namespace kova::generator
