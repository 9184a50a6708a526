#include "orbit/kepler_from_state.h"

#include <cmath>

#include "core/constants.h"
#include "orbit/angle_range.h"
#include "orbit/constants.h"

namespace kova {

KeplerElements keplerFromState(const std::array<double, 3>& position,
                               const std::array<double, 3>& velocity) {
    const double x = position[0];
    const double y = position[1];
    const double z = position[2];
    const double vx = velocity[0];
    const double vy = velocity[1];
    const double vz = velocity[2];

    const double radius = std::sqrt(x * x + y * y + z * z);
    const double speedSquared = vx * vx + vy * vy + vz * vz;
    const double hx = y * vz - z * vy;
    const double hy = z * vx - x * vz;
    const double hz = x * vy - y * vx;
    const double angularMomentum = std::sqrt(hx * hx + hy * hy + hz * hz);

    const double semiLatusRectum = angularMomentum * angularMomentum / kEarthGm;
    const double semiMajorAxis = 1.0 / (2.0 / radius - speedSquared / kEarthGm);
    // A circular orbit can round to 1 - p/a slightly below zero; its eccentricity is 0.
    const double eccentricitySquared = 1.0 - semiLatusRectum / semiMajorAxis;
    const double eccentricity = eccentricitySquared <= 0.0 ? 0.0 : std::sqrt(eccentricitySquared);

    // Rounding can put h_z / H a little outside [-1, 1] for an equatorial orbit.
    double cosInclination = hz / angularMomentum;
    if (cosInclination > 1.0) cosInclination = 1.0;
    if (cosInclination < -1.0) cosInclination = -1.0;
    const double inclination = std::acos(cosInclination);

    double node = std::atan2(hx, -hy);
    if (node < 0.0) node += kTwoPi;

    // Argument of latitude: angle from the ascending node to the position in the orbit plane.
    const double cosNode = std::cos(node);
    const double sinNode = std::sin(node);
    const double cosLatitudePart = (x * cosNode + y * sinNode) / radius;
    const double sinLatitudePart = inclination == 0.0
                                       ? (y * cosNode - x * sinNode) / radius
                                       : z / (radius * std::sin(inclination));
    const double argumentOfLatitude = reduceToOneTurn(std::atan2(sinLatitudePart, cosLatitudePart));

    const double radialVelocity = x * vx + y * vy + z * vz;
    const double eSinE = radialVelocity / std::sqrt(kEarthGm * semiMajorAxis);
    const double eCosE = 1.0 - radius / semiMajorAxis;
    const double eccentricAnomaly = reduceToOneTurn(std::atan2(eSinE, eCosE));

    double trueAnomaly =
        2.0 * std::atan2(std::sqrt((1.0 + eccentricity) / (1.0 - eccentricity)) *
                             std::tan(eccentricAnomaly / 2.0),
                         1.0);
    if (trueAnomaly < 0.0) trueAnomaly += kTwoPi;

    const double argumentOfPerigee = reduceToOneTurn(argumentOfLatitude - trueAnomaly);
    const double meanAnomaly = reduceToOneTurn(eccentricAnomaly - eSinE);
    return {semiMajorAxis, eccentricity, inclination, node, argumentOfPerigee, meanAnomaly};
}

}  // namespace kova
