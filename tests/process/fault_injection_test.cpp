// kova, kovagen and the dump tools as processes against hostile surroundings: outputs that
// cannot be written, opened or locked, inputs that are not regular files, names that denote
// one file. Every case must end with its message and failure status, never with a crash, a
// hang or a success, and must leave every file it was not allowed to write as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/process/small_run_files.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;


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
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
    EXPECT_EQ(result.err, "\nFile Write failed for ephemeris file:  /dev/full\n");
    // The attitude file is closed first, so it was complete when the ephemeris close failed.
    EXPECT_EQ(readBytes(dir_.file("pass.att")), reference_.attitude);
}

TEST_F(FaultInjection, AttitudeOnAFullDeviceIsAWriteFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const ProcessResult result = run({"-attitudefile", "/dev/full"});
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
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
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
    EXPECT_EQ(result.err, "\nFile Open failed for ephemeris file:  nodir/x.eph\n");
    EXPECT_FALSE(fs::exists(dir_.file("pass.att")));
}

TEST_F(FaultInjection, AttitudeFileInAMissingDirectoryLeavesTheEphemerisHeaders) {
    const ProcessResult result = run({"-attitudefile", "nodir/x.att"});
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
    EXPECT_EQ(result.err, "\nFile Open failed for attitude file:  nodir/x.att\n");
    const std::vector<std::uint8_t> ephemeris = readBytes(dir_.file("pass.eph"));
    ASSERT_EQ(ephemeris.size(), kFileHeaderSize);
    EXPECT_EQ(bigEndianU32At(ephemeris, toolkit_header::kRecordCount), 0u);
}

// Every input must be a regular file: a directory reads as empty, /dev/zero never ends, a
// pipe blocks (or cannot be read twice). Each is refused as a file that cannot be opened, at
// once; outputs that are directories cannot be opened either.
TEST_F(FaultInjection, InputsThatAreNotRegularFilesAreRefused) {
    ASSERT_EQ(::mkfifo(dir_.file("fifo").c_str(), 0600), 0);
    struct Case {
        std::string keyword;
        std::string name;
        int exitCode;
        std::string message;
    };
    std::vector<Case> cases;
    for (const std::string name : {"adir", "fifo", "/dev/zero"}) {
        cases.push_back({"-packetfile", name, kKovaExitNoPacketFile, "ERROR opening input:" + name + "\n"});
        cases.push_back({"-noradfile", name, kKovaExitFailure, "\nFile Open failed for norad file:  " + name + "\n"});
        cases.push_back(
            {"-configfile", name, kKovaExitFailure, "\nFile Open failed for configuration file:  " + name + "\n"});
    }
    cases.push_back({"-ephemerisfile", "adir", kKovaExitFailure, "\nFile Open failed for ephemeris file:  adir\n"});
    cases.push_back({"-attitudefile", "adir", kKovaExitFailure, "\nFile Open failed for attitude file:  adir\n"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword + " " + c.name);
        const ProcessResult result = run({c.keyword, c.name});
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(result.err.ends_with(c.message)) << result.err;
        EXPECT_TRUE(fs::is_empty(dir_.file("adir")));
        fs::remove(dir_.file("pass.eph"));
        fs::remove(dir_.file("pass.att"));
    }
}

// Both outputs are checked before either is created: a refused run truncates nothing, and a
// name that denotes the other output (here or once resolved) is refused as well.
TEST_F(FaultInjection, ARefusedRunTruncatesNothing) {
    cleanRunProducts(dir_.path(), "pass.kov");
    const std::vector<std::uint8_t> goodEphemeris = readBytes(dir_.file("pass.eph"));
    const ProcessResult onInput = run({"-attitudefile", "pass.kov"});
    EXPECT_EQ(onInput.exitCode, kKovaExitFailure);
    EXPECT_EQ(onInput.err, "\nFile Open failed for attitude file:  pass.kov\nit names the same file as the packet file\n");
    EXPECT_EQ(readBytes(dir_.file("pass.eph")), goodEphemeris);

    const ProcessResult onEachOther = run({"-ephemerisfile", "x", "-attitudefile", "./x"});
    EXPECT_EQ(onEachOther.exitCode, kKovaExitFailure);
    EXPECT_EQ(onEachOther.err, "\nFile Open failed for attitude file:  ./x\nit names the same file as the ephemeris file\n");
    EXPECT_FALSE(fs::exists(dir_.file("x")));
}

