#pragma once
// One kovareport run: the command line, the analysis, the JSON and HTML files (both or
// neither), then the text report on `out`; every message on `err`.
#include <iosfwd>
#include <string>
#include <vector>

#include "core/program_shell.h"

namespace kova::report {

inline constexpr int kExitComplete = kExitDone;
inline constexpr int kExitBadInput = kExitFailure;  // an input kova would refuse, or an output that fails
inline constexpr int kExitUsage = kExitCommandLine;  // a malformed command line

// Runs on the arguments after the program name; returns the exit status.
int runReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace kova::report
