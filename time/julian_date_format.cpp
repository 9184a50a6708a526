#include <array>
#include <cstdio>

#include "time/checked_truncation.h"
#include "time/julian_date.h"

namespace kova {

namespace {

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