// A file that another run is writing is left to it: the second run stops before it truncates.
TEST_F(FaultInjection, AnOutputLockedByAnotherRunIsLeftAlone) {
    writeText(dir_.file("pass.eph"), "the other run's records");
    const int held = ::open(dir_.file("pass.eph").c_str(), O_WRONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const ProcessResult result = run({});
    ::close(held);
    EXPECT_EQ(result.exitCode, kKovaExitFailure);
    EXPECT_EQ(result.err, "\nFile Open failed for ephemeris file:  pass.eph\nit is being written by another run\n");
    EXPECT_EQ(readText(dir_.file("pass.eph")), "the other run's records");
    EXPECT_FALSE(fs::exists(dir_.file("pass.att")));
}

// "normal termination" only once both files are closed and complete; and output that never
// reached the standard output is a failure too.
TEST_F(FaultInjection, SuccessIsAnnouncedOnlyWhenEverythingWasWritten) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const ProcessResult full = run({"-attitudefile", "/dev/full", "-listconfig", "yes"});
    EXPECT_EQ(full.exitCode, kKovaExitFailure);
    EXPECT_EQ(full.err, "\nFile Write failed for attitude file:  /dev/full\n");
    EXPECT_EQ(full.out.find("normal termination"), std::string::npos);

    const ProcessResult lostListing = runProgram("kova", {"-packetfile", "pass.kov", "-listconfig", "yes"},
                                                 dir_.path(), "/dev/full");
    EXPECT_EQ(lostListing.exitCode, kKovaExitFailure);
    EXPECT_EQ(lostListing.err, "\nStandard Output write failed\n");
    const ProcessResult lostSummary =
        runProgram("kovagen", {"--out", "gen.kov", "--duration", "10"}, dir_.path(), "/dev/full");
    EXPECT_EQ(lostSummary.exitCode, 1);
    EXPECT_EQ(lostSummary.err, "kovagen: write failed for the standard output\n");
}

TEST_F(FaultInjection, KovagenRefusesNamesThatDenoteOneFile) {
    writeText(dir_.file("set.tle"), "an element set file");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"--out", "s.x", "--norad", "s.x"}, "kovagen: --out and --norad name the same file: s.x\n"},
        {{"--out", "set.tle", "--tle", "./set.tle"}, "kovagen: --out and --tle name the same file: set.tle\n"},
        {{"--out", "p.kov", "--norad", "set.tle", "--tle", "set.tle"},
         "kovagen: --norad and --tle name the same file: set.tle\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = runProgram("kovagen", c.arguments, dir_.path());
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, c.message);
        EXPECT_FALSE(fs::exists(dir_.file("s.x")));
        EXPECT_FALSE(fs::exists(dir_.file("p.kov")));
        EXPECT_EQ(readText(dir_.file("set.tle")), "an element set file");
    }
}

// A pipe given to a dump tool is refused at once instead of being dumped as zeros.
TEST_F(FaultInjection, DumpToolsRefuseInputsThatAreNotRegularFiles) {
    ASSERT_EQ(::mkfifo(dir_.file("fifo.eph").c_str(), 0600), 0);
    for (const auto& [tool, kind] : {std::pair{"ephdiag", "Ephemeris"}, std::pair{"attdiag", "Attitude"}}) {
        const ProcessResult result = runProgram(tool, {"fifo.eph"}, dir_.path());
        EXPECT_EQ(result.exitCode, kKovaExitFailure) << tool;
        EXPECT_EQ(result.err, std::string("\n") + kind + " File open failed: fifo.eph\n");
    }
}

}  // namespace
}  // namespace kova::test
