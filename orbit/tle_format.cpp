#include "orbit/tle_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "core/checked_int32.h"
#include "core/constants.h"
#include "orbit/tle_parser.h"

namespace kova {
namespace {

inline constexpr double kEccentricityDigits = 10000000.0;
inline constexpr double kMantissaDigits = 100000.0;     // five digits after an assumed point
inline constexpr double kRateDigits = 100000000.0;      // eight digits after the point

char signCharacter(double value) { return value < 0.0 ? '-' : '+'; }

// A value written as five mantissa digits with an assumed leading point and a power of
// ten: 0.000125 is "12500" with exponent -3.
struct AssumedPointField {
    char sign;
    std::int32_t mantissa;
    std::int32_t exponent;
};

AssumedPointField assumedPointField(double value) {
    const double magnitude = std::fabs(value);
    const std::int32_t exponent = value == 0.0 ? 0 : truncateToInt32(std::log10(magnitude));
    const double scale = std::pow(10.0, -static_cast<double>(exponent));
    const std::int32_t mantissa = truncateToInt32(magnitude * scale * kMantissaDigits);
    return {signCharacter(value), mantissa, exponent};
}

// snprintf into a string of the length the values need.
template <typename... Args>
std::string formatted(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void putChecksum(std::string& line) {
    if (line.size() > kTleChecksumOffset) line[kTleChecksumOffset] = tleChecksum(line);
}

}  // namespace

std::pair<std::string, std::string> formatTle(const TleRecord& tle) {
    const double rate = tle.meanMotionRate() * kMinutesPerDaySquared / kTwoPi;
    const double acceleration = tle.meanMotionAcceleration() * kMinutesPerDayCubed / kTwoPi;
    // The magnitude is taken in 64 bits: -2^31 has no 32-bit magnitude.
    const long long rateDigits = std::llabs(truncateToInt32(rate * kRateDigits));
    const AssumedPointField accelerationField = assumedPointField(acceleration);
    const AssumedPointField dragField = assumedPointField(tle.dragTerm());
    const int catalogueNumber = truncateToInt32(tle.catalogueNumber());

    std::string line1 = formatted(
        "1 %5d           %02d%012.8lf %c.%08lld %c%05d%+2d %c%05d%+2d                   ",
        catalogueNumber, truncateToInt32(tle.epochYear()), tle.epochDay(), signCharacter(rate),
        rateDigits, accelerationField.sign, accelerationField.mantissa, accelerationField.exponent,
        dragField.sign, dragField.mantissa, dragField.exponent);
    std::string line2 = formatted(
        "2 %5d %8.4lf %8.4lf %07d %8.4lf %8.4lf %11.8lf%5d            ", catalogueNumber,
        tle.inclination() / kRadiansPerDegree, tle.rightAscension() / kRadiansPerDegree,
        truncateToInt32(tle.eccentricity() * kEccentricityDigits),
        tle.argumentOfPerigee() / kRadiansPerDegree, tle.meanAnomaly() / kRadiansPerDegree,
        tle.meanMotion() * kMinutesPerDay / kTwoPi, truncateToInt32(tle.revolutionNumber()));
    putChecksum(line1);
    putChecksum(line2);
    return {std::move(line1), std::move(line2)};
}

void printTle(const TleRecord& tle, std::ostream& out) {
    const auto [line1, line2] = formatTle(tle);
    out << line1 << '\n' << line2 << std::endl;
}

}  // namespace kova
