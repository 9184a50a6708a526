#include <gtest/gtest.h>

#include "time/julian_date.h"

namespace kova {
namespace {

double julianDateOf(std::uint32_t y, std::uint32_t mo, std::uint32_t d, std::uint32_t h = 0,
                    std::uint32_t mi = 0, double s = 0.0) {
    JulianDate date;
    date.fromCalendar(y, mo, d, h, mi, s);
    return date.julianDate();
}

TEST(FromCalendar, KnownDates) {
    struct Case {
        std::uint32_t year, month, day;
        double julianDate;
    };
    const Case cases[] = {
        {2000, 1, 1, 2451544.5},  {1900, 2, 28, 2415078.5}, {1900, 3, 1, 2415079.5},
        {1970, 1, 1, 2440587.5},  {2003, 7, 30, 2452850.5}, {2100, 2, 28, 2488127.5},
        {2000, 2, 29, 2451603.5}, {2000, 3, 1, 2451604.5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(julianDateOf(c.year, c.month, c.day), c.julianDate)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(FromCalendar, TimeOfDay) {
    // (18 + 0 * (1/60) + 0 * (1/3600)) * (1/24) is exactly 0.75.
    EXPECT_EQ(julianDateOf(2003, 7, 30, 18, 0, 0.0), 2452851.25);
}

TEST(FromYearDay, CountsFromTheFirstOfJanuary) {
    JulianDate date;
    date.fromYearDay(2003, 0, 0.0);
    EXPECT_EQ(date.julianDate(), julianDateOf(2003, 1, 1));
    // Day of year 211 is 30 July 2003; the orbit model passes (day - 1) * 86400 seconds.
    date.fromYearDay(2003, 0, 210 * 86400.0);
    EXPECT_EQ(date.julianDate(), julianDateOf(2003, 7, 30));
    date.fromYearDay(2003, 3, 43200.0);
    EXPECT_EQ(date.julianDate(), julianDateOf(2003, 1, 4, 12));
}

TEST(FromSystemTime, UnixEpochAndADate) {
    EXPECT_EQ(JulianDate::fromSystemTime(0).julianDate(), 2440587.5);
    EXPECT_EQ(JulianDate::fromSystemTime(86400).julianDate(), 2440588.5);
}

TEST(Calendar, KnownDates) {
    struct Case {
        double julianDate;
        std::int32_t year, month;
        double dayOfMonth;
    };
    const Case cases[] = {
        {2451545.5, 2000, 1, 2.0},   {2440587.5, 1970, 1, 1.0},  {2452851.25, 2003, 7, 30.75},
        {2451544.0, 1999, 12, 31.5}, {2299160.5, 1582, 10, 15.0},
        // Before the Gregorian reform the calendar is the Julian one.
        {2299159.5, 1582, 10, 4.0},  {0.0, -4712, 1, 1.5},
    };
    for (const Case& c : cases) {
        JulianDate date(c.julianDate);
        std::int32_t year = 0, month = 0;
        double day = 0.0;
        date.calendar(year, month, day);
        EXPECT_EQ(year, c.year) << c.julianDate;
        EXPECT_EQ(month, c.month) << c.julianDate;
        EXPECT_EQ(day, c.dayOfMonth) << c.julianDate;
    }
}

// Every day of the exact range goes to a Julian date and back to the same calendar date.
TEST(Calendar, RoundTripsEveryDayOfTheExactRange) {
    const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double previous = 0.0;
    for (std::uint32_t year = 1900; year <= 2100; ++year) {
        for (std::uint32_t month = 1; month <= 12; ++month) {
            int days = monthDays[month - 1];
            if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) days = 29;
            for (std::uint32_t day = 1; day <= static_cast<std::uint32_t>(days); ++day) {
                if (year == 1900 && month < 3) continue;
                if (year == 2100 && month > 2) continue;
                JulianDate date;
                date.fromCalendar(year, month, day, 0, 0, 0.0);
                if (previous != 0.0) {
                    ASSERT_EQ(date.julianDate(), previous + 1.0);
                }
                previous = date.julianDate();
                std::int32_t y = 0, m = 0;
                double d = 0.0;
                date.calendar(y, m, d);
                ASSERT_EQ(y, static_cast<std::int32_t>(year));
                ASSERT_EQ(m, static_cast<std::int32_t>(month));
                ASSERT_EQ(d, static_cast<double>(day)) << year << "-" << month;
            }
        }
    }
}

TEST(Calendar, FollowsANewDate) {
    JulianDate date(2451545.5);
    std::int32_t year = 0, month = 0;
    double day = 0.0;
    date.calendar(year, month, day);
    date.fromCalendar(2003, 7, 30, 0, 0, 0.0);
    date.calendar(year, month, day);
    EXPECT_EQ(year, 2003);
    EXPECT_EQ(month, 7);
    EXPECT_EQ(day, 30.0);
}

TEST(CalendarTime, SplitsTheDay) {
    JulianDate date(2452851.25);  // day of month 30.75
    std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double seconds = -1.0;
    date.calendarTime(year, month, day, hour, minute, seconds);
    EXPECT_EQ(year, 2003);
    EXPECT_EQ(month, 7);
    EXPECT_EQ(day, 30);
    EXPECT_EQ(hour, 18);
    EXPECT_EQ(minute, 0);
    EXPECT_EQ(seconds, 0.0);

    JulianDate later(2452851.25 + 1.0 / 512.0);  // 168.75 s after 18:00, exactly
    later.calendarTime(year, month, day, hour, minute, seconds);
    EXPECT_EQ(day, 30);
    EXPECT_EQ(hour, 18);
    EXPECT_EQ(minute, 2);
    EXPECT_EQ(seconds, 48.75);
}

TEST(DayOfWeek, SundayIsOne) {
    struct Case {
        double julianDate;
        int day;
    };
    const Case cases[] = {
        {2440587.5, 5},  // 1970-01-01, Thursday
        {2452850.5, 4},  // 2003-07-30, Wednesday
        {2452851.4, 4},  // still Wednesday just before midnight
        {2452851.5, 5},  // Thursday
        {2451544.5, 7},  // 2000-01-01, Saturday
        {2451545.5, 1},  // 2000-01-02, Sunday
    };
    for (const Case& c : cases) {
        JulianDate date(c.julianDate);
        int stored = 0;
        EXPECT_EQ(date.dayOfWeek(&stored), c.day) << c.julianDate;
        EXPECT_EQ(stored, c.day);
    }
}

}  // namespace
}  // namespace kova
