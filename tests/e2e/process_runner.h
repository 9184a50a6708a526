#pragma once
// Runs a built program as a child process in a given directory and captures its standard
// output, error stream and exit code.
#include <filesystem>
#include <string>
#include <vector>

namespace kova::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::filesystem::path programPath(const std::string& program);  // kova, ephdiag, attdiag, kovagen

ProcessResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& workDir);

}  // namespace kova::test
