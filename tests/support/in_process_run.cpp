#include "tests/support/in_process_run.h"

#include <sstream>

namespace kova::test {

RunOutput runInProcess(ProgramEntry entry, const char* program, const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{program};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out;
    std::ostringstream err;
    RunOutput result;
    result.status = entry(static_cast<int>(argv.size()), argv.data(), out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace kova::test
