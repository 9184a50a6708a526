#include "tests/process/stalled_run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace kova::test {

StalledRunOutcome runCuttingTheInputWhileStalled(const std::string& program, const std::vector<std::string>& arguments,
                                                 const std::filesystem::path& workDir, const std::string& pipeName,
                                                 const std::string& packetFile) {
    StalledRunOutcome outcome;
    const std::filesystem::path pipePath = workDir / pipeName;
    const std::filesystem::path packetPath = workDir / packetFile;
    const auto fullSize = std::filesystem::file_size(packetPath);
    if (::mkfifo(pipePath.c_str(), 0600) != 0) return outcome;
    // Opened without waiting for the run; a read end that is open lets the run's open go on.
    const int pipe = ::open(pipePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (pipe < 0) return outcome;
    std::thread run([&] { outcome.result = runProgram(program, arguments, workDir); });
    // The first bytes come once the run has indexed the file and written its first buffer.
    pollfd waitForData{pipe, POLLIN, 0};
    const int ready = ::poll(&waitForData, 1, 100000);
    outcome.cutWhileWriting = ready == 1 && (waitForData.revents & POLLIN) != 0;
    if (outcome.cutWhileWriting) ::truncate(packetPath.c_str(), static_cast<off_t>(fullSize * 3 / 4 + 60));
    ::fcntl(pipe, F_SETFL, 0);
    std::vector<char> chunk(1 << 16);
    while (::read(pipe, chunk.data(), chunk.size()) > 0) {
    }
    run.join();
    ::close(pipe);
    return outcome;
}

}  // namespace kova::test
