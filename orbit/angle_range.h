#pragma once
// Reduction of an angle into one turn.
#include <cmath>

#include "core/constants.h"

namespace kova {

// The floating remainder of division by 2pi, plus 2pi when that remainder is negative:
// a result in [0, 2pi) for finite input (a remainder of -0.0 stays -0.0).
inline double reduceToOneTurn(double angle) {
    const double remainder = std::fmod(angle, kTwoPi);
    return remainder < 0.0 ? remainder + kTwoPi : remainder;
}

}  // namespace kova
