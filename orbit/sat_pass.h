#pragma once
// The pass cut into orbit revolutions, in stream order; RevolutionCutter builds it.
#include <vector>

#include "packets/nav_record.h"

namespace kova {

struct RevEntry {
    NavRecord record;        // copy of the record that opened the revolution (flags not kept)
    double lastTime = 0.0;   // time of the latest record of the revolution
};

using SatPass = std::vector<RevEntry>;

}  // namespace kova
