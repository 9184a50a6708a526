#pragma once
// Attitude of the spacecraft body relative to its orbital frame, as three elements of
// A = Q * transpose(O): Q the direction cosine matrix of the attitude quaternion (taken as
// given, not normalised), O the orbital frame of the position and velocity. The elements
// are A(1,2), A(2,3), A(3,1); for small rotations they approximate the angles in radians
// about axes 3, 1 and 2.
#include <array>
#include <span>

#include "packets/nav_record.h"

namespace kova {

// position [m], velocity [m/s], quaternion q1..q4 with q4 the scalar part.
std::array<double, 3> attitudeAngles(const std::array<double, 3>& position, const std::array<double, 3>& velocity,
                                     const std::array<double, 4>& quaternion);
std::array<double, 3> attitudeAngles(const NavRecord& record);

// The angles of many records at once: angles[n] is attitudeAngles of the position, velocity
// and quaternion in values[n] (the 13 values of a navigation record). Both compute two records
// side by side (a single one in both lanes), so every caller gets the same doubles. Takes
// min(values.size(), angles.size()) records.
void attitudeAnglesOfRecords(std::span<const NavValues> values, std::span<std::array<double, 3>> angles);

}  // namespace kova
