#pragma once
// Cutting the pass into orbit revolutions: a new revolution opens at the first record and at
// every northward crossing of the equatorial plane (z from negative to zero or positive).
#include "orbit/sat_pass.h"
#include "packets/nav_record.h"

namespace kova {

// Cutter state of one run: it sees every record of the stream exactly once, in order.
class RevolutionCutter {
public:
    // Inline: it sees every record of the pass, and opens a revolution about once in 6000.
    void cutRevolutions(const NavRecord& record, SatPass& pass) {
        const double z = record.values()[2];
        if (z >= 0.0 && prevZ_ < 0.0) openNext_ = true;  // northward crossing of the equator
        if (openNext_) openRevolution(record, pass);
        pass.back().lastTime = record.julianDate();
        openNext_ = false;
        prevZ_ = z;
    }

private:
    static void openRevolution(const NavRecord& record, SatPass& pass);

    bool openNext_ = true;
    double prevZ_ = 0.0;
};

}  // namespace kova
