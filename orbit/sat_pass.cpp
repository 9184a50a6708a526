#include "orbit/sat_pass.h"

namespace kova {

void RevolutionCutter::cutRevolutions(const NavRecord& record, SatPass& pass) {
    const double z = record.values()[2];
    if (z >= 0.0 && prevZ_ < 0.0) openNext_ = true;  // northward crossing of the equator
    if (openNext_) {
        pass.push_back(RevEntry{record, 0.0});
        pass.back().record.setQaFlags(0);
    }
    pass.back().lastTime = record.julianDate();
    openNext_ = false;
    prevZ_ = z;
}

}  // namespace kova
