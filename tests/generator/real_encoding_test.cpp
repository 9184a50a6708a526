#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <stdexcept>

#include "generator/real_encoding.h"
#include "packets/real_formats.h"

namespace kova::generator {
namespace {

using Bytes6 = std::array<std::uint8_t, 6>;

Bytes6 encode48(double value) {
    Bytes6 bytes{};
    encodeReal48(value, bytes.data());
    return bytes;
}

TEST(Real48Encoding, KnownBytes) {
    EXPECT_EQ(encode48(1.0), (Bytes6{0x40, 0x00, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(encode48(-1.0), (Bytes6{0xC0, 0x00, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(encode48(1.0000001192092896), (Bytes6{0x40, 0x00, 0x00, 0x01, 0x80, 0x00}));
    EXPECT_EQ(encode48(-1.0000001192092896), (Bytes6{0xC0, 0x00, 0x00, 0x01, 0x80, 0x00}));
    EXPECT_EQ(encode48(12582912.0), (Bytes6{0x60, 0x00, 0x00, 0x18, 0x00, 0x00}));
    EXPECT_EQ(encode48(0.0), (Bytes6{}));
    EXPECT_EQ(encode48(-0.0), (Bytes6{}));
    EXPECT_EQ(encode48(0x1p-140), (Bytes6{}));  // below the exponent range
}

TEST(Real48Encoding, ExactInverseOfTheDecoderForEveryValueItHolds) {
    std::mt19937_64 random(42);
    for (int i = 0; i < 20000; ++i) {
        // A normalised pattern: mantissa magnitude in [2^22, 2^23), any sign, exponent, extension.
        const std::uint32_t magnitude = (1u << 22) | static_cast<std::uint32_t>(random() & 0x3FFFFF);
        const bool negative = random() & 1;
        const std::uint32_t mantissa = negative ? (0u - magnitude) & 0xFFFFFF : magnitude;
        const Bytes6 bytes = {static_cast<std::uint8_t>(mantissa >> 16), static_cast<std::uint8_t>(mantissa >> 8),
                              static_cast<std::uint8_t>(mantissa), static_cast<std::uint8_t>(random()),
                              static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random())};
        const double value = decodeReal48(bytes.data());
        ASSERT_EQ(encode48(value), bytes) << value;
        ASSERT_EQ(decodeReal48(encode48(value).data()), value);
    }
}

TEST(Real48Encoding, RoundsOtherValuesToTheNearestHeld) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> uniform(-1.0e7, 1.0e7);
    for (int i = 0; i < 20000; ++i) {
        const double value = uniform(random);
        const double held = decodeReal48(encode48(value).data());
        int exponent = 0;
        std::frexp(value, &exponent);
        // Half a unit in the last of the 39 magnitude bits (23 of the high part, 16 of the
        // extension).
        ASSERT_LE(std::fabs(held - value), std::ldexp(0.5, exponent - 39)) << value;
    }
}

TEST(Real48Encoding, RoundingUpToTheNextPowerOfTwoRenormalises) {
    const double justBelowOne = 1.0 - 0x1p-45;
    EXPECT_EQ(decodeReal48(encode48(justBelowOne).data()), 1.0);
    EXPECT_EQ(decodeReal48(encode48(-justBelowOne).data()), -1.0);
}

TEST(Real48Encoding, RefusesValuesItCannotHold) {
    std::uint8_t bytes[6];
    EXPECT_THROW(encodeReal48(0x1p127, bytes), std::range_error);
    EXPECT_THROW(encodeReal48(NAN, bytes), std::domain_error);
    EXPECT_NO_THROW(encodeReal48(0x1.fffffp126, bytes));
}

TEST(Real32Encoding, KnownBytesAndExactInverse) {
    std::array<std::uint8_t, 4> bytes{};
    encodeReal32(1.0, bytes.data());
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0x40, 0x00, 0x00, 0x01}));
    encodeReal32(-0.75 * 0x1p-10, bytes.data());
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0xA0, 0x00, 0x00, 0xF6}));

    std::mt19937_64 random(3);
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t magnitude = (1u << 22) | static_cast<std::uint32_t>(random() & 0x3FFFFF);
        const std::uint32_t mantissa = (random() & 1) ? (0u - magnitude) & 0xFFFFFF : magnitude;
        const std::array<std::uint8_t, 4> pattern = {static_cast<std::uint8_t>(mantissa >> 16),
                                                     static_cast<std::uint8_t>(mantissa >> 8),
                                                     static_cast<std::uint8_t>(mantissa),
                                                     static_cast<std::uint8_t>(random())};
        encodeReal32(decodeReal32(pattern.data()), bytes.data());
        ASSERT_EQ(bytes, pattern);
    }
    // A rate with more bits than the format holds keeps 23 magnitude bits.
    encodeReal32(-1.06e-3, bytes.data());
    EXPECT_NEAR(decodeReal32(bytes.data()), -1.06e-3, 1.06e-3 * 0x1p-23);
}

}  // namespace
}  // namespace kova::generator
