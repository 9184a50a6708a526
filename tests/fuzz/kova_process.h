#pragma once
// Runs the built kova program as a child process in a working directory and captures its
// standard output, error stream and exit code. Safe to call from several threads at once.
#include <filesystem>
#include <string>
#include <vector>

namespace kova::test {

struct KovaProcessResult {
    int exitCode = -1;  // the process exit code (255 for -1, 155 for -101); -1 if it did not exit
    std::string out;
    std::string err;
};

std::filesystem::path kovaProgramPath();

// kova with `arguments` after the program name, started in `workDir`, standard input empty.
KovaProcessResult runKovaProcess(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& workDir);

}  // namespace kova::test
