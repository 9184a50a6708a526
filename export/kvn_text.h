#pragma once
// The text of a KVN message's numbers and epochs, written by hand into a caller's buffer:
// no locale, no stream, no allocation, so a data line costs a few hundred nanoseconds.
#include <cstddef>
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
// s = tai93Seconds + kTai93ZeroAfter1993 (a double) rounded to the nearest microsecond, ties
// away from zero. False when the time is not finite or its date is outside the years 0000 to
// 9999, which an epoch text cannot write.
bool microsecondsSince1993(double tai93Seconds, std::int64_t& microseconds);

// The epoch text of a microsecond count from microsecondsSince1993: the days are taken by
// floor division (so dates before 1993 work), written as YYYY-MM-DDThh:mm:ss.ffffff. Writes
// exactly kEpochTextSize characters and returns one past the last.
char* writeEpoch(char* out, std::int64_t microseconds);

// Calendar date of a day count since 1970-01-01 (proleptic Gregorian).
struct CivilDate {
    std::int64_t year;
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
};
CivilDate civilFromDays(std::int64_t daysSince1970);
// The day count since 1970-01-01 of a calendar date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day);

}  // namespace kova::kvn
