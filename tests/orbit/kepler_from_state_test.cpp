// Elements of states whose orbits are known. The states are built with sines and cosines
// and the elements come back through square roots and arc tangents, so agreement is to a
// few units of the last place of each quantity, not bit for bit; where an element is
// undefined (the perigee of a circular orbit) only the defined sum is checked.
#include <gtest/gtest.h>

#include <cmath>

#include "core/constants.h"
#include "orbit/angle_range.h"
#include "orbit/constants.h"
#include "orbit/kepler_from_state.h"
#include "orbit_test_states.h"

namespace kova {
namespace {

using orbit_test::State;
using orbit_test::stateFromElements;

constexpr double kAngleTolerance = 1e-12;        // rad
constexpr double kAxisRelativeTolerance = 1e-12;

// Difference of two angles taken into (-pi, pi].
double angleDifference(double a, double b) {
    const double d = reduceToOneTurn(a - b);
    return d > kPi ? d - kTwoPi : d;
}

TEST(KeplerFromState, CircularEquatorialOrbit) {
    const double radius = 7000000.0;
    const double speed = std::sqrt(kEarthGm / radius);
    const double longitude = 0.5;  // of the position, from the x axis
    const State state{{radius * std::cos(longitude), radius * std::sin(longitude), 0.0},
                      {-speed * std::sin(longitude), speed * std::cos(longitude), 0.0}};
    const KeplerElements k = keplerFromState(state.position, state.velocity);
    EXPECT_NEAR(k[0], radius, radius * kAxisRelativeTolerance);
    EXPECT_NEAR(k[1], 0.0, 1e-7);  // the square root turns a rounding of 1e-16 into 1e-8
    EXPECT_EQ(k[2], 0.0);
    // The node of an equatorial orbit is undefined; RAAN + perigee + anomaly is the longitude.
    EXPECT_NEAR(angleDifference(k[3] + k[4] + k[5], longitude), 0.0, kAngleTolerance);
}

TEST(KeplerFromState, CircularityLostToRoundingGivesEccentricityZero) {
    // For this state 1 - p/a rounds to a value not above 0; its square root would be NaN.
    const double radius = 7000000.0;
    const KeplerElements k =
        keplerFromState({radius, 0.0, 0.0}, {0.0, std::sqrt(kEarthGm / radius), 0.0});
    EXPECT_EQ(k[1], 0.0);
    EXPECT_EQ(k[2], 0.0);
    for (const double value : k) EXPECT_FALSE(std::isnan(value));
}

TEST(KeplerFromState, InclinedCircularOrbit) {
    const double radius = 7080000.0;
    const double inclination = 98.2 * kRadiansPerDegree;
    const double node = 40.0 * kRadiansPerDegree;
    const double argumentOfLatitude = 100.0 * kRadiansPerDegree;
    const State state = stateFromElements(radius, 0.0, inclination, node, argumentOfLatitude, 0.0);
    const KeplerElements k = keplerFromState(state.position, state.velocity);
    EXPECT_NEAR(k[0], radius, radius * kAxisRelativeTolerance);
    EXPECT_NEAR(k[1], 0.0, 1e-7);
    EXPECT_NEAR(k[2], inclination, kAngleTolerance);
    EXPECT_NEAR(k[3], node, kAngleTolerance);
    EXPECT_NEAR(angleDifference(k[4] + k[5], argumentOfLatitude), 0.0, 1e-7);
}

TEST(KeplerFromState, EccentricOrbits) {
    struct Case {
        double a, e, i, node, perigee, eccentricAnomaly;
    };
    const Case cases[] = {
        {8000000.0, 0.1, 1.0, 2.0, 5.5, 1.2},
        {7200000.0, 0.01, 0.3, 5.0, 0.2, 4.0},   // past apogee: anomalies above pi
        {26000000.0, 0.7, 1.1, 0.1, 4.7, 0.05},  // close after perigee
    };
    for (const Case& c : cases) {
        const State state = stateFromElements(c.a, c.e, c.i, c.node, c.perigee, c.eccentricAnomaly);
        const KeplerElements k = keplerFromState(state.position, state.velocity);
        const double meanAnomaly = c.eccentricAnomaly - c.e * std::sin(c.eccentricAnomaly);
        EXPECT_NEAR(k[0], c.a, c.a * kAxisRelativeTolerance);
        EXPECT_NEAR(k[1], c.e, 1e-12);
        EXPECT_NEAR(k[2], c.i, kAngleTolerance);
        EXPECT_NEAR(k[3], c.node, kAngleTolerance);
        EXPECT_NEAR(k[4], c.perigee, 1e-10);
        EXPECT_NEAR(k[5], meanAnomaly, 1e-10);
        for (int n = 3; n < 6; ++n) {
            EXPECT_GE(k[n], 0.0);
            EXPECT_LT(k[n], kTwoPi);
        }
    }
}

TEST(KeplerFromState, RetrogradeEquatorialOrbitHasInclinationPi) {
    const double radius = 7000000.0;
    const double speed = std::sqrt(kEarthGm / radius) * 1.01;
    const KeplerElements k = keplerFromState({radius, 0.0, 0.0}, {0.0, -speed, 0.0});
    EXPECT_EQ(k[2], kPi);
    for (const double value : k) EXPECT_FALSE(std::isnan(value));
}

TEST(KeplerFromState, NanInputGivesNanElements) {
    const KeplerElements k = keplerFromState({std::nan(""), 0.0, 0.0}, {0.0, 7000.0, 0.0});
    EXPECT_TRUE(std::isnan(k[0]));
    EXPECT_TRUE(std::isnan(k[1]));
}

}  // namespace
}  // namespace kova
