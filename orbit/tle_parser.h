#pragma once
// Reading the two text lines of an element set into a TleRecord.
#include <string>
#include <string_view>

#include "orbit/tle_record.h"

namespace kova {

// Column 69 of a line holds the checksum of its first 68 characters.
inline constexpr std::size_t kTleChecksumOffset = 68;

// '0' + (sum over the first 68 characters, digits by value, '-' as 1, others 0) mod 10.
// Characters missing from a shorter line add nothing.
char tleChecksum(std::string_view line);

// Fills `tle` from line 1 and line 2 of an element set; angles to radians, mean motion
// to radians per minute and its derivatives per minute squared and cubed. Each line is
// read as a C string, up to its first NUL. A field that does not convert keeps its value
// in `tle`; `valid` tells whether both checksum characters are present and match.
void parseTle(const std::string& line1, const std::string& line2, TleRecord& tle);

}  // namespace kova
