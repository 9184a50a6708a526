// The exponent of a Real48 or Real32 is applied by multiplying with 2^E built from its bits;
// for every exponent byte and a spread of mantissas and extensions that must be exactly the
// ldexp of the value, with the extension moving the value away from zero.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "packets/real_formats.h"

namespace kova {
namespace {

// The format written out with ldexp and a branch on the sign.
double referenceValue(std::int32_t mantissa24, std::uint16_t extension, std::int8_t exponent) {
    const double mantissa = static_cast<double>(mantissa24) * 0x1p-23;
    const double extended = static_cast<double>(extension) * 0x1p-39;
    return std::ldexp(mantissa24 >= 0 ? mantissa + extended : mantissa - extended, exponent);
}

std::array<std::uint8_t, 6> fieldOf(std::int32_t mantissa24, std::uint16_t extension, std::int8_t exponent) {
    const auto m = static_cast<std::uint32_t>(mantissa24);
    return {static_cast<std::uint8_t>(m >> 16), static_cast<std::uint8_t>(m >> 8), static_cast<std::uint8_t>(m),
            static_cast<std::uint8_t>(exponent), static_cast<std::uint8_t>(extension >> 8),
            static_cast<std::uint8_t>(extension)};
}

TEST(RealFormatScaling, EveryExponentByteMatchesLdexp) {
    constexpr std::int32_t kMantissas[] = {0, 1, -1, 0x400000, -0x400000, 0x7FFFFF, -0x800000, 0x123456, -0x654321};
    constexpr std::uint16_t kExtensions[] = {0, 1, 0x8000, 0xFFFF};
    for (int exponent = -128; exponent <= 127; ++exponent) {
        const auto e = static_cast<std::int8_t>(exponent);
        for (std::int32_t mantissa : kMantissas) {
            for (std::uint16_t extension : kExtensions) {
                const auto field = fieldOf(mantissa, extension, e);
                const double expected = referenceValue(mantissa, extension, e);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(decodeReal48(field.data())), std::bit_cast<std::uint64_t>(expected))
                    << "M " << mantissa << " X " << extension << " E " << exponent;
            }
            const auto field = fieldOf(mantissa, 0, e);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(decodeReal32(field.data())),
                      std::bit_cast<std::uint64_t>(referenceValue(mantissa, 0, e)))
                << "M " << mantissa << " E " << exponent;
        }
    }
}

TEST(RealFormatScaling, ZeroMantissaKeepsAPositiveExtension) {
    // A zero mantissa counts as non-negative: the extension is added, never subtracted.
    const auto field = fieldOf(0, 0x0100, 3);
    EXPECT_EQ(decodeReal48(field.data()), 256.0 * 0x1p-39 * 8.0);
    const auto zero = fieldOf(0, 0, -5);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(decodeReal48(zero.data())), std::bit_cast<std::uint64_t>(0.0));
}

}  // namespace
}  // namespace kova
