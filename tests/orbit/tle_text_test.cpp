// Element-set text: checksums, parsing into record units, and writing the lines back.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/constants.h"
#include "orbit/tle.h"

namespace kova {
namespace {

const std::string kLine1 = "1 12345U 03042A   03211.50000000 -.00000123  00000-0 -11606-4 0  9992";
const std::string kLine2 = "2 12345  98.2100 150.0000 0012500 100.0000 260.0000 14.57000000 12347";

TEST(TleChecksum, CountsDigitsAndMinusSignsOfTheFirst68Characters) {
    struct Case {
        std::string line;
        char expected;
    };
    const Case cases[] = {
        {std::string(68, ' '), '0'},
        {std::string(80, ' '), '0'},
        {"+++", '0'},                                     // '+' adds nothing
        {"-", '1'},                                       // '-' adds 1
        {"19", '0'},                                      // 10 mod 10
        {"a-Z.7", '8'},                                   // letters and points add nothing
        {std::string(67, ' ').append("39999"), '3'},    // column 69 on is not counted
        {"", '0'},                                        // a short line counts what it has
        {kLine1, '2'},
        {kLine2, '7'},
    };
    for (const Case& c : cases) EXPECT_EQ(tleChecksum(c.line), c.expected) << '"' << c.line << '"';
}

TEST(ElementSetProblems, NamesEveryProblemInOrder) {
    using Problems = std::vector<std::string_view>;
    std::string line2BadChecksum = kLine2;
    line2BadChecksum.back() = '0';
    std::string line1WithNul = kLine1;
    line1WithNul[30] = '\0';  // the conversions end at the NUL
    std::string line2NoMeanMotion = kLine2;
    line2NoMeanMotion.replace(52, 11, " 0.00000000");
    line2NoMeanMotion.back() = tleChecksum(line2NoMeanMotion);
    struct Case {
        const char* label;
        std::string line1, line2;
        Problems expected;
    };
    const Case cases[] = {
        {"sound", kLine1, kLine2, {}},
        {"words", "foo", "bar",
         {"line 1 unreadable", "line 2 unreadable", "line 1 checksum wrong", "line 2 checksum wrong",
          "no mean motion"}},
        {"swapped", kLine2, kLine1,  // line 1's checksum still matches in the place of line 2
         {"line 1 unreadable", "line 2 unreadable", "line 1 checksum wrong", "no mean motion"}},
        {"checksum", kLine1, line2BadChecksum, {"line 2 checksum wrong"}},
        {"nul", line1WithNul, kLine2, {"line 1 unreadable", "line 1 checksum wrong"}},
        {"noChecksumCharacter", kLine1.substr(0, 68), kLine2, {"line 1 unreadable", "line 1 checksum wrong"}},
        {"meanMotion", kLine1, line2NoMeanMotion, {"no mean motion"}},
    };
    for (const Case& c : cases) {
        TleRecord tle;
        const TleLinesRead read = parseTle(c.line1, c.line2, tle);
        EXPECT_EQ(elementSetProblems(read, tle), c.expected) << c.label;
        EXPECT_EQ(tle.valid, read.line1ChecksumMatches && read.line2ChecksumMatches) << c.label;
    }
}

TEST(ParseTle, ReadsEveryFieldInRecordUnits) {
    TleRecord tle;
    parseTle(kLine1, kLine2, tle);
    EXPECT_TRUE(tle.valid);
    EXPECT_EQ(tle.catalogueNumber(), 12345.0);
    EXPECT_EQ(tle.epochYear(), 3.0);
    EXPECT_EQ(tle.epochDay(), 211.5);
    EXPECT_EQ(tle.meanMotionRate(), -0.00000123 * kTwoPi / 2073600.0);
    EXPECT_EQ(tle.meanMotionAcceleration(), 0.0);  // " 00000-0"
    // -11606 * 10^-4 * 0.00001 rounds to one unit in the last place above -0.000011606.
    EXPECT_DOUBLE_EQ(tle.dragTerm(), -0.000011606);
    EXPECT_EQ(tle.inclination(), 98.21 * kRadiansPerDegree);
    EXPECT_EQ(tle.rightAscension(), 150.0 * kRadiansPerDegree);
    EXPECT_EQ(tle.eccentricity(), 12500.0 * 0.0000001);
    EXPECT_EQ(tle.argumentOfPerigee(), 100.0 * kRadiansPerDegree);
    EXPECT_EQ(tle.meanAnomaly(), 260.0 * kRadiansPerDegree);
    EXPECT_EQ(tle.meanMotion(), 14.57 * kTwoPi / 1440.0);
    EXPECT_EQ(tle.revolutionNumber(), 1234.0);
}

TEST(ParseTle, EpochYearIsTheTwoDigitField) {
    struct Case {
        std::string line1;
        double year;
        double day;
    };
    const Case cases[] = {
        {"1 12345U 99042A   99001.25000000  .00012345  12345-5  12500-3 0  9991", 99.0, 1.25},
        {kLine1, 3.0, 211.5},
    };
    for (const Case& c : cases) {
        TleRecord tle;
        parseTle(c.line1, kLine2, tle);
        EXPECT_EQ(tle.epochYear(), c.year);
        EXPECT_EQ(tle.epochDay(), c.day);
        EXPECT_TRUE(tle.valid);
    }
}

TEST(ParseTle, ExponentFieldsHaveAnAssumedLeadingPoint) {
    TleRecord tle;
    parseTle("1 12345U 99042A   99001.25000000  .00012345  12345-5  12500-3 0  9991", kLine2, tle);
    EXPECT_EQ(tle.meanMotionRate(), 0.00012345 * kTwoPi / 2073600.0);
    EXPECT_EQ(tle.meanMotionAcceleration(),
              12345.0 * 0.00001 * 0.00001 * kTwoPi / 2985984000.0);
    EXPECT_EQ(tle.dragTerm(), 12500.0 * 0.001 * 0.00001);
}

TEST(ParseTle, AnExponentThatDoesNotConvertCountsAsZero) {
    TleRecord tle;
    parseTle("1 12345U 99042A   99001.25000000  .00012345  12345-x  12500-3 0  9991", kLine2, tle);
    EXPECT_EQ(tle.meanMotionAcceleration(), 12345.0 * 1.0 * 0.00001 * kTwoPi / 2985984000.0);
    EXPECT_EQ(tle.dragTerm(), 0.0);  // reading stopped at the bad exponent
    EXPECT_FALSE(tle.valid);         // the checksum character was not reached
}

TEST(ParseTle, ChecksumMismatchOnlyClearsValid) {
    std::string line2 = kLine2;
    line2[68] = '8';
    TleRecord tle;
    parseTle(kLine1, line2, tle);
    EXPECT_FALSE(tle.valid);
    EXPECT_EQ(tle.meanMotion(), 14.57 * kTwoPi / 1440.0);
    EXPECT_EQ(tle.revolutionNumber(), 1234.0);
}

TEST(ParseTle, ShortLinesReadOnlyWhatIsThere) {
    TleRecord tle;
    tle.values[tle_field::kMeanMotion] = 7.0;  // fields that do not convert keep their value
    parseTle(kLine1.substr(0, 40), kLine2.substr(0, 50), tle);
    EXPECT_FALSE(tle.valid);
    EXPECT_EQ(tle.epochDay(), 211.5);
    EXPECT_EQ(tle.meanMotionRate(), 0.0);  // "-.00000", the rest is cut off
    EXPECT_EQ(tle.argumentOfPerigee(), 100.0 * kRadiansPerDegree);
    EXPECT_EQ(tle.meanAnomaly(), 260.0 * kRadiansPerDegree);  // "260.000"
    EXPECT_EQ(tle.meanMotion(), 7.0);
    EXPECT_EQ(tle.revolutionNumber(), 0.0);
    EXPECT_EQ(tle.dragTerm(), 0.0);
}

TEST(ParseTle, LinesEndAtTheirFirstNul) {
    std::string line2 = kLine2;
    line2[52] = '\0';  // the blank before the mean motion
    TleRecord tle;
    parseTle(kLine1, line2, tle);
    EXPECT_FALSE(tle.valid);
    EXPECT_EQ(tle.meanAnomaly(), 260.0 * kRadiansPerDegree);
    EXPECT_EQ(tle.meanMotion(), 0.0);
    EXPECT_EQ(tle.revolutionNumber(), 0.0);
}

TEST(FormatTle, WritesTheParsedSetBackWithBlankIdentifiers) {
    TleRecord tle;
    parseTle(kLine1, kLine2, tle);
    const auto [line1, line2] = formatTle(tle);
    ASSERT_EQ(line1.size(), 80u);
    ASSERT_EQ(line2.size(), 80u);
    std::string expected1 = "1 12345           03211.50000000 -.00000123 +00000+0 -11606-4";
    expected1 += std::string(80 - expected1.size(), ' ');
    expected1[68] = tleChecksum(expected1);
    EXPECT_EQ(line1, expected1);
    EXPECT_EQ(line1[68], '5');
    EXPECT_EQ(line2, kLine2 + std::string(11, ' '));
}

TEST(FormatTle, AssumedPointFields) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.000125, "+12500-3"},
        {-0.00034, "-34000-3"},
        {0.0, "+00000+0"},
        {-0.000011606, "-11606-4"},
        {0.5, "+50000+0"},
    };
    for (const Case& c : cases) {
        TleRecord tle;
        tle.values[tle_field::kDragTerm] = c.value;
        tle.values[tle_field::kMeanMotionAcceleration] = c.value * kTwoPi / 2985984000.0;
        const std::string line1 = formatTle(tle).first;
        EXPECT_EQ(line1.substr(53, 8), c.text) << c.value;  // columns 54-61: drag term
        EXPECT_EQ(line1.size(), 80u);
    }
    TleRecord zero;
    EXPECT_EQ(formatTle(zero).first.substr(44, 8), "+00000+0");  // columns 45-52
}

TEST(FormatTle, ValuesOutsideTheirFieldsLengthenTheLineWithoutHarm) {
    TleRecord tle;
    tle.values[tle_field::kCatalogueNumber] = 1e300;      // not an int32: written as 0
    tle.values[tle_field::kEpochDay] = 1e20;
    tle.values[tle_field::kMeanMotionRate] = -1e30;       // digits not an int32: 0
    tle.values[tle_field::kRevolutionNumber] = std::nan("");
    const auto [line1, line2] = formatTle(tle);
    EXPECT_GT(line1.size(), 80u);
    EXPECT_EQ(line1.substr(0, 7), "1     0");
    EXPECT_EQ(line1[68], tleChecksum(line1));
    EXPECT_EQ(line2.size(), 80u);
}

TEST(PrintTle, WritesBothLinesEachWithANewline) {
    TleRecord tle;
    parseTle(kLine1, kLine2, tle);
    const auto [line1, line2] = formatTle(tle);
    std::ostringstream out;
    printTle(tle, out);
    EXPECT_EQ(out.str(), line1 + "\n" + line2 + "\n");
}

}  // namespace
}  // namespace kova
