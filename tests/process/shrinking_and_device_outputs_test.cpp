// kova as a process on files that change under it or are not regular: a packet file cut short
// during the record pass, outputs on /dev/null (both at once, and runs side by side), and a
// dangling link that leads to the other output.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "tests/process/small_run_files.h"
#include "tests/process/stalled_run.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;


// The run writes its ephemeris into a named pipe that the test does not read: once the pipe
// and the writer's two buffers (about 2 MiB of records, 33,000 packets) are full, the run
// waits, far from the end of a 100,000-packet file. The file is cut short then, behind it
// and in front of it; what the run reads later was whole when it was indexed.
TEST(ShrinkingPacketFile, APacketCutShortDuringTheRecordPassIsAReadError) {
    TemporaryDirectory dir;
    generator::PassSettings settings;
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = 100000;
    writeGeneratedPass(dir.file("long.kov"), settings);
    const StalledRunOutcome outcome = runCuttingTheInputWhileStalled(
        "kova", {"-packetfile", "long.kov", "-ephemerisfile", "eph.pipe"}, dir.path(), "eph.pipe", "long.kov");
    const ProcessResult& result = outcome.result;
    ASSERT_TRUE(outcome.cutWhileWriting) << result.err;
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
    EXPECT_TRUE(result.err.starts_with("\nPacket File read error\n\npacket index = ")) << result.err;
}

// /dev/null takes both outputs, and any number of runs at once: nothing is locked, refused as
// "the same file" or cut.
TEST(DeviceOutputs, NullDeviceTakesBothOutputsAndConcurrentRuns) {
    if (!fs::exists("/dev/null")) GTEST_SKIP() << "no /dev/null here";
    TemporaryDirectory dir;
    smallValidPacketFile().writeTo(dir.file("pass.kov"));
    const std::vector<std::string> arguments{"-packetfile", "pass.kov", "-ephemerisfile", "/dev/null",
                                             "-attitudefile", "/dev/null"};
    constexpr int kRuns = 4;
    std::vector<ProcessResult> results(kRuns);
    std::vector<std::thread> runs;
    for (int n = 0; n < kRuns; ++n) {
        runs.emplace_back([&, n] { results[n] = runProgram("kova", arguments, dir.path()); });
    }
    for (std::thread& run : runs) run.join();
    for (const ProcessResult& result : results) {
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A dangling link to the name the ephemeris file is about to get names that file, not a file
// another run is writing.
TEST(DeviceOutputs, ADanglingLinkToTheOtherOutputIsTheSameFile) {
    TemporaryDirectory dir;
    smallValidPacketFile().writeTo(dir.file("pass.kov"));
    fs::create_symlink("out.eph", dir.file("link.att"));
    const ProcessResult result = runProgram(
        "kova", {"-packetfile", "pass.kov", "-ephemerisfile", "out.eph", "-attitudefile", "link.att"}, dir.path());
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
    EXPECT_EQ(result.err, "\nFile Open failed for attitude file:  link.att\nit names the same file as the ephemeris file\n");
    EXPECT_FALSE(fs::exists(dir.file("out.eph")));
}

}  // namespace
}  // namespace kova::test
