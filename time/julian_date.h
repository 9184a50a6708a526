#pragma once
// A Julian date with a lazily computed Gregorian calendar breakdown and a text formatter.
#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

class JulianDate {
public:
    JulianDate() = default;
    explicit JulianDate(double julianDate) : jd_(julianDate) {}
    // From system time, seconds since 1970-01-01 00:00: seconds / 86400 + 2440587.5.
    static JulianDate fromSystemTime(std::int64_t unixSeconds);

    // Gregorian date and time to Julian date; exact from 1900-03-01 to 2100-02-28.
    void fromCalendar(std::uint32_t year, std::uint32_t month, std::uint32_t day,
                      std::uint32_t hour, std::uint32_t minute, double seconds);
    // fromCalendar(year, 1, 1, 0, 0, 0.0) + days + seconds / 86400.
    void fromYearDay(std::int32_t year, std::uint32_t days, double seconds);

    double julianDate() const { return jd_; }

    // Year, month (1 = January) and day of the month with the fraction of the day.
    // Dates before 1582-10-15 come out in the Julian calendar.
    void calendar(std::int32_t& year, std::int32_t& month, double& dayOfMonth);
    // The calendar date with the day split into whole day, hour, minute and seconds
    // (the seconds keep their fraction).
    void calendarTime(std::int32_t& year, std::int32_t& month, std::int32_t& day,
                      std::int32_t& hour, std::int32_t& minute, double& seconds);
    // 1 to 7, Sunday = 1, for dates from Julian date -0.5 on; also stored through `out`
    // when given.
    int dayOfWeek(int* out = nullptr);
    // Copies `pattern`, replacing each '%' and the two characters after it:
    //   %Dn day, %Mn month, %Y4 year, %Y2 year mod 100, %hh hour, %mm minute (all
    //   zero-padded to their width), %s? whole seconds, %S? seconds.milliseconds,
    //   %MA / %Ma month name / its first three letters, %Wn day of week number,
    //   %WA / %Wa day name / its first three letters.
    // Any other sequence, or a '%' with fewer than two characters after it, writes nothing.
    std::string format(std::string_view pattern);

private:
    void refreshCalendar();

    double jd_ = 0.0;
    // The calendar fields below belong to this value of jd_ once calendarValid_ is set.
    double calendarJd_ = 0.0;
    double dayOfMonth_ = 0.0;
    std::int32_t year_ = 0;
    std::int32_t month_ = 0;
    bool calendarValid_ = false;
};

}  // namespace kova
