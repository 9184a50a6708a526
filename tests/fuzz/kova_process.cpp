#include "tests/fuzz/kova_process.h"

#include <sys/wait.h>
#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "tests/support/temporary_directory.h"

namespace kova::test {

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

std::filesystem::path kovaProgramPath() { return std::filesystem::path(KOVA_BINARY_DIR) / "run" / "kova"; }

KovaProcessResult runKovaProcess(const std::vector<std::string>& arguments,
                                 const std::filesystem::path& workDir) {
    if (!std::filesystem::exists(kovaProgramPath())) {
        throw std::runtime_error("kova is not built: " + kovaProgramPath().string());
    }
    // Capture files of their own for every call, so runs in the same directory at the same
    // time never share one.
    static std::atomic<unsigned> callCounter{0};
    const std::string stem = ".kova-process-" + std::to_string(callCounter++);
    const std::filesystem::path outFile = workDir / (stem + ".out");
    const std::filesystem::path errFile = workDir / (stem + ".err");

    std::string command = "cd " + shellQuoted(workDir.string()) + " && exec " + shellQuoted(kovaProgramPath().string());
    for (const std::string& argument : arguments) command += " " + shellQuoted(argument);
    command += " </dev/null >" + shellQuoted(outFile.string()) + " 2>" + shellQuoted(errFile.string());
    const int status = std::system(command.c_str());

    KovaProcessResult result;
    result.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    result.out = readText(outFile);
    result.err = readText(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return result;
}

}  // namespace kova::test
