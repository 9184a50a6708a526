#pragma once
// The element set of a pass: found in the norad file under the satellite name and parsed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orbit/tle_parser.h"
#include "orbit/tle_record.h"
#include "pass/pass_refusal.h"

namespace kova {

// The element set as found in the norad file, beside the parsed TleRecord.
struct ElementSetText {
    std::string searchKey;  // the satellite name as searched for ("$$$$" for a blank name)
    std::string nameLine;   // the line that held the name
    std::string line1;
    std::string line2;
    TleLinesRead linesRead;
    // What makes the set unfit, though it is used as it is ("line 1 checksum wrong", ...).
    std::vector<std::string_view> problems;
};

// Finds the set of `satelliteName` in the norad file `noradFileName` (the first line that
// holds the name, then the next two lines) and parses it into `tle`, filling `text`.
// Returns kNoradFileNotOpenable for a file that does not open or is not a regular file,
// kElementSetNotFound when the file ends before the set does, nothing when the set was read
// (fit or not: its problems are in `text`).
std::optional<PassRefusal> readNoradElementSet(const std::string& noradFileName, const std::string& satelliteName,
                                          TleRecord& tle, ElementSetText& text);

}  // namespace kova
