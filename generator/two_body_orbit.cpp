#include "generator/two_body_orbit.h"

#include <cmath>

#include "core/constants.h"
#include "orbit/constants.h"

namespace kova::generator {

namespace {
constexpr int kKeplerIterations = 30;
constexpr double kKeplerTolerance = 1e-15;
}  // namespace

TwoBodyOrbit::TwoBodyOrbit(const ElementSet& set)
    : eccentricity_(set.eccentricity),
      meanMotion_(set.meanMotionRevsPerDay * kTwoPi / kSecondsPerDay),
      meanAnomalyAtEpoch_(set.meanAnomalyDegrees * kRadiansPerDegree) {
    semiMajorAxis_ = std::cbrt(kEarthGm / (meanMotion_ * meanMotion_));
    const double node = set.rightAscensionDegrees * kRadiansPerDegree;
    const double inclination = set.inclinationDegrees * kRadiansPerDegree;
    const double perigee = set.argumentOfPerigeeDegrees * kRadiansPerDegree;
    const double cn = std::cos(node), sn = std::sin(node);
    const double ci = std::cos(inclination), si = std::sin(inclination);
    const double cp = std::cos(perigee), sp = std::sin(perigee);
    perigeeAxis_ = {cn * cp - sn * sp * ci, sn * cp + cn * sp * ci, sp * si};
    normalAxis_ = {-cn * sp - sn * cp * ci, -sn * sp + cn * cp * ci, cp * si};
}

double TwoBodyOrbit::period() const { return kTwoPi / meanMotion_; }

void TwoBodyOrbit::stateAt(double secondsFromEpoch, Vector3& position, Vector3& velocity) const {
    const double e = eccentricity_;
    const double meanAnomaly = std::remainder(meanAnomalyAtEpoch_ + meanMotion_ * secondsFromEpoch, kTwoPi);
    double eccentric = meanAnomaly;
    for (int i = 0; i < kKeplerIterations; ++i) {
        const double step = (eccentric - e * std::sin(eccentric) - meanAnomaly) / (1.0 - e * std::cos(eccentric));
        eccentric -= step;
        if (std::fabs(step) < kKeplerTolerance) break;
    }
    const double c = std::cos(eccentric), s = std::sin(eccentric);
    const double root = std::sqrt(1.0 - e * e);
    const double a = semiMajorAxis_;
    const double x = a * (c - e);
    const double y = a * root * s;
    const double rate = a * meanMotion_ / (1.0 - e * c);
    const double vx = -rate * s;
    const double vy = rate * root * c;
    for (int k = 0; k < 3; ++k) {
        position[k] = x * perigeeAxis_[k] + y * normalAxis_[k];
        velocity[k] = vx * perigeeAxis_[k] + vy * normalAxis_[k];
    }
}

}  // namespace kova::generator
