#include "orbit/tle_parser.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

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

// A value of the record that a line's conversion gives once it has read the value's field:
// sscanf stops at the first field that fails, so the number it returns counts the leading
// fields that were read, and the values of the fields after them keep what the record held.
struct ConvertedValue {
    int field;  // 1-based position of the value's (first) conversion in the line's format
    std::size_t value;
    double converted;
};

void assignConverted(TleRecord& tle, int converted, std::initializer_list<ConvertedValue> values) {
    for (const ConvertedValue& v : values) {
        if (converted >= v.field) tle.values[v.value] = v.converted;
    }
}

constexpr int kLine1Fields = 10;
constexpr int kLine2Fields = 7;

void parseLine1(const char* line, TleRecord& tle, TleLinesRead& read, char& checksum) {
    double catalogueNumber = 0.0;
    double epochYear = 0.0;
    double epochDay = 0.0;
    double meanMotionRate = 0.0;
    double accelerationMantissa = 0.0;
    int accelerationExponent = 0;
    double dragMantissa = 0.0;
    int dragExponent = 0;
    read.line1Fields = std::sscanf(
        line, "%1d%*1c%5lf%*10c%2lf%12lf%*1c%10lf%*1c%6lf%2d%*1c%6lf%2d%*7c%1c", &read.line1Number,
        &catalogueNumber, &epochYear, &epochDay, &meanMotionRate, &accelerationMantissa,
        &accelerationExponent, &dragMantissa, &dragExponent, &checksum);
    using namespace tle_field;
    assignConverted(tle, read.line1Fields,
                    {{2, kCatalogueNumber, catalogueNumber},
                     {3, kEpochYear, epochYear},
                     {4, kEpochDay, epochDay},
                     {5, kMeanMotionRate, meanMotionRate * kTwoPi / kMinutesPerDaySquared},
                     {6, kMeanMotionAcceleration,
                      assumedPointValue(accelerationMantissa, accelerationExponent) * kTwoPi / kMinutesPerDayCubed},
                     {8, kDragTerm, assumedPointValue(dragMantissa, dragExponent)}});
}

void parseLine2(const char* line, TleRecord& tle, TleLinesRead& read) {
    double inclination = 0.0;
    double rightAscension = 0.0;
    double eccentricity = 0.0;
    double argumentOfPerigee = 0.0;
    double meanAnomaly = 0.0;
    double meanMotion = 0.0;
    read.line2Fields =
        std::sscanf(line, "%1d%*7c%8lf%*1c%8lf%*1c%7lf%*1c%8lf%*1c%8lf%*1c%11lf", &read.line2Number,
                    &inclination, &rightAscension, &eccentricity, &argumentOfPerigee, &meanAnomaly,
                    &meanMotion);
    using namespace tle_field;
    assignConverted(tle, read.line2Fields,
                    {{2, kInclination, inclination * kRadiansPerDegree},
                     {3, kRightAscension, rightAscension * kRadiansPerDegree},
                     {4, kEccentricity, eccentricity * kEccentricityScale},
                     {5, kArgumentOfPerigee, argumentOfPerigee * kRadiansPerDegree},
                     {6, kMeanAnomaly, meanAnomaly * kRadiansPerDegree},
                     {7, kMeanMotion, meanMotion * kTwoPi / kMinutesPerDay}});
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

TleLinesRead parseTle(const std::string& line1, const std::string& line2, TleRecord& tle) {
    // What sscanf sees: each line up to its first NUL.
    const std::string_view text1(line1.c_str());
    const std::string_view text2(line2.c_str());

    TleLinesRead read;
    char checksum1 = '\0';  // stays NUL, and so never matches, when the line is too short
    parseLine1(text1.data(), tle, read, checksum1);
    parseLine2(text2.data(), tle, read);
    tle.values[tle_field::kRevolutionNumber] = revolutionNumber(text2);

    const char checksum2 = text2.size() > kTleChecksumOffset ? text2[kTleChecksumOffset] : '\0';
    read.line1ChecksumMatches = tleChecksum(text1) == checksum1;
    read.line2ChecksumMatches = tleChecksum(text2) == checksum2;
    tle.valid = read.line1ChecksumMatches && read.line2ChecksumMatches;
    return read;
}

std::vector<std::string_view> elementSetProblems(const TleLinesRead& read, const TleRecord& tle) {
    std::vector<std::string_view> problems;
    if (read.line1Fields < kLine1Fields || read.line1Number != 1) problems.push_back("line 1 unreadable");
    if (read.line2Fields < kLine2Fields || read.line2Number != 2) problems.push_back("line 2 unreadable");
    if (!read.line1ChecksumMatches) problems.push_back("line 1 checksum wrong");
    if (!read.line2ChecksumMatches) problems.push_back("line 2 checksum wrong");
    const double meanMotion = tle.meanMotion();
    if (meanMotion == 0.0 || !std::isfinite(meanMotion)) problems.push_back("no mean motion");
    return problems;
}

}  // namespace kova
