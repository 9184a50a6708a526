#pragma once
// The attitude of a nadir-pointing spacecraft with small fixed offsets: the body axes are
// the orbital frame (x along the flight direction, y against the orbit normal, z towards
// the Earth's centre) turned by a small rotation. The quaternion (q1, q2, q3 vector part,
// q4 scalar) gives the body attitude matrix
//   A = (q4^2 - |q|^2) I + 2 q q^T - 2 q4 [q x],
// the matrix that takes inertial components to body components.
#include <array>

#include "generator/two_body_orbit.h"

namespace kova::generator {

using Quaternion = std::array<double, 4>;

// The offsets as a rotation vector in the orbital frame (radians): for small values the
// attitude matrix relative to the orbital frame has elements (2,3), (3,1) and (1,2) close
// to roll, pitch and yaw.
struct AttitudeOffsets {
    double roll = 0.0010;    // about the flight direction (axis 1)
    double pitch = -0.0005;  // about axis 2
    double yaw = 0.0020;     // about axis 3
};

class NadirAttitude {
public:
    explicit NadirAttitude(const AttitudeOffsets& offsets);

    // The quaternion for a position and velocity, its sign chosen to continue the previous
    // one (so that every component varies smoothly), and the body rates in rad/s (the
    // rotation of the orbital frame, in body axes).
    void attitudeAt(const Vector3& position, const Vector3& velocity, Quaternion& quaternion, Vector3& rates);

private:
    std::array<Vector3, 3> offsetMatrix_;  // rows
    Quaternion previous_{};
    bool havePrevious_ = false;
};

}  // namespace kova::generator
