// kovaexport and kovareport as processes on a packet file that shrinks after it was indexed:
// a packet that was whole then and is cut short now is a read error (status 1 and a message),
// never the end of the pass.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "tests/process/stalled_run.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

// A pass of `packets` navigation packets, one per second.
std::uintmax_t writeLongPassForShrinking(const fs::path& file, int packets) {
    generator::PassSettings settings;
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = packets;
    writeGeneratedPass(file, settings);
    return fs::file_size(file);
}

// The writing pass streams the OEM into a named pipe that the test does not read: once the
// pipe and the writer's buffer are full the run waits, long before the end of the file, with
// its planning pass done. The file is cut short then; the pipe is drained so the run goes on.
TEST(ShrinkingInputOfExport, APacketCutShortDuringTheWritingPassFailsTheExport) {
    TemporaryDirectory dir;
    writeLongPassForShrinking(dir.file("long.kov"), 100000);
    const StalledRunOutcome outcome = runCuttingTheInputWhileStalled(
        "kovaexport", {"long.kov", "--oem", "oem.pipe", "--aem", "long.aem"}, dir.path(), "oem.pipe", "long.kov");
    const ProcessResult& result = outcome.result;
    ASSERT_TRUE(outcome.cutWhileWriting) << result.err;
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("read error"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(dir.file("long.aem")));
}

// Bytes the process `pid` has read so far (all its threads), -1 when it cannot be told.
long long bytesReadByProcess(pid_t pid) {
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string key;
    long long value = -1;
    while (io >> key >> value) {
        if (key == "rchar:") return value;
    }
    return -1;
}

struct WatchedReport {
    int exitCode = -1;
    long long bytesRead = -1;  // at its end
    bool cut = false;          // the file was cut while the run was in its last pass
    std::string err;
};

// Runs kovareport on `packetFile` in `dir`. Given `lastPassStart`, the count of bytes read when
// the run's last pass over the file begins (a clean run's total less the file's size), the
// run is stopped once it is between a quarter and a half through that pass and the file is
// cut to three quarters of `fullSize` before it goes on.
WatchedReport runReportWatched(const fs::path& dir, const std::string& packetFile, std::uintmax_t fullSize,
                               long long lastPassStart) {
    WatchedReport watched;
    const fs::path errFile = dir / "report.err";
    const std::string program = programPath("kovareport").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0) ::_exit(126);
        const int devNull = ::open("/dev/null", O_RDWR);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (devNull < 0 || err < 0) ::_exit(126);
        ::dup2(devNull, 0);
        ::dup2(devNull, 1);
        ::dup2(err, 2);
        ::execl(program.c_str(), program.c_str(), packetFile.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto size = static_cast<long long>(fullSize);
    siginfo_t info{};
    for (;;) {
        // The end is looked at without reaping, so that the count of the finished run is read.
        info.si_pid = 0;
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid) break;
        if (lastPassStart < 0 || watched.cut) continue;
        const long long read = bytesReadByProcess(pid);
        if (read < lastPassStart + size / 4) continue;
        if (read > lastPassStart + size / 2) {
            watched.cut = false;  // missed the window; the caller tries again
            lastPassStart = -1;
            continue;
        }
        ::kill(pid, SIGSTOP);
        int status = 0;
        ::waitpid(pid, &status, WUNTRACED);
        if (WIFSTOPPED(status) && bytesReadByProcess(pid) < lastPassStart + size * 5 / 8) {
            ::truncate((dir / packetFile).c_str(), static_cast<off_t>(fullSize * 3 / 4 + 60));
            watched.cut = true;
        } else {
            lastPassStart = -1;
        }
        ::kill(pid, SIGCONT);
        if (!WIFSTOPPED(status)) break;
    }
    watched.bytesRead = bytesReadByProcess(pid);
    int status = 0;
    ::waitpid(pid, &status, 0);
    watched.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    watched.err = readText(errFile);
    return watched;
}

// kovareport reads the file to the end more than once (index, census, record pass); the file
// is cut short during the last of them. The run is watched by the bytes it read; when the
// window of the cut is missed on a loaded machine, the run is tried again.
TEST(ShrinkingInputOfReport, APacketCutShortDuringTheLastPassFailsTheReport) {
    if (!fs::exists("/proc/self/io")) GTEST_SKIP() << "no /proc/<pid>/io to watch a run by";
    TemporaryDirectory dir;
    constexpr int kPackets = 100000;
    const auto fullSize = writeLongPassForShrinking(dir.file("long.kov"), kPackets);
    const WatchedReport clean = runReportWatched(dir.path(), "long.kov", fullSize, -1);
    ASSERT_EQ(clean.exitCode, 0) << clean.err;
    ASSERT_GT(clean.bytesRead, 2 * static_cast<long long>(fullSize));

    WatchedReport cut;
    for (int attempt = 0; attempt < 20 && !cut.cut; ++attempt) {
        writeLongPassForShrinking(dir.file("long.kov"), kPackets);
        cut = runReportWatched(dir.path(), "long.kov", fullSize, clean.bytesRead - static_cast<long long>(fullSize));
    }
    if (!cut.cut) GTEST_SKIP() << "the run was never caught in its last pass";
    EXPECT_EQ(cut.exitCode, 1) << cut.err;
    EXPECT_NE(cut.err.find("cut short now"), std::string::npos) << cut.err;
}

}  // namespace
}  // namespace kova::test
