#include "orbit/revolution_cutter.h"

namespace kova {

void RevolutionCutter::openRevolution(const NavRecord& record, SatPass& pass) {
    pass.push_back(RevEntry{record, 0.0});
    pass.back().record.setQaFlags(0);
}

}  // namespace kova
