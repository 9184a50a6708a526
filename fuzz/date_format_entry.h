#pragma once
// Fuzz entry of the calendar formatter: any Julian date, finite or not, formatted with any
// format text, with the calendar breakdown and day of week it rests on.
//
// Input: eight bytes of a double (the Julian date, in the machine's byte order), then the
// format text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/discarding_stream.h"
#include "time/julian_date.h"

namespace kova::fuzz {

inline int fuzzDateFormat(const std::uint8_t* data, std::size_t size) {
    double julianDate = 0.0;
    if (size < sizeof julianDate) return 0;
    std::memcpy(&julianDate, data, sizeof julianDate);
    const std::string_view pattern(reinterpret_cast<const char*>(data) + sizeof julianDate,
                                   size - sizeof julianDate);
    DiscardingStream sink;
    JulianDate date(julianDate);
    sink << date.format(pattern);
    std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double seconds = 0.0;
    date.calendarTime(year, month, day, hour, minute, seconds);
    sink << year << month << day << hour << minute << date.dayOfWeek();
    return 0;
}

}  // namespace kova::fuzz
