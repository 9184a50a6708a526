#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/constants.h"
#include "generator/element_set.h"
#include "generator/pass_time.h"
#include "orbit/tle.h"
#include "tests/support/packet_file_builder.h"
#include "time/julian_date.h"
#include "time/ut_correction.h"

namespace kova::generator {
namespace {

TEST(ElementSetLines, ColumnsAndChecksumsOfTheDefaultSet) {
    const ElementSet set = defaultElementSet();
    const std::string line1 = formatLine1(set);
    const std::string line2 = formatLine2(set);
    EXPECT_EQ(line1, "1 90957U 02901A   03211.12500000  .00000120  00000+0  36539-4 0  8123");
    EXPECT_EQ(line2, "2 90957  98.2071 251.4363 0001187  92.3518 267.7823 14.57107046 62657");
    EXPECT_EQ(elementSetChecksum(line1), line1[68]);
    EXPECT_EQ(elementSetChecksum(line2), line2[68]);
}

TEST(ElementSetLines, Checksum) {
    EXPECT_EQ(elementSetChecksum(std::string(68, ' ')), '0');
    EXPECT_EQ(elementSetChecksum("1-+9"), '1');   // '-' adds 1, '+' nothing, 9 adds 9: 10
    EXPECT_EQ(elementSetChecksum(std::string(68, '9') + "5"), '2');  // column 69 not counted
}

TEST(ElementSetLines, ReadByTheElementSetReaderOfKova) {
    ElementSet set = defaultElementSet();
    set.dragTerm = -0.000011606;
    set.meanMotionAcceleration = 0.000125;
    set.meanMotionRate = -0.00001234;
    TleRecord tle;
    parseTle(formatLine1(set), formatLine2(set), tle);
    EXPECT_TRUE(tle.valid);
    EXPECT_DOUBLE_EQ(tle.meanMotion(), 14.57107046 * kTwoPi / 1440.0);
    EXPECT_DOUBLE_EQ(tle.eccentricity(), 0.0001187);
    EXPECT_DOUBLE_EQ(tle.inclination(), 98.2071 * kRadiansPerDegree);
    EXPECT_DOUBLE_EQ(tle.rightAscension(), 251.4363 * kRadiansPerDegree);
    EXPECT_DOUBLE_EQ(tle.argumentOfPerigee(), 92.3518 * kRadiansPerDegree);
    EXPECT_DOUBLE_EQ(tle.meanAnomaly(), 267.7823 * kRadiansPerDegree);
    EXPECT_DOUBLE_EQ(tle.dragTerm(), -0.000011606);
    EXPECT_DOUBLE_EQ(tle.meanMotionAcceleration(), 0.000125 * kTwoPi / 2985984000.0);
    EXPECT_DOUBLE_EQ(tle.meanMotionRate(), -0.00001234 * kTwoPi / 2073600.0);
    EXPECT_EQ(tle.catalogueNumber(), 90957.0);
    EXPECT_EQ(tle.epochYear(), 3.0);
    EXPECT_EQ(tle.epochDay(), 211.125);
    EXPECT_EQ(tle.revolutionNumber(), 6265.0);
}

TEST(NoradFileText, WrittenAndReadBack) {
    ElementSet set = defaultElementSet("SELA");
    set.dragTerm = -0.00034;
    std::stringstream file;
    file << "OTHER SAT\n1 junk\n2 junk\n";
    writeNoradFile(file, set);
    EXPECT_NE(file.str().find("SELA\n1 90957U"), std::string::npos);

    ElementSet read;
    std::string error;
    ASSERT_TRUE(readElementSet(file, "SELA", read, error)) << error;
    EXPECT_EQ(read.name, "SELA");
    EXPECT_EQ(formatLine1(read), formatLine1(set));
    EXPECT_EQ(formatLine2(read), formatLine2(set));
    EXPECT_DOUBLE_EQ(read.dragTerm, -0.00034);
    EXPECT_EQ(read.internationalDesignator, "02901A");
}

TEST(NoradFileText, ReadFailures) {
    const ElementSet set = defaultElementSet();
    const std::string good = "MARU\n" + formatLine1(set) + "\n\n" + formatLine2(set) + "\n";
    struct Case {
        const char* name;
        std::string text;
        bool ok;
    };
    const Case cases[] = {
        {"blank line between the two lines", good, true},
        {"name missing", "OTHER\n" + formatLine1(set) + "\n" + formatLine2(set) + "\n", false},
        {"second line missing", "MARU\n" + formatLine1(set) + "\n", false},
        {"short line", "MARU\n" + formatLine1(set).substr(0, 40) + "\n" + formatLine2(set) + "\n", false},
        {"lines swapped", "MARU\n" + formatLine2(set) + "\n" + formatLine1(set) + "\n", false},
        {"mean motion not a number",
         "MARU\n" + formatLine1(set) + "\n" + formatLine2(set).replace(52, 11, "14.5x107046") + "\n", false},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        ElementSet read;
        std::string error;
        EXPECT_EQ(readElementSet(in, "MARU", read, error), c.ok) << c.name << ": " << error;
        if (!c.ok) {
            EXPECT_FALSE(error.empty()) << c.name;
        }
    }
}

TEST(PassTime, CalendarTextToTimeTagSeconds) {
    std::uint32_t seconds = 1;
    ASSERT_TRUE(parseTai58Time("1958-01-01T00:00:00", seconds));
    EXPECT_EQ(seconds, 0u);
    ASSERT_TRUE(parseTai58Time("2003-07-30T12:00:00", seconds));
    EXPECT_EQ(seconds, test::kTestBaseSeconds);
    ASSERT_TRUE(parseTai58Time("2000-02-29T23:59:59", seconds));
    EXPECT_EQ(seconds, 1330559999u);
    for (const char* bad : {"2003-07-30 12:00:00", "2003-7-30T12:00:00", "2003-02-29T00:00:00", "2003-13-01T00:00:00",
                            "2003-07-30T24:00:00", "2003-07-30T12:60:00", "1957-12-31T23:59:59",
                            "2095-01-01T00:00:00", "2003-07-30T12:00:0x", ""}) {
        EXPECT_FALSE(parseTai58Time(bad, seconds)) << bad;
    }
}

TEST(PassTime, EpochIsTheUtEpochPlusTheCorrectionKovaApplies) {
    const ElementSet set = defaultElementSet();
    std::uint32_t utMidnight = 0;
    ASSERT_TRUE(parseTai58Time("2003-07-30T00:00:00", utMidnight));
    const double correction = epochTai58Seconds(set) - (utMidnight + 3 * 3600.0);
    const double utEpochJulianDate = 2452850.625;  // 2003-07-30 03:00
    EXPECT_NEAR(correction, utCorrection(utEpochJulianDate) * 86400.0, 1e-6);
    EXPECT_NEAR(correction, 36.2, 0.1);  // TAI - UT in mid-2003 by the smooth approximation
    EXPECT_GT(defaultStartTai58Seconds(set), epochTai58Seconds(set));
    EXPECT_LT(defaultStartTai58Seconds(set), epochTai58Seconds(set) + 3600.0);
}

}  // namespace
}  // namespace kova::generator
