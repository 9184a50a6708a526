#pragma once
// Spacecraft names and the physical and mathematical constants shared by every computation.
#include <string_view>

namespace kova {

inline constexpr std::string_view kDefaultNoradSatName = "MARU";   // key searched in the norad file
inline constexpr std::string_view kDefaultXtkSatName = "KALPM1";   // name written into the file headers
inline constexpr std::string_view kWidePacketSatName = "SELA";     // selects 214-byte navigation packets
inline constexpr std::string_view kReferenceFrame = "J2000";

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr double kDegreesPerRadian = 180.0 / kPi;
inline constexpr double kRadiansPerDegree = kPi / 180.0;
inline constexpr double kEarthGm = 398600640000000.0;  // m^3/s^2
inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kSecondsPerDay = 86400.0;

inline constexpr int kNavApid = 957;
inline constexpr int kNavPacketSize = 126;
inline constexpr int kWideNavPacketSize = 214;

}  // namespace kova
