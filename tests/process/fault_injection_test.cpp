// kova as a process against hostile surroundings: outputs that cannot be written or opened,
// inputs that are directories. Every case must end with its message and status 255 (-1),
// never with a crash or a success, and leave the output files as an early stop leaves them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/process/small_run_files.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

constexpr int kExitFailure = 255;  // exit status -1

class FaultInjection : public testing::Test {
protected:
    void SetUp() override {
        smallValidPacketFile().writeTo(dir_.file("pass.kov"));
        fs::create_directory(dir_.file("adir"));
        // The products of an undisturbed run, then removed again.
        reference_ = cleanRunProducts(dir_.path(), "pass.kov");
        fs::remove(dir_.file("pass.eph"));
        fs::remove(dir_.file("pass.att"));
    }

    ProcessResult run(const std::vector<std::string>& extraArguments) {
        std::vector<std::string> arguments{"-packetfile", "pass.kov"};
        arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
        return runProgram("kova", arguments, dir_.path());
    }

    TemporaryDirectory dir_;
    RunProducts reference_;
};

TEST_F(FaultInjection, ReferenceRunHoldsEveryRecord) {
    EXPECT_EQ(bigEndianU32At(reference_.attitude, toolkit_header::kRecordCount), kSmallFileRecordCount);
    EXPECT_EQ(reference_.attitude.size(), kFileHeaderSize + ephemeris_record::kSize * kSmallFileRecordCount);
}

TEST_F(FaultInjection, EphemerisOnAFullDeviceIsAWriteFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const ProcessResult result = run({"-ephemerisfile", "/dev/full"});
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_EQ(result.err, "\nFile Write failed for ephemeris file:  /dev/full\n");
    // The attitude file is closed first, so it was complete when the ephemeris close failed.
    EXPECT_EQ(readBytes(dir_.file("pass.att")), reference_.attitude);
}

TEST_F(FaultInjection, AttitudeOnAFullDeviceIsAWriteFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const ProcessResult result = run({"-attitudefile", "/dev/full"});
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_EQ(result.err, "\nFile Write failed for attitude file:  /dev/full\n");
    // The ephemeris file is left as every error stop leaves it: all its records and
    // metadata, but the headers written at open (record count 0).
    const std::vector<std::uint8_t> ephemeris = readBytes(dir_.file("pass.eph"));
    ASSERT_EQ(ephemeris.size(), reference_.ephemeris.size());
    EXPECT_EQ(bigEndianU32At(ephemeris, toolkit_header::kRecordCount), 0u);
    EXPECT_TRUE(std::equal(ephemeris.begin() + kFileHeaderSize, ephemeris.end(),
                           reference_.ephemeris.begin() + kFileHeaderSize));
}

TEST_F(FaultInjection, EphemerisFileInAMissingDirectory) {
    const ProcessResult result = run({"-ephemerisfile", "nodir/x.eph"});
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_EQ(result.err, "\nFile Open failed for ephemeris file:  nodir/x.eph\n");
    EXPECT_FALSE(fs::exists(dir_.file("pass.att")));
}

TEST_F(FaultInjection, AttitudeFileInAMissingDirectoryLeavesTheEphemerisHeaders) {
    const ProcessResult result = run({"-attitudefile", "nodir/x.att"});
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_EQ(result.err, "\nFile Open failed for attitude file:  nodir/x.att\n");
    const std::vector<std::uint8_t> ephemeris = readBytes(dir_.file("pass.eph"));
    ASSERT_EQ(ephemeris.size(), kFileHeaderSize);
    EXPECT_EQ(bigEndianU32At(ephemeris, toolkit_header::kRecordCount), 0u);
}

struct DirectoryCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string message;
};

TEST_F(FaultInjection, DirectoriesGivenAsFilesAreReported) {
    const DirectoryCase cases[] = {
        {"packet file", {"-packetfile", "adir"}, "\nFile Open failed for packet file:  adir\n"},
        {"norad file", {"-noradfile", "adir"}, "\nFile Open failed for norad file:  adir\n"},
        {"configuration file", {"-configfile", "adir"}, "\nFile Open failed for configuration file:  adir\n"},
        {"ephemeris file", {"-ephemerisfile", "adir"}, "\nFile Open failed for ephemeris file:  adir\n"},
        {"attitude file", {"-attitudefile", "adir"}, "\nFile Open failed for attitude file:  adir\n"},
    };
    for (const DirectoryCase& directoryCase : cases) {
        SCOPED_TRACE(directoryCase.name);
        const ProcessResult result = run(directoryCase.arguments);
        EXPECT_EQ(result.exitCode, kExitFailure);
        EXPECT_EQ(result.err, directoryCase.message);
        EXPECT_TRUE(fs::is_directory(dir_.file("adir")));
        EXPECT_TRUE(fs::is_empty(dir_.file("adir")));
        fs::remove(dir_.file("pass.eph"));
        fs::remove(dir_.file("pass.att"));
    }
}

}  // namespace
}  // namespace kova::test
