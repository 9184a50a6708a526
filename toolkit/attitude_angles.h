#pragma once
// Attitude of the spacecraft body relative to its orbital frame, as three elements of
// A = Q * transpose(O): Q the direction cosine matrix of the attitude quaternion (taken as
// given, not normalised), O the orbital frame of the position and velocity. The elements
// are A(1,2), A(2,3), A(3,1); for small rotations they approximate the angles in radians
// about axes 3, 1 and 2.
#include <array>

namespace kova {

class NavRecord;

// position [m], velocity [m/s], quaternion q1..q4 with q4 the scalar part.
std::array<double, 3> attitudeAngles(const std::array<double, 3>& position, const std::array<double, 3>& velocity,
                                     const std::array<double, 4>& quaternion);
std::array<double, 3> attitudeAngles(const NavRecord& record);

}  // namespace kova
