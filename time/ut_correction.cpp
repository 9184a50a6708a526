#include "time/ut_correction.h"

#include "core/constants.h"

namespace kova {

namespace {
constexpr double kCorrectionReferenceJd = 2394566.0;  // end of 1843, noon
constexpr double kSecondsPerYearSquared = 0.0026850000000000003;
constexpr double kCorrectionOffsetSeconds = 32.18;
}  // namespace

double utCorrection(double julianDate) {
    const double years = (julianDate - kCorrectionReferenceJd) * kYearsPerDay;
    // The square is the correctly rounded product, never a library power call, so every
    // build gives the same last bit.
    return (kSecondsPerYearSquared * (years * years) - kCorrectionOffsetSeconds) * kDaysPerSecond;
}

}  // namespace kova
