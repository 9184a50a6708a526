#pragma once
// The element set of a run: read from the norad file named by "-noradfile", under the
// satellite name of "-noradsatname".
#include <iosfwd>

#include "orbit/tle_record.h"
#include "run/options.h"

namespace kova {

// An empty file name reads nothing and leaves `tle` as it is. A file that cannot be opened
// (or is not a regular file) is reported as "\nFile Open failed for norad file: ..." and one
// that holds no complete set under that name as "\nNorad File Read Error" on `err`; both
// stop the run (status -1). A set that is found but unfit for use is read all the same, with
// one "\nWarning: element set for NAME: PROBLEM" line per problem.
void readNorad(const OptionTable& options, TleRecord& tle, std::ostream& err);

}  // namespace kova
