#pragma once
// Two-body (Kepler) motion of an element set's mean elements, in an inertial frame with
// z towards the north pole and x towards the equinox: positions in metres, velocities in
// metres per second.
#include <array>

#include "generator/element_set.h"

namespace kova::generator {

using Vector3 = std::array<double, 3>;

class TwoBodyOrbit {
public:
    // Semi-major axis from the mean motion with GM 398600640000000.0 m^3/s^2.
    explicit TwoBodyOrbit(const ElementSet& set);

    double semiMajorAxis() const { return semiMajorAxis_; }
    double meanMotion() const { return meanMotion_; }  // rad/s
    double period() const;                             // s

    // Position and velocity `secondsFromEpoch` after the epoch of the set.
    void stateAt(double secondsFromEpoch, Vector3& position, Vector3& velocity) const;

private:
    double semiMajorAxis_;
    double eccentricity_;
    double meanMotion_;
    double meanAnomalyAtEpoch_;
    Vector3 perigeeAxis_;   // unit vector towards perigee
    Vector3 normalAxis_;    // unit vector 90 degrees ahead of perigee in the orbit plane
};

}  // namespace kova::generator
