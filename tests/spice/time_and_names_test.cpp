#include <gtest/gtest.h>

#include <sstream>

#include "spice/ephemeris_time.h"
#include "spice/frame_kernel.h"
#include "spice/naif_ids.h"
#include "spice/sclk_kernel.h"
#include "spice/tag_text.h"
#include "tests/spice/daf_reader.h"

namespace kova {
namespace {

struct TagTimeCase {
    TimeTag tag;
    double ephemerisTime;     // 0 when not checked
    std::int64_t ticks;
    const char* clockText;
    const char* taiText;
};

// ET of 2003-07-30T12:00:00 TAI is the worked example of the conversion (ET - TDT = -0.682 ms);
// the clock values follow S * 10^7 + 152 C.
TEST(TagTimes, EphemerisTimeTicksAndTexts) {
    const TagTimeCase cases[] = {
        {{1438257600, 0}, 112838432.18331762, 14382576000000000, "1/1438257600.0000000", "2003-07-30T12:00:00.0000000"},
        {{1438257600, 5}, 0, 14382576000000760, "1/1438257600.0000760", "2003-07-30T12:00:00.0000760"},
        {{1438257659, 65535}, 0, 14382576599961320, "1/1438257659.9961320", "2003-07-30T12:00:59.9961320"},
        {{0, 0}, 0, 0, "1/0.0000000", "1958-01-01T00:00:00.0000000"},
        {{4294967295, 1}, 0, 42949672950000152, "1/4294967295.0000152", "2094-02-06T06:28:15.0000152"},
    };
    for (const TagTimeCase& c : cases) {
        SCOPED_TRACE(clockString(c.tag));
        if (c.ephemerisTime != 0) {
            EXPECT_EQ(ephemerisTimeFromTag(c.tag), c.ephemerisTime);
        }
        EXPECT_EQ(clockTicksFromTag(c.tag), c.ticks);
        EXPECT_EQ(static_cast<std::int64_t>(static_cast<double>(c.ticks)), c.ticks);  // exact as a double
        EXPECT_EQ(tagFromClockTicks(c.ticks), c.tag);
        EXPECT_EQ(test::tagFromTicks(static_cast<double>(c.ticks)), c.tag);
        EXPECT_EQ(clockString(c.tag), c.clockText);
        EXPECT_EQ(taiCalendarText(c.tag), c.taiText);
    }
    EXPECT_EQ(terrestrialTimeFromTag({1438257600, 0}), 112838432.184);
}

TEST(NaifIds, CatalogueNumberOfElementLine) {
    const struct {
        const char* line;
        std::optional<std::int32_t> number;
    } cases[] = {
        {"1 15427U 84123A   03211.50000000", 15427},
        {"1 90957U 03999A   03211.50000000", 90957},
        {"1   427U 63999A   03211.50000000", 427},
        {"1 00005U 58002B   03211.50000000", 5},
        {"1 A1234U 24999A   03211.50000000", std::nullopt},
        {"1 12 45U", std::nullopt},
        {"1     U", std::nullopt},
        {"1 123", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(noradNumberFromElementLine(c.line), c.number) << c.line;
    EXPECT_EQ(spacecraftIdFromNorad(15427), -115427);
    EXPECT_EQ(ckIdFromSpacecraftId(-190957), -190957000);
}

TEST(NaifIds, NaifIdOptionRange) {
    const struct {
        const char* text;
        std::optional<std::int32_t> id;
    } cases[] = {
        {"-1", -1}, {"-190957", -190957}, {"-2147483", -2147483}, {"-2147484", std::nullopt},
        {"0", std::nullopt}, {"5", std::nullopt}, {"", std::nullopt}, {"-12a", std::nullopt},
        {" -5", std::nullopt}, {"-5.0", std::nullopt}, {"-99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(parseNaifId(c.text, error), c.id) << c.text;
        if (!c.id) {
            EXPECT_NE(error.find("from -1 down to -2147483"), std::string::npos) << error;
        }
    }
}

TEST(NaifIds, BodyAndFrameNames) {
    const struct {
        const char* given;
        const char* body;
        const char* frame;
    } cases[] = {
        {"MARU", "MARU", "MARU_BUS"},
        {"  ISS   (ZARYA) ", "ISS (ZARYA)", "ISS_ZARYA_BUS"},
        {"maru-2b", "maru-2b", "MARU_2B_BUS"},
        {"", "KALPM1", "KALPM1_BUS"},
        {"\t \r\n", "KALPM1", "KALPM1_BUS"},
        {"---", "---", "SC190957_BUS"},
        {"A\x01" "B", "A?B", "A_B_BUS"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 abcdef", "ABCDEFGHIJKLMNOPQRSTUVWXYZ 012345678",
         "ABCDEFGHIJKLMNOPQRSTUV_BUS"},
        {"ABCDEFGHIJKLMNOPQRSTU V", "ABCDEFGHIJKLMNOPQRSTU V", "ABCDEFGHIJKLMNOPQRSTU__BUS"},
    };
    for (const auto& c : cases) {
        const std::string body = normalisedBodyName(c.given);
        EXPECT_EQ(body, c.body);
        EXPECT_EQ(busFrameName(body, -190957), c.frame);
    }
}

// The lines of a text kernel between "\begindata" and "\begintext", blank lines dropped; and
// the checks every text kernel passes.
std::vector<std::string> dataLines(const std::string& text) {
    EXPECT_EQ(text.back(), '\n');
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    bool inData = false;
    while (std::getline(in, line)) {
        EXPECT_LE(line.size(), 132u);
        for (const char c : line) EXPECT_TRUE(c >= ' ' && c <= '~') << line;
        if (line == "\\begindata") inData = true;
        else if (line == "\\begintext") inData = false;
        else if (inData && !line.empty()) lines.push_back(line);
    }
    return lines;
}

TEST(TextKernels, FrameKernelOfTheExample) {
    const std::string text = frameKernelText(-190957, "MARU", "MARU_BUS", "a comment\n");
    EXPECT_EQ(text.rfind("KPL/FK\n", 0), 0u);
    EXPECT_NE(text.find("\na comment\n"), std::string::npos);
    const std::vector<std::string> expected = {
        "NAIF_BODY_NAME                   += ( 'MARU' )",
        "NAIF_BODY_CODE                   += ( -190957 )",
        "FRAME_MARU_BUS                   =  -190957000",
        "FRAME_-190957000_NAME            =  'MARU_BUS'",
        "FRAME_-190957000_CLASS           =  3",
        "FRAME_-190957000_CLASS_ID        =  -190957000",
        "FRAME_-190957000_CENTER          =  -190957",
        "CK_-190957000_SCLK               =  -190957",
        "CK_-190957000_SPK                =  -190957",
        "OBJECT_-190957_FRAME             =  'MARU_BUS'",
    };
    EXPECT_EQ(dataLines(text), expected);
    // A quote in the body name is doubled inside the string.
    EXPECT_NE(frameKernelText(-1, "O'NEIL", "O_NEIL_BUS", "").find("( 'O''NEIL' )"), std::string::npos);
}

TEST(TextKernels, ClockKernelCountsFrom1958InTicks) {
    const std::string text = sclkKernelText(-190957, "");
    EXPECT_EQ(text.rfind("KPL/SCLK\n", 0), 0u);
    const std::vector<std::string> expected = {
        "SCLK_KERNEL_ID                   =  ( @1958-01-01T00:00:00 )",
        "SCLK_DATA_TYPE_190957            =  ( 1 )",
        "SCLK01_TIME_SYSTEM_190957        =  ( 2 )",
        "SCLK01_N_FIELDS_190957           =  ( 2 )",
        "SCLK01_MODULI_190957             =  ( 4294967296 10000000 )",
        "SCLK01_OFFSETS_190957            =  ( 0 0 )",
        "SCLK01_OUTPUT_DELIM_190957       =  ( 1 )",
        "SCLK_PARTITION_START_190957      =  ( 0 )",
        "SCLK_PARTITION_END_190957        =  ( 42949672960000000 )",
        "SCLK01_COEFFICIENTS_190957       =  ( 0 -1325419167.816 1 )",
    };
    EXPECT_EQ(dataLines(text), expected);
}

}  // namespace
}  // namespace kova
