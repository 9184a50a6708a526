#pragma once
#include <array>

namespace kova {

// a [m], e, i, RAAN, argument of perigee, mean anomaly [rad], in this order.
using KeplerElements = std::array<double, 6>;

}  // namespace kova
