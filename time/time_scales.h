#pragma once
// Time scales of the system. Packets carry TAI seconds since 1958 with a 15.2 us
// sub-second count; kova carries every time as a Julian date (double, TAI scale); the
// toolkit files store TAI93 seconds. No leap-second table is consulted anywhere.
#include <cstdint>

#include "core/constants.h"

namespace kova {

inline constexpr double kTai58EpochJd = 2436204.5;
inline constexpr double kTai93EpochJd = 2448988.5003125;  // 1993-01-01 00:00 + 27 s, nearest double
inline constexpr double kSubsecondUnit = 1.52e-05;         // seconds per sub-second count

// (count * 1.52e-05 + seconds) * (1/86400) + 2436204.5
double julianDateFromTai58(std::uint32_t seconds, std::uint16_t subsecondCount);
// (jd - kTai93EpochJd) * 86400
double tai93FromJulianDate(double julianDate);
// seconds * (1/86400) + kTai93EpochJd
double julianDateFromTai93(double tai93Seconds);
// jd - utCorrection(jd): the calendar time used for display.
double approxUtJulianDate(double julianDate);

}  // namespace kova
