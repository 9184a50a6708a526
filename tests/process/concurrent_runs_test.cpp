// Two kova runs at the same time on different inputs share nothing: each makes exactly the
// bytes it makes when it runs alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "generator/element_set.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "packets/packet_layout.h"
#include "tests/process/small_run_files.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

struct RunInput {
    std::string stem;  // packet file "<stem>.kov", norad file "<stem>.tle"
    std::string satelliteName;
    std::vector<std::string> arguments() const {
        return {"-packetfile", stem + ".kov", "-noradfile", stem + ".tle", "-noradsatname", satelliteName};
    }
};

void writeInput(const TemporaryDirectory& dir, const RunInput& input, generator::PassSettings settings) {
    settings.elementSet = generator::defaultElementSet(input.satelliteName);
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.packetSize = navPacketSizeFor(input.satelliteName);
    writeGeneratedPass(dir.file(input.stem + ".kov"), settings);
    std::ofstream norad(dir.file(input.stem + ".tle"));
    generator::writeNoradFile(norad, settings.elementSet);
}

RunProducts productsOf(const TemporaryDirectory& dir, const RunInput& input) {
    return {readBytes(dir.file(input.stem + ".eph")), readBytes(dir.file(input.stem + ".att"))};
}

TEST(ConcurrentRuns, TwoRunsAtOnceMakeTheBytesOfRunsMadeAlone) {
    TemporaryDirectory dir;
    const RunInput inputs[2] = {{"narrow", "MARU"}, {"wide", "SELA"}};
    generator::PassSettings first;
    first.durationSeconds = 7200;  // more than one revolution
    first.gaps = {{100, 5}, {3000, 90}};
    first.otherPacketsPerNavPacket = 1;
    first.seed = 11;
    generator::PassSettings second;
    second.durationSeconds = 5400;
    second.gaps = {{42, 30}};
    second.duplicates = {77};
    second.otherPacketsPerNavPacket = 2;
    second.seed = 12;
    writeInput(dir, inputs[0], first);
    writeInput(dir, inputs[1], second);

    RunProducts alone[2];
    for (int i = 0; i < 2; ++i) {
        const ProcessResult result = runProgram("kova", inputs[i].arguments(), dir.path());
        ASSERT_EQ(result.exitCode, 0) << result.err;
        alone[i] = productsOf(dir, inputs[i]);
    }
    ASSERT_NE(alone[0].ephemeris, alone[1].ephemeris);

    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (const RunInput& input : inputs) {
            fs::remove(dir.file(input.stem + ".eph"));
            fs::remove(dir.file(input.stem + ".att"));
        }
        ProcessResult results[2];
        std::latch start(2);
        std::vector<std::thread> runs;
        for (int i = 0; i < 2; ++i) {
            runs.emplace_back([&, i] {
                start.arrive_and_wait();
                results[i] = runProgram("kova", inputs[i].arguments(), dir.path());
            });
        }
        for (std::thread& run : runs) run.join();
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(inputs[i].stem);
            EXPECT_EQ(results[i].exitCode, 0) << results[i].err;
            const RunProducts together = productsOf(dir, inputs[i]);
            EXPECT_EQ(together.ephemeris, alone[i].ephemeris);
            EXPECT_EQ(together.attitude, alone[i].attitude);
        }
    }
}

}  // namespace
}  // namespace kova::test
