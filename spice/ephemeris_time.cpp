#include "spice/ephemeris_time.h"

#include <cmath>

namespace kova {

double terrestrialTimeFromTag(const TimeTag& tag) {
    const double tai = static_cast<double>(tag.seconds - kTai58SecondsAtJ2000) +
                       static_cast<double>(tag.subsecondCount) * kSubsecondUnit;
    return tai + kTdtMinusTai;
}

double ephemerisTimeFromTag(const TimeTag& tag) {
    const double tdt = terrestrialTimeFromTag(tag);
    const double meanAnomaly = kMeanAnomalyAtJ2000 + kMeanAnomalyRate * tdt;
    return tdt + kTdbPeriodicAmplitude * std::sin(meanAnomaly + kEarthOrbitEccentricity * std::sin(meanAnomaly));
}

void ephemerisTimesFromClockTicks(const std::int64_t* ticks, double* epochs, std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; ++i) epochs[i] = ephemerisTimeFromTag(tagFromClockTicks(ticks[i]));
}

}  // namespace kova
