#include "run/norad_input.h"

#include <ostream>
#include <string>
#include <string_view>

#include "core/file_kind.h"
#include "core/run_stop.h"
#include "orbit/norad_file.h"
#include "orbit/tle_parser.h"

namespace kova {

void readNorad(const OptionTable& options, TleRecord& tle, std::ostream& err) {
    const std::string fileName = options.getOption(option_keyword::kNoradFile);
    if (fileName.empty()) return;
    NoradFile file(fileName, options.getOption(option_keyword::kNoradSatName));
    if (!file.isOpen()) reportFileOpenFailure(file_kind::kNorad, fileName, err);
    if (!file.findElementSet()) {
        err << "\nNorad File Read Error" << std::endl;
        stopRun(kStatusFailure);
    }
    const TleLinesRead read = parseTle(file.line1(), file.line2(), tle);
    // The run goes on with a set that is found but unfit: archives hold sets with wrong
    // checksums that have always been used as they are. It says so, though.
    for (const std::string_view problem : elementSetProblems(read, tle)) {
        err << "\nWarning: element set for " << file.satelliteName() << ": " << problem << std::endl;
    }
}

}  // namespace kova
