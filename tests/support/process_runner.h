#pragma once
// Runs a built program of the project as a child process in a working directory and
// captures its standard output, error stream and exit code. Safe to call from several
// threads at once, also in one directory.
#include <filesystem>
#include <string>
#include <vector>

namespace kova::test {

// kova's exit statuses -1 and -101 as a parent process sees them.
inline constexpr int kKovaExitFailure = 255;
inline constexpr int kKovaExitNoPacketFile = 155;

struct ProcessResult {
    int exitCode = -1;  // the process exit code (255 for -1, 155 for -101); -1 if it did not exit
    std::string out;
    std::string err;
};

// kova, ephdiag, attdiag, kovagen, kovaexport, kovareport in the build tree.
std::filesystem::path programPath(const std::string& program);

// `program` with `arguments` after its name, started in `workDir`, standard input empty,
// standard output captured (or sent to `standardOutput` when that is given, /dev/full say).
// A program still running after two minutes is killed (exit code 124 or 137): a hang fails
// the test instead of stopping the suite. Throws std::runtime_error when the program is not
// built.
ProcessResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& workDir, const std::string& standardOutput = "");

}  // namespace kova::test
