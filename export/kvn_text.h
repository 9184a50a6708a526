#pragma once
// The text of a KVN message's numbers and epochs, written by hand into a caller's buffer:
// no locale, no stream, no allocation, so a data line costs a few hundred nanoseconds.
#include <cstddef>
#include <climits>
#include <cstdint>

#include "time/fixed_point_text.h"
#include "time/iso_time_text.h"

namespace kova::kvn {

// The fixed-point text of time/ (see writeFixedPoint): the one number writer of the system.
inline constexpr std::size_t kNumberTextCapacity = kFixedPointTextCapacity;
inline char* writeFixed(char* out, double value, int decimals) { return writeFixedPoint(out, value, decimals); }

// Characters of an epoch text: YYYY-MM-DDThh:mm:ss.ffffff.
inline constexpr std::size_t kEpochTextSize = isoTimeTextSize(6);


// The epochs are the ISO 8601 time text of time/ at whole microseconds.
inline constexpr int kEpochFractionDigits = 6;
inline constexpr double kTai93ZeroAfter1993 = kova::kTai93ZeroAfter1993;

// The epoch of `tai93Seconds` as whole microseconds since 1993-01-01T00:00:00 TAI (the ticks
// of isoTicksOfTai93). False when the time is not finite or its date is outside the years 0000
// to 9999, which an epoch text cannot write.
inline bool microsecondsSince1993(double tai93Seconds, std::int64_t& microseconds) {
    return isoTicksOfTai93(tai93Seconds, kEpochFractionDigits, microseconds);
}

// The epoch text of a microsecond count from microsecondsSince1993, YYYY-MM-DDThh:mm:ss.ffffff.
// Writes exactly kEpochTextSize characters and returns one past the last.
inline char* writeEpoch(char* out, std::int64_t microseconds) {
    return writeIsoTime(out, microseconds, kEpochFractionDigits);
}

// writeEpoch for a sequence of epochs (the date text of the last day is kept).
class EpochTextWriter {
public:
    char* write(char* out, std::int64_t microseconds) { return writer_.write(out, microseconds, kEpochFractionDigits); }

private:
    IsoTimeTextWriter writer_;
};

using kova::CivilDate;
using kova::civilFromDays;
using kova::daysFromCivil;
using kova::kDays1970To1993;
inline constexpr std::int64_t kMicrosecondsPerDay = 86400000000;
// The last instant an epoch text can write: 9999-12-31T23:59:59.999999.
inline constexpr std::int64_t kLastWritableMicroseconds =
    (daysFromCivil(10000, 1, 1) - kDays1970To1993) * kMicrosecondsPerDay - 1;

}  // namespace kova::kvn
