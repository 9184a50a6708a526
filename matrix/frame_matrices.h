#pragma once
// The two rotation matrices of the attitude computation.
#include <array>

#include "matrix/matrix.h"

namespace kova {

// Orbital reference frame of a position r [m] and velocity v [m/s], both inertial:
// rows x = unit(cross(y, z)) (along the flight direction), y = unit(-cross(r, v)) (against
// the orbit normal), z = unit(-r) (towards the Earth's centre). It turns inertial
// components into orbital-frame components. Degenerate r or v are not guarded.
Matrix orbitFrame(const std::array<double, 3>& position, const std::array<double, 3>& velocity);

// Direction cosine matrix of the attitude quaternion (q1, q2, q3, q4), q4 the scalar part,
// taken as given (not normalised).
Matrix quaternionMatrix(double q1, double q2, double q3, double q4);

}  // namespace kova
