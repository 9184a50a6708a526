#pragma once
// Runs ephdiag or attdiag in-process on a command line and collects what it produced.
#include <iosfwd>
#include <string>
#include <vector>

namespace kova::test {

using DumpToolEntry = int (*)(int argc, const char* const* argv, std::ostream& err);

struct DumpToolResult {
    int status = 0;
    std::string errorText;  // everything written to the error stream
    std::string dumpText;   // the dump file after the run (empty when there is none)
    bool dumpExists = false;
};

// `arguments` follow the program name; the dump file read back is `dumpFile`.
DumpToolResult runDumpToolInProcess(DumpToolEntry tool, const char* programName,
                                    const std::vector<std::string>& arguments,
                                    const std::string& dumpFile);

// The text between the records' column title line and the line after the last record:
// the record lines of a dump (ephemeris or attitude).
std::string recordSection(const std::string& dumpText);

}  // namespace kova::test
