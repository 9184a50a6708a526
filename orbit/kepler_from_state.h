#pragma once
// Osculating Keplerian elements of a position and velocity.
#include <array>

#include "orbit/kepler_elements.h"

namespace kova {

// Given the position (m) and velocity (m/s) in an Earth-centred inertial frame, returns
// a (m), e, i, RAAN, argument of perigee and mean anomaly (rad); RAAN, argument of
// perigee and mean anomaly in [0, 2pi). An orbit whose eccentricity rounds to no real
// value (1 - p/a not above 0) has e = 0. NaN input gives NaN elements.
KeplerElements keplerFromState(const std::array<double, 3>& position,
                               const std::array<double, 3>& velocity);

}  // namespace kova
