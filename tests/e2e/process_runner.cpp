#include "tests/e2e/process_runner.h"

#include <sys/wait.h>
#include <cstdlib>

#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace fs = std::filesystem;

namespace {
std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}
}  // namespace

fs::path programPath(const std::string& program) {
    const fs::path bin(KOVA_BINARY_DIR);
    if (program == "kova") return bin / "run" / "kova";
    if (program == "kovagen") return bin / "generator" / "kovagen";
    return bin / "tools" / program;
}

ProcessResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const fs::path& workDir) {
    const fs::path outFile = workDir / ".stdout";
    const fs::path errFile = workDir / ".stderr";
    std::string command = "cd " + shellQuote(workDir.string()) + " && " +
                          shellQuote(programPath(program).string());
    for (const std::string& arg : args) command += " " + shellQuote(arg);
    command += " >" + shellQuote(outFile.string()) + " 2>" + shellQuote(errFile.string()) +
               " </dev/null";
    const int status = std::system(command.c_str());
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readText(outFile);
    result.err = readText(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return result;
}

}  // namespace kova::test
