#pragma once
// The text of a KVN message's numbers and epochs, written by hand into a caller's buffer:
// no locale, no stream, no allocation, so a data line costs a few hundred nanoseconds.
#include <cstddef>
#include <climits>
#include <cstdint>

namespace kova::kvn {

// Room enough for any number writeFixed writes (sign, 16 digits, point, exponent).
inline constexpr std::size_t kNumberTextCapacity = 32;
// Characters of an epoch text: YYYY-MM-DDThh:mm:ss.ffffff.
inline constexpr std::size_t kEpochTextSize = 26;

// A finite `value` with `decimals` digits after the point (1 to 15), rounded to nearest with
// ties to even on the double's exact binary value, as printf's "%.<decimals>f" rounds. A result
// that prints as zero has no sign (no "-0.000"). A value that would need more than 16
// significant digits that way is written as d.<15 digits>e<sign><exponent> instead (16
// significant digits). Returns one past the last character written.
char* writeFixed(char* out, double value, int decimals);

// Seconds from 1993-01-01T00:00:00 TAI to the TAI93 time zero (Julian date 2448988.5003125 held
// as the nearest double): 27.000014483928680 s.
inline constexpr double kTai93ZeroAfter1993 = 27.000014483928680;

// The epoch of `tai93Seconds` as whole microseconds since 1993-01-01T00:00:00 TAI: the seconds
// s = tai93Seconds + kTai93ZeroAfter1993 (a double), then s * 10^6 (a double) rounded to the
// nearest integer, ties to even (the epochs the exchange reference prints for kova's times).
// False when the time is not finite or its date is outside the years 0000 to 9999, which an
// epoch text cannot write.
bool microsecondsSince1993(double tai93Seconds, std::int64_t& microseconds);

// The epoch text of a microsecond count from microsecondsSince1993: the days are taken by
// floor division (so dates before 1993 work), written as YYYY-MM-DDThh:mm:ss.ffffff. Writes
// exactly kEpochTextSize characters and returns one past the last.
char* writeEpoch(char* out, std::int64_t microseconds);

// writeEpoch for a sequence of epochs: the date text of the last day is kept, since
// consecutive records mostly fall on the same day.
class EpochTextWriter {
public:
    char* write(char* out, std::int64_t microseconds);

private:
    std::int64_t day_ = INT64_MIN;  // days since 1993 of date_
    char date_[11] = {};            // YYYY-MM-DDT
};

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
inline constexpr std::int64_t kMicrosecondsPerDay = 86400000000;
// The span an epoch text can write: 0000-01-01T00:00:00.000000 to 9999-12-31T23:59:59.999999.
inline constexpr std::int64_t kFirstWritableMicroseconds = (daysFromCivil(0, 1, 1) - kDays1970To1993) * kMicrosecondsPerDay;
inline constexpr std::int64_t kLastWritableMicroseconds =
    (daysFromCivil(10000, 1, 1) - kDays1970To1993) * kMicrosecondsPerDay - 1;

}  // namespace kova::kvn
