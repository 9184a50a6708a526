#pragma once
// Reading the two text lines of an element set into a TleRecord.
#include <string>
#include <string_view>
#include <vector>

#include "orbit/tle_record.h"

namespace kova {

// Column 69 of a line holds the checksum of its first 68 characters.
inline constexpr std::size_t kTleChecksumOffset = 68;

// '0' + (sum over the first 68 characters, digits by value, '-' as 1, others 0) mod 10.
// Characters missing from a shorter line add nothing.
char tleChecksum(std::string_view line);

// What the conversions of the two lines found: how many fields each assigned (line 1 has
// 10, line 2 has 7, the line numbers first), the line numbers read, and whether each
// line's checksum character is present and matches.
struct TleLinesRead {
    int line1Fields = 0;
    int line1Number = 0;
    int line2Fields = 0;
    int line2Number = 0;
    bool line1ChecksumMatches = false;
    bool line2ChecksumMatches = false;
};

// Fills `tle` from line 1 and line 2 of an element set; angles to radians, mean motion
// to radians per minute and its derivatives per minute squared and cubed. Each line is
// read as a C string, up to its first NUL. A field that does not convert keeps its value
// in `tle`; `valid` tells whether both checksum characters are present and match.
TleLinesRead parseTle(const std::string& line1, const std::string& line2, TleRecord& tle);

// What makes a parsed set unfit for use, in this order: "line 1 unreadable" (fewer than
// its 10 fields, or a line number other than 1), "line 2 unreadable" (fewer than 7, or not
// 2), "line 1 checksum wrong", "line 2 checksum wrong", "no mean motion" (zero or not
// finite). Empty for a sound set.
std::vector<std::string_view> elementSetProblems(const TleLinesRead& read, const TleRecord& tle);

}  // namespace kova
