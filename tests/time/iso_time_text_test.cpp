// The ISO 8601 time text every program prints instants with: the TAI93 zero as held, the
// rounding to ticks, the calendar on both sides of 1993 and at the ends of the writable years.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "time/iso_time_text.h"
#include "time/time_scales.h"

namespace kova {
namespace {

std::string isoText(double secondsSince1993, int digits) {
    std::int64_t ticks = 0;
    if (!isoTicksSince1993(secondsSince1993, digits, ticks)) return "none";
    char text[kIsoTimeTextCapacity];
    char* end = writeIsoTime(text, ticks, digits);
    EXPECT_EQ(static_cast<std::size_t>(end - text), isoTimeTextSize(digits));
    return std::string(text, end);
}

TEST(IsoTimeText, TheTai93ZeroIsTheHeldJulianDate) {
    // 27 s after midnight is 0.0003125 day; the nearest double to 2448988.5003125 lies
    // 14.48 us later, and that is the zero every file time counts from.
    EXPECT_EQ(kTai93ZeroAfter1993, 27.000014483928680);
    EXPECT_EQ(tai93FromJulianDate(kJulianDate1993), -kTai93ZeroAfter1993);
    std::int64_t ticks = 0;
    ASSERT_TRUE(isoTicksOfTai93(0.0, 6, ticks));
    EXPECT_EQ(ticks, 27000014);
}

TEST(IsoTimeText, TicksRoundToNearestWithTiesToEven) {
    struct Case {
        double seconds;
        int digits;
        const char* text;
    };
    const Case cases[] = {
        {0.0, 0, "1993-01-01T00:00:00"},
        {0.5, 0, "1993-01-01T00:00:00"},  // a tie goes to the even second
        {1.5, 0, "1993-01-01T00:00:02"},
        {0.0625, 3, "1993-01-01T00:00:00.062"},  // 62.5 ms exactly: even
        {0.0635, 3, "1993-01-01T00:00:00.064"},  // not a tie in binary (0.06350000000000000255)
        {86399.9995, 3, "1993-01-02T00:00:00.000"},  // rounds into the next day
        {-1e-6, 6, "1992-12-31T23:59:59.999999"},
        {-86400.0 * 366, 6, "1992-01-01T00:00:00.000000"},
        {1009843173.9999801, 6, "2024-12-31T23:59:33.999980"},
        {0.123456789, 6, "1993-01-01T00:00:00.123457"},
        {0.123456789, 1, "1993-01-01T00:00:00.1"},
        {1e12, 3, "none"},
        {std::numeric_limits<double>::quiet_NaN(), 3, "none"},
        {std::numeric_limits<double>::infinity(), 6, "none"},
        {0.0, 7, "none"},
        {0.0, -1, "none"},
    };
    for (const Case& c : cases) EXPECT_EQ(isoText(c.seconds, c.digits), c.text) << c.seconds << " " << c.digits;
}

TEST(IsoTimeText, WritableYearsAreZeroToNineThousandNineHundredNinetyNine) {
    const double firstSecond = static_cast<double>((daysFromCivil(0, 1, 1) - kDays1970To1993) * 86400);
    const double afterLast = static_cast<double>((daysFromCivil(10000, 1, 1) - kDays1970To1993) * 86400);
    EXPECT_EQ(isoText(firstSecond, 3), "0000-01-01T00:00:00.000");
    EXPECT_EQ(isoText(firstSecond - 1.0, 3), "none");
    EXPECT_EQ(isoText(afterLast - 1.0, 0), "9999-12-31T23:59:59");
    EXPECT_EQ(isoText(afterLast, 0), "none");
    // Leap days of the calendar: 2000 is a leap year, 2100 is not.
    EXPECT_EQ(isoText(static_cast<double>((daysFromCivil(2000, 2, 29) - kDays1970To1993) * 86400), 0),
              "2000-02-29T00:00:00");
    EXPECT_EQ(isoText(static_cast<double>((daysFromCivil(2100, 3, 1) - kDays1970To1993 - 1) * 86400), 0),
              "2100-02-28T00:00:00");
}

TEST(IsoTimeText, TheSequenceWriterFollowsDayChangesBothWays) {
    IsoTimeTextWriter writer;
    char text[kIsoTimeTextCapacity];
    const std::int64_t day = 86400000;
    const std::int64_t times[] = {day - 1, day, day - 1, -1, 5 * day + 1};
    const char* expected[] = {"1993-01-01T23:59:59.999", "1993-01-02T00:00:00.000", "1993-01-01T23:59:59.999",
                              "1992-12-31T23:59:59.999", "1993-01-06T00:00:00.001"};
    for (std::size_t n = 0; n < std::size(times); ++n) {
        EXPECT_EQ(std::string(text, writer.write(text, times[n], 3)), expected[n]);
        EXPECT_EQ(std::string(text, writeIsoTime(text, times[n], 3)), expected[n]);
    }
}

}  // namespace
}  // namespace kova
