#pragma once
// Runs a program's entry point in-process on a command line and collects what it wrote.
#include <ostream>
#include <string>
#include <vector>

namespace kova::test {

struct RunOutput {
    int status = 0;
    std::string out;
    std::string err;
};

// An entry point that takes the arguments and the two output streams, as runKova does.
using ProgramEntry = int (*)(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// `entry` with `program` as the program name and `arguments` after it.
RunOutput runInProcess(ProgramEntry entry, const char* program, const std::vector<std::string>& arguments);

}  // namespace kova::test
