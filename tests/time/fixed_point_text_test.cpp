// The one fixed-point writer: exact rounding with ties to even, no negative zero, no point
// without decimals, and the switch to 16 significant digits for values too long for it.
#include <gtest/gtest.h>

#include <string>

#include "time/fixed_point_text.h"

namespace kova {
namespace {

std::string fixedText(double value, int decimals) {
    char text[kFixedPointTextCapacity];
    return std::string(text, writeFixedPoint(text, value, decimals));
}

TEST(FixedPointText, OneRoundingAndOneNegativeZeroRule) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.125, 2, "0.12"},    // an exact tie: even
        {0.375, 2, "0.38"},
        {2.675, 2, "2.67"},    // 2.67499999999999982236431605997495353221893310546875
        {-0.0, 3, "0.000"},
        {-0.0004, 3, "0.000"}, // rounds to zero: no sign
        {-0.0005, 3, "-0.001"},// 0.000500000000000000010408...: away from zero
        {-1.5, 0, "-2"},
        {2.5, 0, "2"},
        {6378137.0, 0, "6378137"},
        {123456789.123456789, 6, "123456789.123457"},
        {0.1, 15, "0.100000000000000"},
        {1e15, 1, "1.000000000000000e+15"},  // 17 significant digits in fixed point
        {-1e300, 3, "-1.000000000000000e+300"},
    };
    for (const Case& c : cases) EXPECT_EQ(fixedText(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
}

}  // namespace
}  // namespace kova
