#pragma once
// The two time scales of the SPICE kernels, both from a record's exact time tag (never from
// its Julian-date record time, which has a grain of about 40 us):
// - ephemeris time (ET): TDB seconds past J2000, the epochs of the SPK. Tags are TAI, so no
//   leap second enters; TDT = TAI + 32.184 s and TDB - TDT is the usual periodic term.
// - clock ticks: the tag read as a spacecraft clock that counts tenths of microseconds since
//   1958-01-01T00:00:00 TAI, the times of the CK ("encoded SCLK").
#include <cstddef>
#include <cstdint>

#include "time/time_tag.h"

namespace kova {

inline constexpr std::int64_t kTai58SecondsAtJ2000 = 1325419200;  // 2000-01-01T12:00:00 TAI
inline constexpr double kTdtMinusTai = 32.184;                     // s
// TDB - TDT = K sin(E), E = M + EB sin(M), M = M0 + M1 TDT (seconds past J2000).
inline constexpr double kTdbPeriodicAmplitude = 1.657e-3;        // K, s
inline constexpr double kEarthOrbitEccentricity = 1.671e-2;      // EB
inline constexpr double kMeanAnomalyAtJ2000 = 6.239996;          // M0, rad
inline constexpr double kMeanAnomalyRate = 1.99096871e-7;        // M1, rad/s

inline constexpr std::int64_t kClockTicksPerSecond = 10000000;  // 0.1 us ticks
inline constexpr std::int64_t kClockTicksPerSubsecondCount = 152;

// Terrestrial dynamical time of a tag, seconds past J2000:
//   double(S - 1325419200) + C * 1.52e-05 + 32.184, in this order.
double terrestrialTimeFromTag(const TimeTag& tag);

// Ephemeris time (TDB seconds past J2000) of a tag, from TDT above:
//   M = 6.239996 + 1.99096871e-7 TDT,  ET = TDT + 1.657e-3 sin(M + 1.671e-2 sin(M)).
// (1438257600, 0) gives 112838432.18331762.
double ephemerisTimeFromTag(const TimeTag& tag);

// Clock ticks of a tag: S * 10^7 + 152 C, exact in 64 bits. For every tag with S < 2^32 the
// result is a multiple of 8 below 2^56 and so also exact as a double.
inline std::int64_t clockTicksFromTag(const TimeTag& tag) {
    return tag.seconds * kClockTicksPerSecond +
           kClockTicksPerSubsecondCount * static_cast<std::int64_t>(tag.subsecondCount);
}

// The tag whose clock ticks are `ticks` (a value clockTicksFromTag gave; ticks >= 0).
inline TimeTag tagFromClockTicks(std::int64_t ticks) {
    return TimeTag{ticks / kClockTicksPerSecond,
                   static_cast<std::uint16_t>((ticks % kClockTicksPerSecond) / kClockTicksPerSubsecondCount)};
}

// epochs[i] = the ephemeris time of the tag of ticks[i], for i in [first, end).
void ephemerisTimesFromClockTicks(const std::int64_t* ticks, double* epochs, std::size_t first, std::size_t end);

}  // namespace kova
