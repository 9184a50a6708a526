// What ephdiag and attdiag do alike around their dumps: the command line, the names of the
// input and the dump, and the files they cannot open. One suite, run for each tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/dump_tool_runner.h"
#include "tests/tools/toolkit_file_bytes.h"
#include "tools/attitude_dump.h"
#include "tools/ephemeris_dump.h"

namespace kova {
namespace {

struct DumpToolCase {
    const char* program;
    test::DumpToolEntry entry;
    const char* kind;       // the word of the title and the open messages
    const char* extension;  // of the input files made for the case
};

void PrintTo(const DumpToolCase& c, std::ostream* out) { *out << c.program; }

class DumpTool : public ::testing::TestWithParam<DumpToolCase> {
protected:
    test::DumpToolResult runOn(const std::string& input, std::vector<std::string> options = {}) {
        options.insert(options.begin(), input);
        return test::runDumpToolInProcess(GetParam().entry, GetParam().program, options, input + ".txt");
    }
    std::string usage() const {
        return std::string("usage: ") + GetParam().program + " [-file] NAME [-beg N] [-cnt N|all]\n";
    }
    // A file of two records with headers as kova writes them.
    std::string writeSmallFile() const {
        test::ToolkitFileBytes file;
        file.putKovaCommonHeader(2);
        file.appendRecord(0.0, {1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}, 0);
        file.appendRecord(1.0, {1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}, 0);
        const std::string input = test::testFilePath(GetParam().extension);
        file.writeTo(input);
        return input;
    }
};

TEST_P(DumpTool, RefusesAnEmptyCommandLine) {
    std::ostringstream err;
    const char* argv[] = {GetParam().program};
    EXPECT_EQ(GetParam().entry(1, argv, err), -1);
    EXPECT_EQ(err.str(), usage());
}

TEST_P(DumpTool, RefusesAKeywordAsLastArgumentWithoutCreatingTheDump) {
    const test::DumpToolResult result = runOn(writeSmallFile(), {"-beg", "1", "-cnt"});
    EXPECT_EQ(result.status, -1);
    EXPECT_EQ(result.errorText, "\nBad Command Line Keyword: -cnt\n" + usage());
    EXPECT_FALSE(result.dumpExists);
}

TEST_P(DumpTool, ReportsADumpFileThatCannotBeCreated) {
    const std::string input = test::testFilePath("missing-directory") + "/x." + GetParam().extension;
    const test::DumpToolResult result = runOn(input);
    EXPECT_EQ(result.status, -1);
    EXPECT_EQ(result.errorText, "\nDump File open failed: " + input + ".txt\n");
}

TEST_P(DumpTool, ReportsAnInputThatCannotBeOpenedAfterTheTitle) {
    const std::string title = std::string("\n") + GetParam().kind + " File Diagnostic\n";
    const std::string absent = test::testFilePath(std::string("absent.") + GetParam().extension);
    // A directory opens, then reads as an empty file: it is refused the same way.
    const std::string directory = test::testFilePath(std::string("a-directory.") + GetParam().extension);
    std::filesystem::create_directories(directory);
    for (const std::string& input : {absent, directory}) {
        const test::DumpToolResult result = runOn(input);
        EXPECT_EQ(result.status, -1) << input;
        EXPECT_EQ(result.errorText, std::string("\n") + GetParam().kind + " File open failed: " + input + "\n");
        EXPECT_EQ(result.dumpText, title) << input;
    }
}

// A dump name that is a link to the input would truncate the file it dumps: refused before
// anything is created or truncated.
TEST_P(DumpTool, NeverOverwritesItsInput) {
    const std::string input = writeSmallFile();
    const std::string bytes = test::readWholeFile(input);
    const std::string dumpName = input + ".txt";
    for (const bool symbolic : {true, false}) {
        std::filesystem::remove(dumpName);
        if (symbolic) {
            std::filesystem::create_symlink(input, dumpName);
        } else {
            std::filesystem::create_hard_link(input, dumpName);
        }
        std::ostringstream err;
        const std::vector<const char*> argv{GetParam().program, input.c_str()};
        EXPECT_EQ(GetParam().entry(2, argv.data(), err), -1);
        EXPECT_EQ(err.str(), "\nDump File open failed: " + dumpName + "\nit names the same file as the input\n");
        EXPECT_EQ(test::readWholeFile(input), bytes) << (symbolic ? "symbolic link" : "hard link");
    }
    std::filesystem::remove(dumpName);
}

// A dump that did not reach its file is a failure, not a dump.
TEST_P(DumpTool, ReportsADumpThatCouldNotBeWritten) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    const std::string input = writeSmallFile();
    const std::string dumpName = input + ".txt";
    std::filesystem::remove(dumpName);
    std::filesystem::create_symlink("/dev/full", dumpName);
    std::ostringstream err;
    const std::vector<const char*> argv{GetParam().program, input.c_str()};
    EXPECT_EQ(GetParam().entry(2, argv.data(), err), -1);
    EXPECT_EQ(err.str(), "\nDump File write failed: " + dumpName + "\n");
    std::filesystem::remove(dumpName);
}

INSTANTIATE_TEST_SUITE_P(Tools, DumpTool,
                         ::testing::Values(DumpToolCase{"ephdiag", &runEphdiag, "Ephemeris", "eph"},
                                           DumpToolCase{"attdiag", &runAttdiag, "Attitude", "att"}),
                         [](const ::testing::TestParamInfo<DumpToolCase>& info) { return info.param.program; });

}  // namespace
}  // namespace kova
