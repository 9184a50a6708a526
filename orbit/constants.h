#pragma once
// Physical constants of the orbit computations.
namespace kova {

inline constexpr double kEarthGm = 398600640000000.0;  // gravitational parameter, m^3/s^2

}  // namespace kova
