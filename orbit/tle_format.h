#pragma once
// Writing a TleRecord back as the two text lines of an element set.
#include <iosfwd>
#include <string>
#include <utility>

#include "orbit/tle_record.h"

namespace kova {

// Line 1 and line 2, each 80 characters when the values fit their fields (longer
// otherwise), with the checksum in column 69. Classification, international designator,
// ephemeris type and element number are left blank.
std::pair<std::string, std::string> formatTle(const TleRecord& tle);

// Line 1, newline, line 2, newline, flushed.
void printTle(const TleRecord& tle, std::ostream& out);

}  // namespace kova
