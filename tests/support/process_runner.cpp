#include "tests/support/process_runner.h"

#include <sys/wait.h>
#include <atomic>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "tests/support/temporary_directory.h"

namespace kova::test {

namespace fs = std::filesystem;

namespace {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char character : text) {
        if (character == '\'') {
            quoted += "'\\''";
        } else {
            quoted += character;
        }
    }
    return quoted + "'";
}

}  // namespace

fs::path programPath(const std::string& program) {
    static const std::map<std::string, std::string> kFolders = {
        {"kova", "run"},        {"kovagen", "generator"},  {"ephdiag", "tools"},
        {"attdiag", "tools"},   {"kovaexport", "export"}, {"kovareport", "report"}};
    const auto folder = kFolders.find(program);
    if (folder == kFolders.end()) throw std::runtime_error("no such program: " + program);
    return fs::path(KOVA_BINARY_DIR) / folder->second / program;
}

ProcessResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const fs::path& workDir, const std::string& standardOutput) {
    const fs::path path = programPath(program);
    if (!fs::exists(path)) throw std::runtime_error(program + " is not built: " + path.string());
    // Capture files of their own for every call, so runs in the same directory at the same
    // time never share one.
    static std::atomic<unsigned> callCounter{0};
    const std::string stem = ".process-" + std::to_string(callCounter++);
    const fs::path outFile = workDir / (stem + ".out");
    const fs::path errFile = workDir / (stem + ".err");

    // Built by appending: GCC 12 at -O3 warns wrongly (-Wrestrict) about "text" + string.
    std::string command = "cd ";
    command.append(shellQuoted(workDir.string())).append(" && exec timeout -k 10 120 ");
    command.append(shellQuoted(path.string()));
    for (const std::string& argument : arguments) command.append(" ").append(shellQuoted(argument));
    command.append(" </dev/null >").append(shellQuoted(standardOutput.empty() ? outFile.string() : standardOutput));
    command.append(" 2>").append(shellQuoted(errFile.string()));
    const int status = std::system(command.c_str());

    ProcessResult result;
    result.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    if (standardOutput.empty()) result.out = readText(outFile);
    result.err = readText(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return result;
}

}  // namespace kova::test
