#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "time/julian_date.h"
#include "time/time_range_text.h"
#include "time/time_scales.h"
#include "time/ut_correction.h"

namespace kova {
namespace {

constexpr std::size_t kField = 48;
constexpr std::uint8_t kFill = 0xAA;

// A Julian date whose UT-corrected calendar time is the given one: invert the correction
// with a few fixed-point steps (it changes by far less than a microsecond per second).
double tdtForUtCalendar(std::uint32_t y, std::uint32_t mo, std::uint32_t d, std::uint32_t h,
                        std::uint32_t mi, double s) {
    JulianDate ut;
    ut.fromCalendar(y, mo, d, h, mi, s);
    double jd = ut.julianDate();
    for (int i = 0; i < 4; ++i) jd = ut.julianDate() + utCorrection(jd);
    return jd;
}

std::string textAt(const std::array<std::uint8_t, 64>& field, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(field.data() + offset));
}

TEST(TimeRangeText, LayoutOfStartAndEndTexts) {
    std::array<std::uint8_t, 64> field{};
    field.fill(0);
    formatTimeRange(tdtForUtCalendar(2003, 7, 30, 14, 5, 9.5), tdtForUtCalendar(2003, 7, 31, 2, 0, 0.5),
                    field.data());
    EXPECT_EQ(textAt(field, 0), "2003-07-30T14:05:09Z to ");
    EXPECT_EQ(field[24], 0);
    EXPECT_EQ(textAt(field, 25), "2003-07-31T02:00:00Z ");
    EXPECT_EQ(field[46], 0);
    EXPECT_EQ(field[47], 0);
}

TEST(TimeRangeText, ByteFortySevenIsLeftAsItWas) {
    std::array<std::uint8_t, 64> field{};
    field.fill(kFill);
    formatTimeRange(2452851.25, 2452851.5, field.data());
    EXPECT_EQ(field[24], 0);
    EXPECT_EQ(field[46], 0);
    EXPECT_EQ(field[47], kFill);
    for (std::size_t i = kField; i < field.size(); ++i) EXPECT_EQ(field[i], kFill) << i;
}

TEST(TimeRangeText, SecondsAreTruncated) {
    std::array<std::uint8_t, 64> field{};
    formatTimeRange(tdtForUtCalendar(2003, 1, 1, 0, 0, 59.9), tdtForUtCalendar(2003, 1, 1, 23, 59, 59.9),
                    field.data());
    EXPECT_EQ(textAt(field, 0), "2003-01-01T00:00:59Z to ");
    EXPECT_EQ(textAt(field, 25), "2003-01-01T23:59:59Z ");
}

// Years past 9999, and dates with no meaningful calendar at all, must never write past
// the 48 bytes of the field.
TEST(TimeRangeText, NothingOverrunsTheFieldWhateverTheDate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double dates[] = {6230056.5, 1e9, -1e9, 1e300, -1e300, nan, inf, -inf};
    for (double start : dates) {
        for (double end : dates) {
            std::array<std::uint8_t, 64> field{};
            field.fill(kFill);
            formatTimeRange(start, end, field.data());
            for (std::size_t i = kField; i < field.size(); ++i) {
                ASSERT_EQ(field[i], kFill) << "start " << start << " end " << end << " byte " << i;
            }
        }
    }
}

TEST(TimeRangeText, FiveDigitYearShiftsTheTextsButStaysInTheField) {
    std::array<std::uint8_t, 64> field{};
    field.fill(kFill);
    const double year12345 = 6230056.5;
    formatTimeRange(year12345, year12345, field.data());
    // The start text (25 characters) runs into byte 24; the end text still starts at 25
    // and, at 22 characters, puts its NUL into the last byte of the field.
    const std::string start(reinterpret_cast<const char*>(field.data()), 25);
    const std::string end(reinterpret_cast<const char*>(field.data() + 25), 22);
    EXPECT_EQ(start.substr(0, 6), "12345-");
    EXPECT_EQ(start.substr(20), "Z to ");
    EXPECT_EQ(end.substr(0, 6), "12345-");
    EXPECT_EQ(end.substr(20), "Z ");
    EXPECT_EQ(field[47], 0);
    EXPECT_EQ(field[kField], kFill);
}

}  // namespace
}  // namespace kova
