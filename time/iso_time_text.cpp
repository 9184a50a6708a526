#include "time/iso_time_text.h"

#include <array>
#include <cmath>
#include <cstring>

namespace kova {
namespace {

constexpr std::array<std::int64_t, kIsoMostFractionDigits + 1> kTicksPerSecond = {1,      10,      100, 1000,
                                                                                   10000, 100000, 1000000};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* writeTwoDigits(char* out, unsigned value) {
    std::memcpy(out, kDigitPairs + 2 * value, 2);
    return out + 2;
}

// The first and last tick of the years 0000 to 9999.
std::int64_t firstWritableTick(std::int64_t perSecond) {
    return (daysFromCivil(0, 1, 1) - kDays1970To1993) * kWholeSecondsPerDay * perSecond;
}
std::int64_t lastWritableTick(std::int64_t perSecond) {
    return (daysFromCivil(10000, 1, 1) - kDays1970To1993) * kWholeSecondsPerDay * perSecond - 1;
}

}  // namespace

bool isoTicksSince1993(double secondsSince1993, int fractionDigits, std::int64_t& ticks) {
    if (fractionDigits < 0 || fractionDigits > kIsoMostFractionDigits) return false;
    // Beyond +-10^12 s (about 31,700 years) no date has four year digits; this also keeps the
    // product below 2^63.
    if (!(std::fabs(secondsSince1993) < 1e12)) return false;
    const std::int64_t perSecond = kTicksPerSecond[static_cast<std::size_t>(fractionDigits)];
    ticks = static_cast<std::int64_t>(std::nearbyint(secondsSince1993 * static_cast<double>(perSecond)));
    return ticks >= firstWritableTick(perSecond) && ticks <= lastWritableTick(perSecond);
}

char* writeIsoTime(char* out, std::int64_t ticks, int fractionDigits) {
    IsoTimeTextWriter writer;
    return writer.write(out, ticks, fractionDigits);
}

char* IsoTimeTextWriter::write(char* out, std::int64_t ticks, int fractionDigits) {
    const std::int64_t perSecond = kTicksPerSecond[static_cast<std::size_t>(fractionDigits)];
    const std::int64_t perDay = kWholeSecondsPerDay * perSecond;
    std::int64_t days = ticks / perDay;
    std::int64_t ofDay = ticks % perDay;
    if (ofDay < 0) {
        ofDay += perDay;
        --days;
    }
    if (days != day_) {
        const CivilDate date = civilFromDays(days + kDays1970To1993);
        const auto year = static_cast<unsigned>(date.year);
        writeTwoDigits(date_, year / 100);
        writeTwoDigits(date_ + 2, year % 100);
        date_[4] = '-';
        writeTwoDigits(date_ + 5, date.month);
        date_[7] = '-';
        writeTwoDigits(date_ + 8, date.day);
        date_[10] = 'T';
        day_ = days;
    }
    std::memcpy(out, date_, sizeof date_);
    out += sizeof date_;
    const auto secondsOfDay = static_cast<unsigned>(ofDay / perSecond);
    out = writeTwoDigits(out, secondsOfDay / 3600);
    *out++ = ':';
    out = writeTwoDigits(out, secondsOfDay / 60 % 60);
    *out++ = ':';
    out = writeTwoDigits(out, secondsOfDay % 60);
    if (fractionDigits == 0) return out;
    *out++ = '.';
    auto fraction = static_cast<unsigned>(ofDay % perSecond);
    char* const end = out + fractionDigits;
    char* digit = end;
    // Right to left, two digits at a time.
    for (; digit - out >= 2; fraction /= 100) {
        digit -= 2;
        writeTwoDigits(digit, fraction % 100);
    }
    if (digit != out) *--digit = static_cast<char>('0' + fraction % 10);
    return end;
}

// Days and dates after H. Hinnant's "chrono-compatible low-level date algorithms", with
// eras of 400 years so that negative day counts divide correctly.
CivilDate civilFromDays(std::int64_t daysSince1970) {
    const std::int64_t z = daysSince1970 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;  // March = 0
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

}  // namespace kova
