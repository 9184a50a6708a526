#include "time/julian_date.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "core/checked_int32.h"
#include "core/constants.h"

namespace kova {

namespace {

// Calendar to Julian date.
constexpr double kHoursPerMinute = 0.016666666666666666;  // 1 / 60
constexpr double kHoursPerSecond = 0.0002777777777777778;  // 1 / 3600
constexpr double kDaysPerHour = 0.041666666666666664;      // 1 / 24
constexpr double kCalendarJdBase = 1721013.5;
constexpr double kCenturySignPivot = 190002.5;  // 100 * 1900 + 2.5: 1900-03-01 onwards

// Julian date to calendar.
constexpr std::int64_t kFirstGregorianDay = 2299161;  // 1582-10-15
constexpr double kGregorianEpoch = 1867216.25;
constexpr double kCenturiesPerDay = 2.7379070069885075e-05;  // 1 / 36524.25
constexpr double kDaysPerMonthUnit = 30.6001;
constexpr double kMonthUnitsPerDay = 0.03267963176590926;  // 1 / 30.6001

// Names for the formatter.
constexpr std::array<std::string_view, 13> kMonthNames = {
    "",        "January",  "February", "March",    "April",    "May",     "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 8> kDayNames = {
    "", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::size_t kShortNameLength = 3;
constexpr double kMillisecondsPerSecond = 1000.0;

// The name at a 1-based index, or the empty text when the index is outside the table
// (a date too corrupt to have a month or weekday).
template <std::size_t N>
std::string_view nameAt(const std::array<std::string_view, N>& names, std::int64_t index) {
    if (index < 1 || index >= static_cast<std::int64_t>(N)) return {};
    return names[static_cast<std::size_t>(index)];
}

void appendNumber(std::string& text, std::int64_t value, int width) {
    char digits[32];
    const int length = std::snprintf(digits, sizeof digits, "%0*lld", width,
                                     static_cast<long long>(value));
    if (length > 0) text.append(digits, static_cast<std::size_t>(length));
}

}  // namespace

JulianDate JulianDate::fromSystemTime(std::int64_t unixSeconds) {
    return JulianDate(static_cast<double>(unixSeconds) / kSecondsPerDay + kUnixEpochJd);
}

void JulianDate::fromCalendar(std::uint32_t year, std::uint32_t month, std::uint32_t day,
                              std::uint32_t hour, std::uint32_t minute, double seconds) {
    // Integer divisions throughout; the unsigned arithmetic wraps (never undefined) for
    // dates far outside the exact range.
    const std::uint32_t g = year + (month + 9) / 12;
    const double sigma = static_cast<double>(100 * year + month) - kCenturySignPivot >= 0.0 ? 1.0 : -1.0;
    const std::uint32_t wholeDays = 367 * year + day + (275 * month) / 9 - (7 * g) / 4;
    const double dayFraction =
        (static_cast<double>(hour) + static_cast<double>(minute) * kHoursPerMinute +
         seconds * kHoursPerSecond) *
        kDaysPerHour;
    jd_ = static_cast<double>(wholeDays) + dayFraction + kCalendarJdBase - 0.5 * sigma + 0.5;
}

void JulianDate::fromYearDay(std::int32_t year, std::uint32_t days, double seconds) {
    fromCalendar(static_cast<std::uint32_t>(year), 1, 1, 0, 0, 0.0);
    jd_ = jd_ + static_cast<double>(days) + seconds / kSecondsPerDay;
}

void JulianDate::refreshCalendar() {
    if (calendarValid_ && jd_ == calendarJd_) return;
    // Truncations go into 32-bit integers; the sums are carried in 64 bits so that no
    // intermediate can overflow, whatever the date.
    const double shifted = jd_ + 0.5;
    const std::int64_t z = truncateToInt32(shifted);
    const double f = shifted - static_cast<double>(z);
    std::int64_t a = z;
    if (z >= kFirstGregorianDay) {
        const std::int64_t alpha =
            truncateToInt32((static_cast<double>(z) - kGregorianEpoch) * kCenturiesPerDay);
        a = z + 1 + alpha - alpha / 4;
    }
    const std::int64_t b = a + 1524;
    const std::int64_t c = truncateToInt32((static_cast<double>(b) - 122.1) * kYearsPerDay);
    const std::int64_t d = truncateToInt32(kDaysPerYear * static_cast<double>(c));
    const std::int64_t e = truncateToInt32(static_cast<double>(b - d) * kMonthUnitsPerDay);
    dayOfMonth_ =
        static_cast<double>(b - d - truncateToInt32(kDaysPerMonthUnit * static_cast<double>(e))) + f;
    const std::int64_t month = e < 14 ? e - 1 : e - 13;
    const std::int64_t year = month > 2 ? c - 4716 : c - 4715;
    month_ = static_cast<std::int32_t>(month);
    year_ = static_cast<std::int32_t>(year);
    calendarJd_ = jd_;
    calendarValid_ = true;
}

void JulianDate::calendar(std::int32_t& year, std::int32_t& month, double& dayOfMonth) {
    refreshCalendar();
    year = year_;
    month = month_;
    dayOfMonth = dayOfMonth_;
}

void JulianDate::calendarTime(std::int32_t& year, std::int32_t& month, std::int32_t& day,
                              std::int32_t& hour, std::int32_t& minute, double& seconds) {
    double dayOfMonth = 0.0;
    calendar(year, month, dayOfMonth);
    day = truncateToInt32(dayOfMonth);
    seconds = (dayOfMonth - static_cast<double>(day)) * kSecondsPerDay;
    hour = truncateToInt32(seconds / kSecondsPerHour);
    seconds -= kSecondsPerHour * static_cast<double>(hour);
    minute = truncateToInt32(seconds / kSecondsPerMinute);
    seconds -= kSecondsPerMinute * static_cast<double>(minute);
}

int JulianDate::dayOfWeek(int* out) {
    const std::int32_t midnightDay = truncateToInt32(jd_ + 0.5);
    const std::int32_t w = truncateToInt32(static_cast<double>(midnightDay) - 0.5 + 1.5);
    const int result = w % 7 + 1;
    if (out != nullptr) *out = result;
    return result;
}

std::string JulianDate::format(std::string_view pattern) {
    std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double seconds = 0.0;
    calendarTime(year, month, day, hour, minute, seconds);
    const std::int32_t wholeSeconds = truncateToInt32(seconds);

    std::string text;
    text.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            text.push_back(pattern[i]);
            continue;
        }
        // A '%' sequence is always three characters; one cut short by the end of the
        // pattern writes nothing.
        if (pattern.size() - i < 3) break;
        const char letter = pattern[i + 1];
        const char variant = pattern[i + 2];
        i += 2;
        switch (letter) {
            case 'D':
                if (variant == 'n') appendNumber(text, day, 2);
                break;
            case 'M':
                if (variant == 'n') {
                    appendNumber(text, month, 2);
                } else if (variant == 'A') {
                    text.append(nameAt(kMonthNames, month));
                } else if (variant == 'a') {
                    text.append(nameAt(kMonthNames, month).substr(0, kShortNameLength));
                }
                break;
            case 'Y':
                if (variant == '4') {
                    appendNumber(text, year, 4);
                } else if (variant == '2') {
                    appendNumber(text, year % 100, 2);
                }
                break;
            case 'h':
                if (variant == 'h') appendNumber(text, hour, 2);
                break;
            case 'm':
                if (variant == 'm') appendNumber(text, minute, 2);
                break;
            case 's':
                appendNumber(text, wholeSeconds, 2);
                break;
            case 'S': {
                appendNumber(text, wholeSeconds, 2);
                text.push_back('.');
                const double fraction = seconds - static_cast<double>(wholeSeconds);
                appendNumber(text, truncateToInt32(fraction * kMillisecondsPerSecond), 3);
                break;
            }
            case 'W':
                if (variant == 'n') {
                    appendNumber(text, dayOfWeek(), 1);
                } else if (variant == 'A') {
                    text.append(nameAt(kDayNames, dayOfWeek()));
                } else if (variant == 'a') {
                    text.append(nameAt(kDayNames, dayOfWeek()).substr(0, kShortNameLength));
                }
                break;
            default:
                break;
        }
    }
    return text;
}

}  // namespace kova
