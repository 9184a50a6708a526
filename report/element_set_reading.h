#pragma once
// The element set of a pass, found and parsed the way kova reads its norad file, and what
// the report says about it.
#include <string>

#include "orbit/tle_record.h"
#include "report/pass_report.h"

namespace kova::report {

enum class ElementSetRead {
    kRead,
    kCannotOpen,   // kova: "File Open failed for norad file"
    kNotFound,     // kova: "Norad File Read Error"
};

// Finds the set under `satelliteName` in `fileName` and parses it into `tle`; fills the
// names, lines, checksum states and problems of `facts` (the epoch and age are the
// caller's: they need the orbit model and the pass).
ElementSetRead readElementSet(const std::string& fileName, const std::string& satelliteName, TleRecord& tle,
                              ElementSetFacts& facts);

}  // namespace kova::report
