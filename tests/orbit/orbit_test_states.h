#pragma once
// States of known orbits, built from the elements by the textbook inverse relations, and
// navigation records carrying them.
#include <array>
#include <cmath>

#include "orbit/constants.h"
#include "orbit/kepler_elements.h"
#include "orbit/sat_pass.h"
#include "packets/nav_record.h"
#include "packets/packet_layout.h"

namespace kova::orbit_test {

struct State {
    std::array<double, 3> position;
    std::array<double, 3> velocity;
};

// Position and velocity for a, e, i, RAAN, argument of perigee and eccentric anomaly.
inline State stateFromElements(double a, double e, double i, double node, double perigee,
                               double eccentricAnomaly) {
    const double cosE = std::cos(eccentricAnomaly);
    const double sinE = std::sin(eccentricAnomaly);
    const double root = std::sqrt(1.0 - e * e);
    const double radius = a * (1.0 - e * cosE);
    const double xp = a * (cosE - e);
    const double yp = a * root * sinE;
    const double speedScale = std::sqrt(kEarthGm * a) / radius;
    const double vxp = -speedScale * sinE;
    const double vyp = speedScale * root * cosE;

    const double cO = std::cos(node), sO = std::sin(node);
    const double cI = std::cos(i), sI = std::sin(i);
    const double cW = std::cos(perigee), sW = std::sin(perigee);
    // Columns of the perifocal-to-inertial rotation Rz(node) Rx(i) Rz(perigee).
    const std::array<double, 3> p = {cO * cW - sO * sW * cI, sO * cW + cO * sW * cI, sW * sI};
    const std::array<double, 3> q = {-cO * sW - sO * cW * cI, -sO * sW + cO * cW * cI, cW * sI};
    State state{};
    for (int k = 0; k < 3; ++k) {
        state.position[k] = xp * p[k] + yp * q[k];
        state.velocity[k] = vxp * p[k] + vyp * q[k];
    }
    return state;
}

inline NavRecord navRecordAt(double julianDate, const State& state) {
    NavRecord record(kNavPacketSize);
    NavValues values{};
    for (int k = 0; k < 3; ++k) {
        values[k] = state.position[k];
        values[3 + k] = state.velocity[k];
    }
    values[9] = 1.0;
    record.setValues(values);
    record.setJulianDate(julianDate);
    return record;
}

inline RevEntry revEntryAt(double julianDate, const State& state, double lastTime) {
    return RevEntry{navRecordAt(julianDate, state), lastTime};
}

}  // namespace kova::orbit_test
