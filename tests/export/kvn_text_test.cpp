// Number and epoch texts of the data lines: the hand-written digits equal std::to_chars's
// correctly rounded ones, no negative zero, at most 16 significant digits, and the epochs
// of the reference's examples.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "export/kvn_text.h"

namespace kova::test {
namespace {

std::string fixedText(double value, int decimals) {
    char text[kvn::kNumberTextCapacity];
    return std::string(text, kvn::writeFixed(text, value, decimals));
}

std::string toCharsText(double value, int decimals) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr);
}

std::string epochText(double tai93Seconds) {
    std::int64_t microseconds = 0;
    if (!kvn::microsecondsSince1993(tai93Seconds, microseconds)) return "none";
    char text[kvn::kEpochTextSize];
    return std::string(text, kvn::writeEpoch(text, microseconds));
}

int significantDigits(const std::string& text) {
    const std::size_t exponent = text.find_first_of("eE");
    std::string digits;
    for (char c : text.substr(0, exponent)) {
        if (c >= '0' && c <= '9') digits += c;
    }
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? 0 : static_cast<int>(digits.size() - first);
}

TEST(FixedText, EqualsCorrectlyRoundedDigitsOverTheValuesKovaWrites) {
    std::mt19937_64 random(957);
    std::uniform_real_distribution<double> exponent(-20.0, 7.0);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int decimals : {9, 12, 15}) {
        for (int n = 0; n < 200000; ++n) {
            double value = std::pow(10.0, exponent(random));
            if (n % 2 == 1) value = -value;
            if (n % 7 == 0) value = std::bit_cast<double>((bits(random) & 0x000FFFFFFFFFFFFFull) | 0x4000000000000000ull);
            const std::string expected = toCharsText(value, decimals);
            if (significantDigits(expected) > 16) continue;  // written in the exponent form instead
            const std::string got = fixedText(value, decimals);
            ASSERT_EQ(got, expected.find_first_not_of("-0.") == std::string::npos && expected[0] == '-'
                               ? expected.substr(1)
                               : expected)
                << value << " with " << decimals << " decimals";
        }
    }
}

TEST(FixedText, ExactTiesGoToTheEvenDigitAsPrintfDoes) {
    EXPECT_EQ(fixedText(0.0009765625, 9), "0.000976562");  // 976562.5 units of 1e-9
    EXPECT_EQ(fixedText(0.0029296875, 9), "0.002929688");  // 2929687.5
    EXPECT_EQ(fixedText(0.5, 0 + 1), "0.5");
    EXPECT_EQ(fixedText(0.25, 1), "0.2");
    EXPECT_EQ(fixedText(0.75, 1), "0.8");
}

TEST(FixedText, WritesNoNegativeZero) {
    EXPECT_EQ(fixedText(-0.0, 9), "0.000000000");
    EXPECT_EQ(fixedText(-1e-10, 9), "0.000000000");
    EXPECT_EQ(fixedText(-4.9e-16, 15), "0.000000000000000");
    EXPECT_EQ(fixedText(-5.1e-16, 15), "-0.000000000000001");
    EXPECT_EQ(fixedText(std::numeric_limits<double>::denorm_min() * -1.0, 12), "0.000000000000");
}

TEST(FixedText, LargeValuesKeepSixteenSignificantDigitsInTheExponentForm) {
    EXPECT_EQ(fixedText(9999999.123456789, 9), "9999999.123456789");
    EXPECT_EQ(fixedText(12345678.0, 9), "1.234567800000000e+07");
    EXPECT_EQ(fixedText(9999999.9999999999, 9), "1.000000000000000e+07");  // rounds past 16 digits
    EXPECT_EQ(fixedText(-1.7e38, 12), "-1.700000000000000e+38");
    EXPECT_EQ(fixedText(std::numeric_limits<double>::max(), 9).size(), 22u);
    for (const double value : {1.5e7, 3.0e12, -2.5e200}) {
        EXPECT_EQ(significantDigits(fixedText(value, 9)), 16) << value;
    }
}

TEST(EpochText, PrintsTheReferenceExamplesAsTheyAreStored) {
    EXPECT_EQ(epochText(1009843172.9999855), "2025-01-01T00:00:00.000000");
    EXPECT_EQ(epochText(1009843173.9999801), "2025-01-01T00:00:00.999994");
    EXPECT_EQ(epochText(-kvn::kTai93ZeroAfter1993), "1993-01-01T00:00:00.000000");
}

TEST(EpochText, DatesBefore1993UseFloorDivision) {
    EXPECT_EQ(epochText(-kvn::kTai93ZeroAfter1993 - 1e-6), "1992-12-31T23:59:59.999999");
    EXPECT_EQ(epochText(-kvn::kTai93ZeroAfter1993 - 86400.0 * 366), "1992-01-01T00:00:00.000000");
    // The Julian date 0 of a node time that was never set.
    EXPECT_EQ(epochText(-211592606427.0), "none");  // 4713 BC: no four-digit year
}

TEST(EpochText, LeapDaysAndYearEnds) {
    const double day = 86400.0;
    const double start2000 = (static_cast<double>(kvn::daysFromCivil(2000, 1, 1) - kvn::kDays1970To1993)) * day -
                             kvn::kTai93ZeroAfter1993;
    EXPECT_EQ(epochText(start2000 + 59 * day), "2000-02-29T00:00:00.000000");
    EXPECT_EQ(epochText(start2000 + 366 * day - 0.5), "2000-12-31T23:59:59.500000");
    EXPECT_EQ(epochText(start2000 + 366 * day), "2001-01-01T00:00:00.000000");
}

TEST(EpochText, TimesWithoutAFourDigitYearHaveNoText) {
    EXPECT_EQ(epochText(std::numeric_limits<double>::quiet_NaN()), "none");
    EXPECT_EQ(epochText(std::numeric_limits<double>::infinity()), "none");
    EXPECT_EQ(epochText(1e13), "none");
    const double lastSecond = static_cast<double>(kvn::kLastWritableMicroseconds / 1000000) - kvn::kTai93ZeroAfter1993;
    EXPECT_EQ(epochText(lastSecond), "9999-12-31T23:59:59.000000");
    EXPECT_EQ(epochText(lastSecond + 2.0), "none");
}

TEST(EpochText, ConsecutiveEpochsShareTheDateTextOfTheirDay) {
    kvn::EpochTextWriter writer;
    char text[kvn::kEpochTextSize];
    const std::int64_t midnight = 12 * kvn::kMicrosecondsPerDay;
    writer.write(text, midnight - 1);
    EXPECT_EQ(std::string(text, sizeof text), "1993-01-12T23:59:59.999999");
    writer.write(text, midnight);
    EXPECT_EQ(std::string(text, sizeof text), "1993-01-13T00:00:00.000000");
    writer.write(text, midnight - 2);
    EXPECT_EQ(std::string(text, sizeof text), "1993-01-12T23:59:59.999998");
}

TEST(CivilDays, RoundTripOverFiveThousandYears) {
    for (std::int64_t days = kvn::daysFromCivil(0, 1, 1); days < kvn::daysFromCivil(5000, 1, 1); days += 97) {
        const kvn::CivilDate date = kvn::civilFromDays(days);
        ASSERT_EQ(kvn::daysFromCivil(date.year, date.month, date.day), days);
    }
    EXPECT_EQ(kvn::kDays1970To1993, 8401);
}

}  // namespace
}  // namespace kova::test
