#pragma once
// Calendar times as ISO 8601 text, "YYYY-MM-DDThh:mm:ss" with a fraction of the second, for
// every program that prints an instant: the same instant gives the same text everywhere.
// Written by hand into a caller's buffer: no locale, no stream, no allocation.
//
// An instant is given as seconds since 1993-01-01T00:00:00 on its own scale (TAI for the
// file times, UT for an element set epoch) and becomes a count of ticks of 10^-digits s (digits 0 to 6):
// the seconds times 10^digits (one double product) rounded to the nearest integer, ties to
// even. The text is the calendar date of that count (proleptic Gregorian, days taken by floor
// division, so dates before 1993 work too) and its time of day.
#include <cstddef>
#include <cstdint>

#include "time/time_scales.h"

namespace kova {

// Calendar date of a day count since 1970-01-01 (proleptic Gregorian).
struct CivilDate {
    std::int64_t year;
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
};
CivilDate civilFromDays(std::int64_t daysSince1970);

// The day count since 1970-01-01 of a calendar date (proleptic Gregorian), after H. Hinnant's
// "chrono-compatible low-level date algorithms", with eras of 400 years.
constexpr std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

inline constexpr std::int64_t kDays1970To1993 = daysFromCivil(1993, 1, 1);
inline constexpr std::int64_t kWholeSecondsPerDay = 86400;
// Julian date of 1993-01-01 00:00.
inline constexpr double kJulianDate1993 = 2448988.5;
// Seconds from 1993-01-01T00:00:00 TAI to the TAI93 time zero, the Julian date kTai93EpochJd
// as it is held (the nearest double to 27 s past midnight): 27.000014483928680 s. The
// difference of the two dates is exact; the product is the one rounding.
inline constexpr double kTai93ZeroAfter1993 = (kTai93EpochJd - kJulianDate1993) * 86400.0;
// Whole seconds from 1958-01-01 to 1993-01-01 (35 years, 9 of them leap years).
inline constexpr double kSeconds1958To1993 = 1104537600.0;

// Longest text: "YYYY-MM-DDThh:mm:ss." and up to 6 fraction digits (microseconds: the
// ticks of the years 0000 to 9999 then stay far inside 64 bits).
inline constexpr int kIsoMostFractionDigits = 6;
inline constexpr std::size_t kIsoTimeTextCapacity = 32;
// Characters of the text with `fractionDigits` (0: no point either).
constexpr std::size_t isoTimeTextSize(int fractionDigits) {
    return 19 + (fractionDigits > 0 ? 1 + static_cast<std::size_t>(fractionDigits) : 0);
}

// The tick count of `secondsSince1993` at 10^-fractionDigits s (0 to 6 digits), rounded as
// said above. False when the seconds are not finite or their date lies outside the years
// 0000 to 9999, which the text cannot write.
bool isoTicksSince1993(double secondsSince1993, int fractionDigits, std::int64_t& ticks);
// The same for a time given as TAI93 seconds (seconds since the TAI93 time zero).
inline bool isoTicksOfTai93(double tai93Seconds, int fractionDigits, std::int64_t& ticks) {
    return isoTicksSince1993(tai93Seconds + kTai93ZeroAfter1993, fractionDigits, ticks);
}

// Writes the text of a tick count from isoTicksSince1993 (exactly isoTimeTextSize characters,
// no zone designator) and returns one past the last.
char* writeIsoTime(char* out, std::int64_t ticks, int fractionDigits);

// writeIsoTime for a sequence of times: the date text of the last day is kept, since
// consecutive times mostly fall on one day.
class IsoTimeTextWriter {
public:
    char* write(char* out, std::int64_t ticks, int fractionDigits);

private:
    std::int64_t day_ = INT64_MIN;  // days since 1993 of date_
    char date_[11] = {};            // YYYY-MM-DDT
};

}  // namespace kova
