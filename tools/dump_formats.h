#pragma once
// The number formats of the dump text: decimals of each fixed-point style and the widths of
// the zero-padded integers, one table for both dump tools.
#include <cstddef>

namespace kova::dump_format {

inline constexpr int kIntervalDigits = 6;           // F6: the record interval
inline constexpr int kQaValueDigits = 6;            // F6: QA parameters and statistics
inline constexpr unsigned kQaIndexWidth = 2;        // U2: their index
inline constexpr int kJulianDateDigits = 8;         // F8: record times as Julian dates
inline constexpr int kPositionVelocityDigits = 2;   // F2: ephemeris positions and velocities
inline constexpr int kAngleRateDigits = 6;          // F6: attitude angles and rates
inline constexpr int kKeplerDigits = 6;             // F6: the header's Keplerian elements
inline constexpr int kMetadataDigits = 8;           // F8: the orbit metadata records
inline constexpr unsigned kOrbitNumberWidth = 5;    // U5: the header's orbit numbers

}  // namespace kova::dump_format
