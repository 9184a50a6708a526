#pragma once
// The approximate correction from UT to the time scale of the navigation records.

namespace kova {

// Approximate TAI - UT in days for a Julian date: (0.002685 t^2 - 32.18) s with t the
// years since Julian date 2394566. Added to a UT Julian date it gives the record time scale.
double utCorrection(double julianDate);

}  // namespace kova
