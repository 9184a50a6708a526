#include "time/sidereal_angle.h"

#include <cmath>
#include <cstdint>

#include "core/checked_int32.h"
#include "core/constants.h"

namespace kova {

namespace {

constexpr double kDayOrigin = 2451545.5;
constexpr double kJ2000 = 2451545.0;
constexpr double kCenturiesPerDay = 0.000027378507871321012;  // 1 / 36525
constexpr double kFullCircleDegrees = 360.0;
constexpr double kArcsecondsPerDegree = 3600.0;
constexpr double kDegreesPerTimeSecond = 0.004166666666666667;  // 1 / 240
constexpr double kSiderealDegreesPerDay = 360.985647348;

double mod360(double degrees) { return std::fmod(degrees, kFullCircleDegrees); }
double radians(double degrees) { return degrees / kDegreesPerRadian; }

}  // namespace

double gast(double utJulianDate) {
    const double d = utJulianDate - kDayOrigin;
    const double midnight = static_cast<double>(truncateToInt32(utJulianDate + 0.5)) - 0.5;
    const double t = (midnight - kJ2000) * kCenturiesPerDay;

    const double sunMeanLongitude = mod360(280.46592 + 0.9856473516 * d);
    const double moonNode = radians(mod360(125.04452 - 0.0529537648 * d));
    const double sunMeanAnomaly = radians(mod360(357.52772 + 0.9856002831 * d));
    const double moonMeanLongitude = mod360(218.31643 + 13.17639648 * d);

    const double twiceSun = radians(2.0 * sunMeanLongitude);
    const double twiceMoon = radians(2.0 * moonMeanLongitude);
    const double nutationInLongitude =
        (-17.1996 * std::sin(moonNode) + 0.2062 * std::sin(2.0 * moonNode) -
         1.3187 * std::sin(twiceSun) + 0.1426 * std::sin(sunMeanAnomaly) -
         0.2274 * std::sin(twiceMoon)) /
        kArcsecondsPerDegree;
    const double trueObliquity =
        23.439291 - 0.000000356 * d +
        (9.2025 * std::cos(moonNode) + 0.5736 * std::cos(twiceSun)) / kArcsecondsPerDegree;
    const double equationOfEquinoxes = nutationInLongitude * std::cos(radians(trueObliquity));

    const double meanSiderealAtMidnight =
        (24110.54841 + t * (8640184.812866 + 0.093104 * t) - 0.0000062 * (t * t * t)) *
        kDegreesPerTimeSecond;
    const double degrees = meanSiderealAtMidnight + equationOfEquinoxes +
                           (utJulianDate - midnight) * kSiderealDegreesPerDay;

    double angle = std::fmod(radians(degrees), kTwoPi);
    if (angle < 0.0) angle += kTwoPi;
    return angle;
}

}  // namespace kova
