#include "generator/pass_time.h"

#include <cmath>
#include <limits>

#include "core/constants.h"
#include "time/julian_date.h"
#include "time/ut_correction.h"

namespace kova::generator {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr std::int64_t kWholeSecondsPerDay = 86400;
constexpr double kUnixEpochJd = 2440587.5;
constexpr std::uint32_t kDefaultStartDelay = 600;

std::int64_t days1958() { return daysFromCivil(1958, 1, 1); }

bool digits(std::string_view text, std::size_t first, std::size_t count, unsigned& value) {
    value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return true;
}

bool isLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned daysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    // Counting years from March puts the leap day at the end of the year.
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool parseTai58Time(std::string_view text, std::uint32_t& seconds) {
    // YYYY-MM-DDThh:mm:ss
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':') {
        return false;
    }
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!digits(text, 0, 4, year) || !digits(text, 5, 2, month) || !digits(text, 8, 2, day) ||
        !digits(text, 11, 2, hour) || !digits(text, 14, 2, minute) || !digits(text, 17, 2, second)) {
        return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return false;
    }
    const std::int64_t total = (daysFromCivil(year, month, day) - days1958()) * kWholeSecondsPerDay +
                               hour * 3600 + minute * 60 + second;
    if (total < 0 || total > std::numeric_limits<std::uint32_t>::max()) return false;
    seconds = static_cast<std::uint32_t>(total);
    return true;
}

double epochTai58Seconds(const ElementSet& set) {
    const int year = set.epochYear < 50 ? 2000 + set.epochYear : 1900 + set.epochYear;
    const std::int64_t januaryFirst = daysFromCivil(year, 1, 1);
    const double utSeconds =
        static_cast<double>((januaryFirst - days1958()) * kWholeSecondsPerDay) + (set.epochDay - 1.0) * kSecondsPerDay;
    const double utJulianDate = static_cast<double>(januaryFirst) + kUnixEpochJd + (set.epochDay - 1.0);
    return utSeconds + utCorrection(utJulianDate) * kSecondsPerDay;
}

std::uint32_t defaultStartTai58Seconds(const ElementSet& set) {
    const double start = std::ceil(epochTai58Seconds(set)) + kDefaultStartDelay;
    if (!(start >= 0.0 && start <= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))) return 0;
    return static_cast<std::uint32_t>(start);
}

}  // namespace kova::generator
