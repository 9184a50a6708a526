#include "orbit/tle_parser.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/constants.h"


namespace kova {
namespace {

inline constexpr double kEccentricityScale = 0.0000001;     // seven digits, point assumed
inline constexpr double kAssumedPointScale = 0.00001;       // five mantissa digits, point assumed
inline constexpr std::size_t kRevolutionNumberOffset = 63;  // columns 64-68 of line 2
inline constexpr std::size_t kRevolutionNumberWidth = 5;

// A mantissa with the assumed leading point and a power of ten, as in "-11606-4".
double assumedPointValue(double mantissa, int exponent) {
    return mantissa * std::pow(10.0, exponent) * kAssumedPointScale;
}

void parseLine1(const char* line, TleRecord& tle, char& checksum) {
    int lineNumber = 0;
    double catalogueNumber = 0.0;
    double epochYear = 0.0;
    double epochDay = 0.0;
    double meanMotionRate = 0.0;
    double accelerationMantissa = 0.0;
    int accelerationExponent = 0;
    double dragMantissa = 0.0;
    int dragExponent = 0;
    const int converted = std::sscanf(
        line, "%1d%*1c%5lf%*10c%2lf%12lf%*1c%10lf%*1c%6lf%2d%*1c%6lf%2d%*7c%1c", &lineNumber,
        &catalogueNumber, &epochYear, &epochDay, &meanMotionRate, &accelerationMantissa,
        &accelerationExponent, &dragMantissa, &dragExponent, &checksum);
    // sscanf stops at the first field that fails, so `converted` counts the leading
    // fields that were read; the others keep what the record held.
    if (converted >= 2) tle.values[tle_field::kCatalogueNumber] = catalogueNumber;
    if (converted >= 3) tle.values[tle_field::kEpochYear] = epochYear;
    if (converted >= 4) tle.values[tle_field::kEpochDay] = epochDay;
    if (converted >= 5) {
        tle.values[tle_field::kMeanMotionRate] = meanMotionRate * kTwoPi / kMinutesPerDaySquared;
    }
    if (converted >= 6) {
        tle.values[tle_field::kMeanMotionAcceleration] =
            assumedPointValue(accelerationMantissa, accelerationExponent) * kTwoPi /
            kMinutesPerDayCubed;
    }
    if (converted >= 8) {
        tle.values[tle_field::kDragTerm] = assumedPointValue(dragMantissa, dragExponent);
    }
}

void parseLine2(const char* line, TleRecord& tle) {
    int lineNumber = 0;
    double inclination = 0.0;
    double rightAscension = 0.0;
    double eccentricity = 0.0;
    double argumentOfPerigee = 0.0;
    double meanAnomaly = 0.0;
    double meanMotion = 0.0;
    const int converted =
        std::sscanf(line, "%1d%*7c%8lf%*1c%8lf%*1c%7lf%*1c%8lf%*1c%8lf%*1c%11lf", &lineNumber,
                    &inclination, &rightAscension, &eccentricity, &argumentOfPerigee,
                    &meanAnomaly, &meanMotion);
    if (converted >= 2) tle.values[tle_field::kInclination] = inclination * kRadiansPerDegree;
    if (converted >= 3) {
        tle.values[tle_field::kRightAscension] = rightAscension * kRadiansPerDegree;
    }
    if (converted >= 4) tle.values[tle_field::kEccentricity] = eccentricity * kEccentricityScale;
    if (converted >= 5) {
        tle.values[tle_field::kArgumentOfPerigee] = argumentOfPerigee * kRadiansPerDegree;
    }
    if (converted >= 6) tle.values[tle_field::kMeanAnomaly] = meanAnomaly * kRadiansPerDegree;
    if (converted >= 7) tle.values[tle_field::kMeanMotion] = meanMotion * kTwoPi / kMinutesPerDay;
}

double revolutionNumber(std::string_view line2) {
    if (line2.size() <= kRevolutionNumberOffset) return 0.0;
    const std::string digits(line2.substr(kRevolutionNumberOffset, kRevolutionNumberWidth));
    return std::atof(digits.c_str());
}

}  // namespace

char tleChecksum(std::string_view line) {
    int sum = 0;
    const std::size_t length = line.size() < kTleChecksumOffset ? line.size() : kTleChecksumOffset;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = line[i];
        if (c >= '0' && c <= '9') {
            sum += c - '0';
        } else if (c == '-') {
            sum += 1;
        }
    }
    return static_cast<char>('0' + sum % 10);
}

void parseTle(const std::string& line1, const std::string& line2, TleRecord& tle) {
    // What sscanf sees: each line up to its first NUL.
    const std::string_view text1(line1.c_str());
    const std::string_view text2(line2.c_str());

    char checksum1 = '\0';  // stays NUL, and so never matches, when the line is too short
    parseLine1(text1.data(), tle, checksum1);
    parseLine2(text2.data(), tle);
    tle.values[tle_field::kRevolutionNumber] = revolutionNumber(text2);

    const char checksum2 = text2.size() > kTleChecksumOffset ? text2[kTleChecksumOffset] : '\0';
    tle.valid = tleChecksum(text1) == checksum1 && tleChecksum(text2) == checksum2;
}

}  // namespace kova
