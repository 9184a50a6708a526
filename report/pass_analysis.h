#pragma once
// One pass read the way kova reads it: the packet file walked and indexed, the first and
// last navigation packets checked, the element set found and parsed, every record of the
// record stream with its flags and attitude angles, the revolutions and what kova writes for
// each; plus the walk over every APID and the crossings measured from the data. Where kova
// would stop with an error, the analysis stops too and says why; it prints nothing itself.
#include <cstddef>
#include <string>

#include "report/pass_report.h"

namespace kova::report {

struct AnalysisSettings {
    std::string packetFileName;
    std::string noradFileName;  // empty: no element set, as kova without -noradfile
    std::string satelliteName;  // kova's -noradsatname
    std::size_t chartColumns = 900;     // pixel columns of the time charts
    std::size_t trackPoints = 24000;    // about this many sampled points on the ground track
};

struct AnalysisOutcome {
    bool complete = false;
    // Why not, in one or two sentences, naming what kova would report.
    std::string problem;
};

AnalysisOutcome analysePass(const AnalysisSettings& settings, PassReport& report);

}  // namespace kova::report
