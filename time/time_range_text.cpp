#include "time/time_range_text.h"

#include <cstdio>
#include <cstring>

#include "core/checked_int32.h"
#include "time/julian_date.h"
#include "time/time_scales.h"

namespace kova {

namespace {

constexpr std::size_t kFieldSize = 48;
constexpr std::size_t kStartTextOffset = 0;
constexpr std::size_t kEndTextOffset = 25;

// Prints the calendar time of `julianDate`, after the approximate UT correction and with
// the seconds truncated, into the field at `offset`. The text and its NUL are copied only
// as far as the field reaches; a text cut at the end of the field keeps no NUL, as a
// full-width text field does.
void printCalendarTime(double julianDate, const char* pattern, std::uint8_t* field,
                       std::size_t offset) {
    JulianDate date(approxUtJulianDate(julianDate));
    std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double seconds = 0.0;
    date.calendarTime(year, month, day, hour, minute, seconds);
    char text[96];
    const int length = std::snprintf(text, sizeof text, pattern, year, month, day, hour, minute,
                                     truncateToInt32(seconds));
    if (length < 0) return;
    const std::size_t withNul = static_cast<std::size_t>(length) + 1;
    const std::size_t room = kFieldSize - offset;
    std::memcpy(field + offset, text, withNul < room ? withNul : room);
}

}  // namespace

void formatTimeRange(double startJulianDate, double endJulianDate, std::uint8_t* field48) {
    printCalendarTime(startJulianDate, "%4d-%02d-%02dT%02d:%02d:%02dZ to ", field48,
                      kStartTextOffset);
    printCalendarTime(endJulianDate, "%4d-%02d-%02dT%02d:%02d:%02dZ ", field48, kEndTextOffset);
}

}  // namespace kova
