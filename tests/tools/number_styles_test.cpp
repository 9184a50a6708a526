// The dump's number styles must print exactly what a text stream prints in fixed notation
// with showpos, setprecision and setw: the stream is the reference here, for every value but
// a NaN, which always shows as the quiet NaN without its sign.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "tools/number_styles.h"

namespace kova {
namespace {

std::string styledFixed(double value, int digits, bool plusSign) {
    char text[number_style::kMaxNumberText];
    return std::string(text, number_style::writeFixed(text, value, digits, plusSign));
}

std::string streamFixed(double value, int digits, bool plusSign) {
    std::ostringstream stream;
    stream << std::fixed << std::setprecision(digits);
    if (plusSign) stream << std::showpos;
    stream << (std::isnan(value) ? std::numeric_limits<double>::quiet_NaN() : value);
    return stream.str();
}

TEST(FixedStyle, MatchesTheStreamOnEdgeValues) {
    const double values[] = {
        0.0, -0.0, 1.0, -1.0, 0.125, 0.375, -0.125, 2.5e-9, -2.5e-9, 0.005, -0.004999,
        1.0e-300, -1.0e-300, 7000000.123456789, -6378137.0, 2448988.5003125,
        2452641.0003182869, -211592606427.0, 4294967295.0, 1.0e22, -1.7976931348623157e308,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(), 0.99999999999, -0.999999999,
        static_cast<double>(1.0f / 3.0f), 9999999999.999999, -9999999999.9999, 1.0e10, -1.0e10,
        // Exact ties of the last digit: 0.125 at 2 decimals, 1/128 at 6, 1/512 at 8.
        0.0078125, -0.0234375, 0.001953125, -0.005859375, 2.5, 1234567.125, -0.625,
    };
    for (double value : values)
        for (int digits : {2, 6, 8})
            for (bool plusSign : {false, true})
                EXPECT_EQ(styledFixed(value, digits, plusSign), streamFixed(value, digits, plusSign))
                    << "value " << std::setprecision(17) << value << " digits " << digits;
    // A NaN with its sign bit set (as some builds compute it) shows no minus sign.
    EXPECT_EQ(styledFixed(-std::numeric_limits<double>::quiet_NaN(), 6, false), "nan");
    EXPECT_EQ(styledFixed(-std::numeric_limits<double>::quiet_NaN(), 6, true), "+nan");
}

TEST(FixedStyle, MatchesTheStreamOnRandomValuesOfEveryMagnitude) {
    // Random bit patterns cover ties and near-ties that hand-picked values miss.
    std::mt19937_64 generator(20240521);
    std::uniform_int_distribution<int> exponent(-40, 80);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    for (int trial = 0; trial < 20000; ++trial) {
        const double value = std::ldexp(mantissa(generator), exponent(generator));
        for (int digits : {2, 6, 8}) {
            const bool plusSign = (trial & 1) != 0;
            ASSERT_EQ(styledFixed(value, digits, plusSign), streamFixed(value, digits, plusSign))
                << std::setprecision(17) << value;
        }
    }
}

TEST(FixedStyle, MatchesTheStreamOnExactBinaryFractions) {
    // Multiples of 2^-12 hit exact ties at every precision; ties round to even.
    std::mt19937_64 generator(7);
    std::uniform_int_distribution<std::int64_t> numerator(-(std::int64_t{1} << 50), std::int64_t{1} << 50);
    for (int trial = 0; trial < 20000; ++trial) {
        const double value = std::ldexp(static_cast<double>(numerator(generator) >> (trial % 40)), -12);
        for (int digits : {2, 6, 8})
            ASSERT_EQ(styledFixed(value, digits, true), streamFixed(value, digits, true))
                << std::setprecision(17) << value;
    }
}

TEST(UnsignedStyle, RightAlignsInItsFieldAndNeverSigns) {
    struct Case {
        std::uint32_t value;
        unsigned width;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, "0"},       {7, 2, " 7"},           {15, 2, "15"},        {100, 5, "  100"},
        {123456, 5, "123456"}, {4294967295u, 0, "4294967295"}, {0, 5, "    0"},
    };
    for (const Case& c : cases) {
        char text[32];
        EXPECT_EQ(std::string(text, number_style::writeUnsigned(text, c.value, c.width)), c.expected);
    }
}

TEST(SignedStyle, ShowsThePlusOnlyWhileOn) {
    struct Case {
        std::int64_t value;
        bool plusSign;
        const char* expected;
    };
    const Case cases[] = {
        {512, true, "+512"}, {0, true, "+0"}, {-1, true, "-1"}, {512, false, "512"},
        {-1, false, "-1"},   {1099511628288, false, "1099511628288"},
    };
    for (const Case& c : cases) {
        char text[32];
        EXPECT_EQ(std::string(text, number_style::writeSigned(text, c.value, c.plusSign)), c.expected);
    }
}

TEST(HexFlagColumn, IsFourLowerCaseDigitsOfTheLow16Bits) {
    struct Case {
        std::uint32_t flagWord;
        const char* expected;
    };
    const Case cases[] = {{0x0120, "0120"}, {0x0, "0000"}, {0x10000, "0000"}, {0xFFFFABCD, "abcd"}};
    for (const Case& c : cases) {
        char text[8];
        EXPECT_EQ(std::string(text, number_style::writeHex4(text, c.flagWord)), c.expected);
    }
}

}  // namespace
}  // namespace kova
