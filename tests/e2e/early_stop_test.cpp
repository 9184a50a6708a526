// kova as a process: banner, listing and the stops before any packet is read.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/version.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace {

const std::string kBanner = std::string("kova ") + kVersion + "\n";

TEST(EarlyStop, NoArgumentsListsDerivedNamesAndStopsOnMissingPacketFile) {
    TemporaryDirectory dir;
    const ProcessResult result = runProgram("kova", {}, dir.path());
    EXPECT_EQ(result.exitCode, 155);  // -101
    EXPECT_EQ(result.out, kBanner + "\nPacket file:\nEphemeris file:.eph\nAttitude file:.att\n");
    EXPECT_EQ(result.err, "ERROR: missing input file name\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(EarlyStop, MissingPacketFileIsReportedWithItsName) {
    TemporaryDirectory dir;
    const ProcessResult result = runProgram("kova", {"-packetfile", "nothere.kov"}, dir.path());
    EXPECT_EQ(result.exitCode, 155);
    EXPECT_EQ(result.out,
              kBanner + "\nPacket file:nothere.kov\nEphemeris file:nothere.eph\nAttitude file:nothere.att\n");
    EXPECT_EQ(result.err, "ERROR opening input:nothere.kov\n");
}

TEST(EarlyStop, OddNumberOfWordsIsEchoed) {
    TemporaryDirectory dir;
    const ProcessResult result = runProgram("kova", {"-packetfile", "a.kov", "-diag_1"}, dir.path());
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.out, kBanner);
    const std::string program = programPath("kova").string();
    const std::string echo = "\nBad Command Line:\n    " + program + " -packetfile a.kov -diag_1 \n";
    EXPECT_EQ(result.err.substr(0, echo.size()), echo);
    EXPECT_NE(result.err.find("\nusage: kova "), std::string::npos);
}

TEST(EarlyStop, UnopenableConfigurationFile) {
    TemporaryDirectory dir;
    const ProcessResult result = runProgram("kova", {"-configfile", "none.cfg"}, dir.path());
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.err, "\nFile Open failed for configuration file:  none.cfg\n");
}

TEST(EarlyStop, DirectoryIsNoConfigurationFile) {
    TemporaryDirectory dir;
    std::filesystem::create_directory(dir.file("conf.d"));
    const ProcessResult result = runProgram("kova", {"-configfile", "conf.d"}, dir.path());
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.err, "\nFile Open failed for configuration file:  conf.d\n");
}

TEST(EarlyStop, DiagnosticPacketSizeComesBeforeTheFileChecks) {
    TemporaryDirectory dir;
    writeText(dir.file("run.cfg"), "-noradsatname SELA\n-diag_1 yes\n");
    const ProcessResult result = runProgram("kova", {"-configfile", "run.cfg"}, dir.path());
    EXPECT_EQ(result.exitCode, 155);
    EXPECT_EQ(result.err, "\ndiag_1 Pkt Read Size = 214\nERROR: missing input file name\n");
}

TEST(EarlyStop, FullListingWithConfigurationAndCommandLineLayers) {
    TemporaryDirectory dir;
    writeText(dir.file("run.cfg"), "-station   Ground  Site 7  \r\n-listconfig yes\n-packetfile cfg.kov\n");
    const ProcessResult result =
        runProgram("kova", {"-configfile", "run.cfg", "-packetfile", "cli.kov", "-extra", "x"}, dir.path());
    EXPECT_EQ(result.exitCode, 155);  // cli.kov does not exist
    const std::string& out = result.out;
    ASSERT_EQ(out.rfind(kBanner + "\nPacket file:cli.kov\nEphemeris file:cli.eph\nAttitude file:cli.att\n\nKOVA MARU ", 0), 0u)
        << out;
    EXPECT_NE(out.find("\nCommand Line Options---\n-attitudefile\t\t\n-configfile\t\trun.cfg\n"), std::string::npos);
    EXPECT_NE(out.find("-extra\t\tx\n"), std::string::npos);
    EXPECT_NE(out.find("\nConfig. File Options---\n-attitudefile\t\tcli.att\n"), std::string::npos);
    EXPECT_NE(out.find("-station\t\tGround  Site 7\n"), std::string::npos);
    EXPECT_EQ(out.find("-extra", out.find("Config. File Options")), std::string::npos);
    EXPECT_EQ(result.err, "ERROR opening input:cli.kov\n");
}

}  // namespace
}  // namespace kova::test
