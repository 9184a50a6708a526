#pragma once
// One two-line element set in memory, in the units the orbit model works in.
#include <array>
#include <cstddef>

namespace kova {

// Positions of the values in TleRecord::values.
namespace tle_field {
inline constexpr std::size_t kMeanMotion = 0;           // rad/min
inline constexpr std::size_t kEccentricity = 1;
inline constexpr std::size_t kInclination = 2;          // rad
inline constexpr std::size_t kRightAscension = 3;       // rad, ascending node
inline constexpr std::size_t kArgumentOfPerigee = 4;    // rad
inline constexpr std::size_t kMeanAnomaly = 5;          // rad
inline constexpr std::size_t kDragTerm = 6;             // BSTAR, as written in the set
inline constexpr std::size_t kMeanMotionRate = 7;       // rad/min^2
inline constexpr std::size_t kMeanMotionAcceleration = 8;  // rad/min^3
inline constexpr std::size_t kCatalogueNumber = 9;
inline constexpr std::size_t kEpochYear = 10;           // two digits
inline constexpr std::size_t kEpochDay = 11;            // day of year, 1.0 = 0 h on 1 January
inline constexpr std::size_t kRevolutionNumber = 12;    // revolutions at epoch
inline constexpr std::size_t kCount = 13;
}  // namespace tle_field

struct TleRecord {
    bool valid = true;  // both line checksums matched (true until a set is parsed)
    std::array<double, tle_field::kCount> values{};

    double meanMotion() const { return values[tle_field::kMeanMotion]; }
    double eccentricity() const { return values[tle_field::kEccentricity]; }
    double inclination() const { return values[tle_field::kInclination]; }
    double rightAscension() const { return values[tle_field::kRightAscension]; }
    double argumentOfPerigee() const { return values[tle_field::kArgumentOfPerigee]; }
    double meanAnomaly() const { return values[tle_field::kMeanAnomaly]; }
    double dragTerm() const { return values[tle_field::kDragTerm]; }
    double meanMotionRate() const { return values[tle_field::kMeanMotionRate]; }
    double meanMotionAcceleration() const { return values[tle_field::kMeanMotionAcceleration]; }
    double catalogueNumber() const { return values[tle_field::kCatalogueNumber]; }
    double epochYear() const { return values[tle_field::kEpochYear]; }
    double epochDay() const { return values[tle_field::kEpochDay]; }
    double revolutionNumber() const { return values[tle_field::kRevolutionNumber]; }
};

}  // namespace kova
