#pragma once
// One kovareport run: the command line, the analysis, the text report on `out`, the JSON and
// HTML files; every message on `err`.
#include <iosfwd>
#include <string>
#include <vector>

namespace kova::report {

inline constexpr int kExitComplete = 0;
inline constexpr int kExitBadInput = 1;   // an input kova would refuse, or an output that fails
inline constexpr int kExitUsage = 2;      // a malformed command line

// Runs on the arguments after the program name; returns the exit status.
int runReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace kova::report
