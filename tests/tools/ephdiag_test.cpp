// ephdiag end to end, in-process: files made by the test writer, dumps compared as text.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/dump_tool_runner.h"
#include "tests/tools/toolkit_file_bytes.h"
#include "tools/ephemeris_dump.h"

namespace kova {
namespace {

using test::ToolkitFileBytes;

// Three records (no flags; bits 5 and 8; only bit 16) and two metadata records, one more
// than the orbit count, as a pass over one node crossing has.
ToolkitFileBytes smallEphemerisFile() {
    ToolkitFileBytes file;
    file.putKovaCommonHeader(3);
    file.putU32(ToolkitFileBytes::kOrbitCount, 1);
    file.putU32(ToolkitFileBytes::kBeginOrbit, 100);
    file.putU32(ToolkitFileBytes::kEndOrbit, 101);
    file.putText(ToolkitFileBytes::kReferenceFrame, "J2000");
    const double elements[] = {7000000.0, 0.001, 1.7, 0.5, -0.25, 3.0};
    for (int index = 0; index < 6; ++index)
        file.putF64(ToolkitFileBytes::kKeplerElements + 8 * index, elements[index]);
    file.putF32(ToolkitFileBytes::kEphemerisQaParameters + 4 * 3, -1.5f);
    file.putF32(ToolkitFileBytes::kEphemerisQaStatistics + 4 * 2, 0.25f);
    file.appendRecord(0.0, {7000000.0, -12.25, 0.125}, {0.375, -7500.5, -0.0}, 0x0000);
    file.appendRecord(1.0, {7000001.0, 0.0, 0.0}, {1.0, 2.0, 3.0}, 0x0120);
    file.appendRecord(2.0, {-1.0, -2.0, -3.0}, {0.0, 0.0, 0.0}, 0x10000);
    file.appendOrbitMetadata(100, 0.0, 3000.0, 1.5);
    file.appendOrbitMetadata(101, -211592606427.0, -211592606427.0, 0.0);
    return file;
}

test::DumpToolResult runEphdiagOn(const std::string& input, std::vector<std::string> options = {}) {
    options.insert(options.begin(), input);
    return test::runDumpToolInProcess(&runEphdiag, "ephdiag", options, input + ".txt");
}

const char kQaSectionWithPlus[] =
    "\nQA Parameters\n 0 +0.000000\n 1 +0.000000\n 2 +0.000000\n 3 -1.500000\n 4 +0.000000"
    "\n 5 +0.000000\n 6 +0.000000\n 7 +0.000000\n 8 +0.000000\n 9 +0.000000\n10 +0.000000"
    "\n11 +0.000000\n12 +0.000000\n13 +0.000000\n14 +0.000000\n15 +0.000000\n"
    "\nQA Statistics\n 0 +0.000000\n 1 +0.000000\n 2 +0.250000\n 3 +0.000000\n";

TEST(EphdiagDump, SmallFileEndToEnd) {
    const std::string input = test::testFilePath("eph");
    smallEphemerisFile().writeTo(input);
    const test::DumpToolResult result = runEphdiagOn(input);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errorText, "");
    const std::string expected =
        "\nEphemeris File Diagnostic\n"
        "Ephemeris File opened: " + input + "\n"
        "\n" + test::kovaCommonHeaderDump(3) +
        "\n\n tellg() = 140\n"
        "\n"
        "\nBeg. Orbit =   100"
        "\nEnd  Orbit =   101"
        "\nOrbit Cnt. =     1\n"
        "\nRef. Frame = J2000\n"
        "\nKeplerian Elements\n"
        "7000000.000000 0.001000 1.700000 0.500000 -0.250000 3.000000  "
        "\n\n tellg() = 512\n" +
        std::string(kQaSectionWithPlus) +
        "\ntellg() before Universal Refs = +512\n"
        "tellg() after  Universal Refs = +512\n"
        "\nBeg Record = 0\n"
        "Rec Count  = 4294967295\n"
        "\nJulian Date, Position, Velocity QaFlag\n"
        "2448988.50031250 +7000000.00 -12.25 +0.12   +0.38 -7500.50 -0.00   0000\n"
        "2448988.50032407 +7000001.00 +0.00 +0.00   +1.00 +2.00 +3.00   0120\n"
        "sgf(8)=1  sgb(7)=0  lgf(9)=0  lgb(6)=0  rep(5)=1\n"
        "2448988.50033565 -1.00 -2.00 -3.00   +0.00 +0.00 +0.00   0000\n"
        "\ntellg() after ephemeris records = 704\n"
        "  record count = 3\n"
        "\nMetaData  1  \ttellg() = 736"
        "\nOrbit No. = 100"
        "\nAscending  Node Time = 2448988.50031250\t TAI = 0.00000000"
        "\nDescending Node Time = 2448988.53503472"
        "\nDescending Node Long.= 1.50000000\n"
        "\nMetaData  2  \ttellg() = 768"
        "\nOrbit No. = 101"
        "\nAscending  Node Time = 0.00000000\t TAI = -211592606427.00000000"
        "\nDescending Node Time = 0.00000000"
        "\nDescending Node Long.= 0.00000000\n";
    EXPECT_EQ(result.dumpText, expected);
}

// Ten records whose position x is 1000 + index, so each line names its record.
ToolkitFileBytes tenEphemerisRecordFile() {
    ToolkitFileBytes file;
    file.putKovaCommonHeader(10);
    for (int index = 0; index < 10; ++index)
        file.appendRecord(index, {1000.0 + index, 0.0, 0.0}, {0.0, 0.0, 0.0}, 0);
    return file;
}

// The record indices named by the lines of a record section.
std::vector<int> shownEphemerisRecords(const std::string& section) {
    std::vector<int> indices;
    for (std::size_t at = section.find(" +10"); at != std::string::npos; at = section.find(" +10", at + 1))
        indices.push_back(std::stoi(section.substr(at + 2, 4)) - 1000);
    return indices;
}

struct EphemerisWindowCase {
    const char* name;
    std::vector<std::string> options;
    std::vector<int> shown;
    const char* begLine;
    const char* countLine;
};

// Test names stay the same from run to run: print the case, not its bytes.
void PrintTo(const EphemerisWindowCase& c, std::ostream* out) { *out << c.name; }


class EphdiagWindow : public ::testing::TestWithParam<EphemerisWindowCase> {};

TEST_P(EphdiagWindow, ShowsTheSelectedRecordsAndReadsThemAll) {
    const EphemerisWindowCase& c = GetParam();
    const std::string input = test::testFilePath("eph");
    tenEphemerisRecordFile().writeTo(input);
    const test::DumpToolResult result = runEphdiagOn(input, c.options);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(shownEphemerisRecords(test::recordSection(result.dumpText)), c.shown);
    EXPECT_NE(result.dumpText.find(std::string("\nBeg Record = ") + c.begLine + "\nRec Count  = " +
                                   c.countLine + "\n"),
              std::string::npos);
    // Every record is read whatever the window.
    EXPECT_NE(result.dumpText.find("\ntellg() after ephemeris records = 1152\n  record count = 10\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EphdiagWindow,
    ::testing::Values(
        EphemerisWindowCase{"NoOptions", {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "0", "4294967295"},
        EphemerisWindowCase{"FiveTwo", {"-beg", "5", "-cnt", "2"}, {5, 6}, "5", "2"},
        EphemerisWindowCase{"CountZero", {"-cnt", "0"}, {}, "0", "0"},
        EphemerisWindowCase{"BeginAtEnd", {"-beg", "10"}, {}, "10", "4294967295"},
        EphemerisWindowCase{"BeginBeyondEnd", {"-beg", "25", "-cnt", "3"}, {}, "25", "3"},
        EphemerisWindowCase{"WindowPastEnd", {"-beg", "8", "-cnt", "5"}, {8, 9}, "8", "5"},
        EphemerisWindowCase{"CapitalAll", {"-cnt", "ALL"}, {}, "0", "0"},
        EphemerisWindowCase{"NegativeBeginScannedAsKeyword", {"-beg", "-3", "-cnt", "5"}, {}, "4294967293", "5"},
        EphemerisWindowCase{"FileOption", {"-file", "", "-beg", "9"}, {9}, "9", "4294967295"}),
    [](const ::testing::TestParamInfo<EphemerisWindowCase>& info) { return info.param.name; });

TEST(EphdiagDump, TextFieldsWithoutNulFillTheirWidthAndKeepBlanks) {
    ToolkitFileBytes file;
    file.putKovaCommonHeader(0);
    file.putText(ToolkitFileBytes::kSpacecraft, "ABCDEFGHIJKLMNOPQRSTUVWX");  // 24, no NUL
    file.putText(ToolkitFileBytes::kSource, "  Ground  Site 7 ");
    file.putText(ToolkitFileBytes::kVersion, "12345678");  // 8, no NUL
    file.putText(ToolkitFileBytes::kReferenceFrame, "ABCDEFGH");
    const std::string input = test::testFilePath("eph");
    file.writeTo(input);
    const std::string dump = runEphdiagOn(input).dumpText;
    EXPECT_NE(dump.find("\nSpacecraft = ABCDEFGHIJKLMNOPQRSTUVWX\nSource     =   Ground  Site 7 \n"
                        "Version    = 12345678\nTime Range = 2003-01-01T00:00:00Z to \n"),
              std::string::npos);
    EXPECT_NE(dump.find("\nRef. Frame = ABCDEFGH\n"), std::string::npos);
}

TEST(EphdiagDump, SkipsUniversalReferencesBeforeTheRecords) {
    ToolkitFileBytes file;
    file.putKovaCommonHeader(1);
    file.putU32(ToolkitFileBytes::kUniversalRefs, 2);
    file.appendZeros(2 * 256);
    file.appendRecord(0.0, {1005.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, 0);
    const std::string input = test::testFilePath("eph");
    file.writeTo(input);
    const std::string dump = runEphdiagOn(input).dumpText;
    EXPECT_NE(dump.find("\nNo. U. Refs= 2\n"), std::string::npos);
    EXPECT_NE(dump.find("\ntellg() before Universal Refs = +512\ntellg() after  Universal Refs = +1024\n"),
              std::string::npos);
    EXPECT_EQ(shownEphemerisRecords(test::recordSection(dump)), std::vector<int>{5});
    EXPECT_NE(dump.find("\ntellg() after ephemeris records = 1088\n"), std::string::npos);
}

TEST(EphdiagDump, SkipOfTheLargestReferenceCountDoesNotWrap) {
    ToolkitFileBytes file;
    file.putKovaCommonHeader(1);
    file.putU32(ToolkitFileBytes::kUniversalRefs, 0xFFFFFFFFu);
    file.appendRecord(0.0, {1005.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, 0);
    const std::string input = test::testFilePath("eph");
    file.writeTo(input);
    const test::DumpToolResult result = runEphdiagOn(input);
    EXPECT_EQ(result.status, 0);
    // 512 + 256 * 4294967295: far beyond the end, so the record read finds nothing and no
    // record is shown.
    EXPECT_NE(result.dumpText.find("tellg() after  Universal Refs = +1099511628032\n"), std::string::npos);
    EXPECT_EQ(test::recordSection(result.dumpText), "");
    EXPECT_NE(result.dumpText.find("\ntellg() after ephemeris records = -1\n  record count = 0\n"),
              std::string::npos);
}

TEST(EphdiagShortFile, TruncatedHeaderShowsFailedPositions) {
    const std::string input = test::testFilePath("eph");
    smallEphemerisFile().writeTo(input, 100);  // ends inside the source text
    const test::DumpToolResult result = runEphdiagOn(input);
    EXPECT_EQ(result.status, 0);
    const std::string& dump = result.dumpText;
    EXPECT_NE(dump.find("\nSpacecraft = MARU\nSource     = DB\nVersion    = \n"), std::string::npos);
    EXPECT_NE(dump.find("\nInterval   = 0.000000\nNo. Records= 0\nNo. U. Refs= 0\n\n tellg() = 4294967295\n"),
              std::string::npos);
    EXPECT_NE(dump.find("\nOrbit Cnt. =     0\n"), std::string::npos);
    EXPECT_NE(dump.find("\n\n tellg() = 4294967295\n\nQA Parameters"), std::string::npos);
    EXPECT_NE(dump.find("\ntellg() before Universal Refs = -1\ntellg() after  Universal Refs = -1\n"),
              std::string::npos);
    // The header buffer never received an orbit count, so there is no metadata section.
    EXPECT_TRUE(dump.ends_with("\ntellg() after ephemeris records = -1\n  record count = 0\n")) << dump;
}

TEST(EphdiagShortFile, OnlyRecordsReadInFullAreShown) {
    const std::string input = test::testFilePath("eph");
    // Record 1 stops after its time and position x: it is not shown, and nothing after it.
    smallEphemerisFile().writeTo(input, 512 + 64 + 16);
    const test::DumpToolResult result = runEphdiagOn(input);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(test::recordSection(result.dumpText),
              "2448988.50031250 +7000000.00 -12.25 +0.12   +0.38 -7500.50 -0.00   0000\n");
    EXPECT_TRUE(result.dumpText.ends_with("\ntellg() after ephemeris records = -1\n"
                                          "  record count = 1\n"
                                          "Error: eof bit set\nfile error\n"))
        << result.dumpText;
}

TEST(EphdiagShortFile, OrbitCountAboveTheMetadataPresent) {
    ToolkitFileBytes file = smallEphemerisFile();
    file.putU32(ToolkitFileBytes::kOrbitCount, 3);
    const std::string input = test::testFilePath("eph");
    file.writeTo(input);
    const test::DumpToolResult result = runEphdiagOn(input);
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.dumpText.ends_with("\nMetaData  2  \ttellg() = 768"
                                          "\nOrbit No. = 101"
                                          "\nAscending  Node Time = 0.00000000\t TAI = -211592606427.00000000"
                                          "\nDescending Node Time = 0.00000000"
                                          "\nDescending Node Long.= 0.00000000\n"
                                          "Error: eof bit set\nfile error\n"))
        << result.dumpText;
}

TEST(EphdiagDump, ShowsEveryCompleteMetadataBlockButNoPartialOne) {
    ToolkitFileBytes file = smallEphemerisFile();
    file.putU32(ToolkitFileBytes::kOrbitCount, 0);
    file.appendZeros(10);
    const std::string input = test::testFilePath("eph");
    file.writeTo(input);
    const std::string dump = runEphdiagOn(input).dumpText;
    EXPECT_NE(dump.find("\nMetaData  1  \ttellg() = 736\nOrbit No. = 100\n"), std::string::npos);
    EXPECT_TRUE(dump.ends_with("\nMetaData  2  \ttellg() = 768\nOrbit No. = 101"
                               "\nAscending  Node Time = 0.00000000\t TAI = -211592606427.00000000"
                               "\nDescending Node Time = 0.00000000"
                               "\nDescending Node Long.= 0.00000000\n"))
        << dump;
}

TEST(EphdiagDump, CraftedRecordCountOnAShortFileEndsQuickly) {
    // Four billion records announced, none present: the first read fails and ends the
    // records; nothing is repeated, and the count says what was there.
    ToolkitFileBytes file;
    file.putKovaCommonHeader(0xFFFFFFFFu);
    const std::string input = test::testFilePath("eph");
    file.writeTo(input);
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, std::vector<std::string>{"-beg", "7", "-cnt", "2"}}) {
        const test::DumpToolResult result = runEphdiagOn(input, options);
        EXPECT_EQ(test::recordSection(result.dumpText), "");
        EXPECT_NE(result.dumpText.find("  record count = 0\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace kova
