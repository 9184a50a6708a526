#pragma once
// The pass cut into orbit revolutions: a new revolution opens at the first record and at
// every northward crossing of the equatorial plane (z from negative to zero or positive).
#include <vector>

#include "packets/nav_record.h"

namespace kova {

struct RevEntry {
    NavRecord record;        // copy of the record that opened the revolution (flags not kept)
    double lastTime = 0.0;   // time of the latest record of the revolution
};

using SatPass = std::vector<RevEntry>;

// Cutter state of one run: it sees every record of the stream exactly once, in order.
class RevolutionCutter {
public:
    void cutRevolutions(const NavRecord& record, SatPass& pass);

private:
    bool openNext_ = true;
    double prevZ_ = 0.0;
};

}  // namespace kova
