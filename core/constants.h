#pragma once
// Mathematical and time constants shared by every computation. Each is the double the
// arithmetic has always used: where a division is written as a product with a reciprocal,
// the reciprocal is stored here as that exact double.
namespace kova {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr double kDegreesPerRadian = 180.0 / kPi;
inline constexpr double kRadiansPerDegree = kPi / 180.0;

inline constexpr double kSecondsPerMinute = 60.0;
inline constexpr double kSecondsPerHour = 3600.0;
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kDaysPerSecond = 1.1574074074074073e-05;  // 1 / 86400
inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kMinutesPerDaySquared = 2073600.0;
inline constexpr double kMinutesPerDayCubed = 2985984000.0;
inline constexpr double kDaysPerYear = 365.25;                    // Julian year
inline constexpr double kYearsPerDay = 0.0027378507871321013;     // 1 / 365.25

inline constexpr double kUnixEpochJd = 2440587.5;  // 1970-01-01 00:00 as a Julian date

}  // namespace kova
