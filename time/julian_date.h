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

    void calendar(std::int32_t& year, std::int32_t& month, double& dayOfMonth);
    void calendarTime(std::int32_t& year, std::int32_t& month, std::int32_t& day,
                      std::int32_t& hour, std::int32_t& minute, double& seconds);
    // 1 to 7, Sunday = 1; also stored through `out` when given.
    int dayOfWeek(int* out = nullptr);
    // Copies `pattern`, replacing the three-character '%' codes (%Y4 %Mn %Dn %hh %mm %s.
    // %S. %MA %Ma %Y2 %Wn %WA %Wa).
    std::string format(std::string_view pattern);

private:
    void refreshCalendar();

    double jd_ = 0.0;
    double calendarJd_ = 0.0;
    double dayOfMonth_ = 0.0;
    std::int32_t year_ = 0;
    std::int32_t month_ = 0;
};

// Approximate TAI - UT in days for a Julian date.
double utCorrection(double julianDate);
// Greenwich apparent sidereal angle in [0, 2pi) for a UT Julian date.
double gast(double utJulianDate);

}  // namespace kova
