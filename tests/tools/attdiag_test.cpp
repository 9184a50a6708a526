// attdiag end to end, in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/dump_tool_runner.h"
#include "tests/tools/toolkit_file_bytes.h"
#include "tools/attitude_dump.h"
#include "tools/qa_flag_text.h"

namespace kova {
namespace {

using test::ToolkitFileBytes;

ToolkitFileBytes attitudeFile(std::uint32_t recordCount) {
    ToolkitFileBytes file;
    file.putKovaCommonHeader(recordCount);
    file.putU32(ToolkitFileBytes::kAngleOrder, 3);
    file.putU32(ToolkitFileBytes::kAngleOrder + 4, 1);
    file.putU32(ToolkitFileBytes::kAngleOrder + 8, 2);
    return file;
}

// Ten records whose first angle is 0.1 + index / 1000, so each line names its record.
ToolkitFileBytes tenRecordFile() {
    ToolkitFileBytes file = attitudeFile(10);
    for (int index = 0; index < 10; ++index)
        file.appendRecord(index, {0.1 + index / 1000.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, 0);
    return file;
}

test::DumpToolResult runAttdiagOn(const std::string& input, std::vector<std::string> options = {}) {
    options.insert(options.begin(), input);
    return test::runDumpToolInProcess(&runAttdiag, "attdiag", options, input + ".txt");
}

std::vector<int> shownRecords(const std::string& section) {
    std::vector<int> indices;
    for (std::size_t at = section.find(" +0.10"); at != std::string::npos; at = section.find(" +0.10", at + 1))
        indices.push_back(std::stoi(section.substr(at + 6, 1)));
    return indices;
}

TEST(AttdiagDump, SmallFileEndToEnd) {
    ToolkitFileBytes file = attitudeFile(2);
    file.putF32(ToolkitFileBytes::kAttitudeQaParameters + 4 * 15, 2.0f);
    file.putF32(ToolkitFileBytes::kAttitudeQaStatistics + 4 * 0, -0.5f);
    file.appendRecord(0.0, {0.001, -0.0005, 0.0}, {1e-5, -2e-5, 0.125}, 0);
    file.appendRecord(1.0, {-1.0, 1.0, 0.5}, {0.0, 0.0, -0.0}, 0x0240);
    const std::string input = test::testFilePath("att");
    file.writeTo(input);
    const test::DumpToolResult result = runAttdiagOn(input);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errorText, "");
    const std::string expected =
        "\nAttitude File Diagnostic\n"
        "Attitude File opened: " + input + "\n"
        "\n" + test::kovaCommonHeaderDump(2) + "\n"
        "\n"
        "\nAngle order= 3 1 2\n"
        "\nQA Parameters\n 0 +0.000000\n 1 +0.000000\n 2 +0.000000\n 3 +0.000000\n 4 +0.000000"
        "\n 5 +0.000000\n 6 +0.000000\n 7 +0.000000\n 8 +0.000000\n 9 +0.000000\n10 +0.000000"
        "\n11 +0.000000\n12 +0.000000\n13 +0.000000\n14 +0.000000\n15 +2.000000\n"
        "\nQA Statistics\n 0 -0.500000\n 1 +0.000000\n 2 +0.000000\n 3 +0.000000\n"
        "\nJulian-Date  Angle Velocities\n"
        "2448988.50031250 +0.001000 -0.000500 +0.000000   +0.000010 -0.000020 +0.125000   0000\n"
        "2448988.50032407 -1.000000 +1.000000 +0.500000   +0.000000 +0.000000 -0.000000   0240\n"
        "sgf(8)=0  sgb(7)=0  lgf(9)=1  lgb(6)=1  rep(5)=0\n";
    EXPECT_EQ(result.dumpText, expected);
}

struct WindowCase {
    const char* name;
    std::vector<std::string> options;
    std::size_t fileLength;  // bytes of the ten-record file kept
    std::vector<int> shown;
    bool earlyEnd;
};

// Test names stay the same from run to run: print the case, not its bytes.
void PrintTo(const WindowCase& c, std::ostream* out) { *out << c.name; }


class AttdiagWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(AttdiagWindow, ShowsTheWindowAndReadsNoFurther) {
    const WindowCase& c = GetParam();
    const std::string input = test::testFilePath("att");
    tenRecordFile().writeTo(input, c.fileLength);
    const test::DumpToolResult result = runAttdiagOn(input, c.options);
    EXPECT_EQ(result.status, 0);
    const std::string section = test::recordSection(result.dumpText);
    EXPECT_EQ(shownRecords(section), c.shown) << section;
    EXPECT_EQ(section.ends_with("Early End of File\n"), c.earlyEnd) << section;
    EXPECT_EQ(result.dumpText.find("tellg()"), std::string::npos);
    EXPECT_EQ(result.dumpText.find("Beg Record"), std::string::npos);
}

constexpr std::size_t kWhole = 512 + 640;
constexpr std::size_t recordStart(std::size_t index) { return 512 + 64 * index; }

INSTANTIATE_TEST_SUITE_P(
    Cases, AttdiagWindow,
    ::testing::Values(
        WindowCase{"NoOptions", {}, kWhole, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, false},
        WindowCase{"ThreeTwo", {"-beg", "3", "-cnt", "2"}, kWhole, {3, 4}, false},
        // Record 5 is read to close the window, record 6 is never read.
        WindowCase{"ThreeTwoCutInRecordSix", {"-beg", "3", "-cnt", "2"}, recordStart(6) + 10, {3, 4}, false},
        WindowCase{"ThreeTwoCutInRecordFour", {"-beg", "3", "-cnt", "2"}, recordStart(4) + 10, {3}, true},
        // The record that closes the window meets the end, but is not in the window.
        WindowCase{"ThreeTwoCutInRecordFive", {"-beg", "3", "-cnt", "2"}, recordStart(5) + 10, {3, 4}, false},
        WindowCase{"CountZeroCutInWindow", {"-beg", "3", "-cnt", "0"}, recordStart(3) + 10, {}, false},
        WindowCase{"CutInLastRecord", {}, recordStart(9) + 63, {0, 1, 2, 3, 4, 5, 6, 7, 8}, true},
        WindowCase{"FileEndsBeforeWindow", {"-beg", "8"}, recordStart(2), {}, true},
        WindowCase{"BeginBeyondEnd", {"-beg", "12"}, kWhole, {}, false},
        WindowCase{"CapitalAll", {"-cnt", "ALL"}, kWhole, {}, false},
        WindowCase{"NegativeBeginScannedAsKeyword", {"-beg", "-3", "-cnt", "5"}, kWhole, {}, false}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

TEST(AttdiagDump, SkipsUniversalReferencesBeforeTheRecords) {
    ToolkitFileBytes file = attitudeFile(1);
    file.putU32(ToolkitFileBytes::kUniversalRefs, 1);
    file.appendZeros(256);
    file.appendRecord(0.0, {0.107, 0.0, 0.0}, {0.0, 0.0, 0.0}, 0);
    const std::string input = test::testFilePath("att");
    file.writeTo(input);
    EXPECT_EQ(shownRecords(test::recordSection(runAttdiagOn(input).dumpText)), std::vector<int>{7});
}

TEST(AttdiagDump, TruncatedHeaderLeavesZeroFields) {
    const std::string input = test::testFilePath("att");
    attitudeFile(2).writeTo(input, 300);  // ends inside the attitude header
    const test::DumpToolResult result = runAttdiagOn(input);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.dumpText.find("\nNo. Records= 2\nNo. U. Refs= 0\n\n\nAngle order= 3 1 2\n"),
              std::string::npos);
    EXPECT_TRUE(result.dumpText.ends_with("\nJulian-Date  Angle Velocities\nEarly End of File\n"))
        << result.dumpText;
}

TEST(QaFlagText, NamesFiveBitsInTheirFixedOrder) {
    struct Case {
        std::uint32_t flagWord;
        bool anySet;
        const char* text;
    };
    const Case cases[] = {
        {0x0120, true, "sgf(8)=1  sgb(7)=0  lgf(9)=0  lgb(6)=0  rep(5)=1"},
        {0x0240, true, "sgf(8)=0  sgb(7)=0  lgf(9)=1  lgb(6)=1  rep(5)=0"},
        {0x0080, true, "sgf(8)=0  sgb(7)=1  lgf(9)=0  lgb(6)=0  rep(5)=0"},
        // Unnamed bits count as set but show as five zeros.
        {0x8001, true, "sgf(8)=0  sgb(7)=0  lgf(9)=0  lgb(6)=0  rep(5)=0"},
        {0x10000, false, "sgf(8)=0  sgb(7)=0  lgf(9)=0  lgb(6)=0  rep(5)=0"},
        {0xFFFF03E0, true, "sgf(8)=1  sgb(7)=1  lgf(9)=1  lgb(6)=1  rep(5)=1"},
    };
    for (const Case& c : cases) {
        char text[kQaFlagTextLength];
        EXPECT_EQ(std::string(text, writeQaFlagText(text, c.flagWord)), c.text);
        EXPECT_EQ(anyQaFlagSet(c.flagWord), c.anySet);
    }
}

}  // namespace
}  // namespace kova
