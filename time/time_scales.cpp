#include "time/time_scales.h"

#include "core/constants.h"
#include "time/ut_correction.h"

namespace kova {

double julianDateFromTai58(std::uint32_t seconds, std::uint16_t subsecondCount) {
    // The sub-second part joins the whole seconds before the change to days, so the
    // rounding happens once, on the full seconds count.
    const double secondsSince1958 = static_cast<double>(subsecondCount) * kSubsecondUnit +
                                    static_cast<double>(seconds);
    return secondsSince1958 * kDaysPerSecond + kTai58EpochJd;
}

double tai93FromJulianDate(double julianDate) { return (julianDate - kTai93EpochJd) * kSecondsPerDay; }

double julianDateFromTai93(double tai93Seconds) { return tai93Seconds * kDaysPerSecond + kTai93EpochJd; }

double approxUtJulianDate(double julianDate) { return julianDate - utCorrection(julianDate); }

}  // namespace kova
