// Finding an element set in the norad file, and the two ways reading it stops the run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "orbit/tle.h"
#include "run/options.h"
#include "run/run_stop.h"

namespace kova {
namespace {

const std::string kLine1 = "1 12345U 03042A   03211.50000000 -.00000123  00000-0 -11606-4 0  9992";
const std::string kLine2 = "2 12345  98.2100 150.0000 0012500 100.0000 260.0000 14.57000000 12347";

std::string writeNoradFile(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + "kova_orbit_" + name + ".tle";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string currentTestName() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

TEST(NoradFile, FindsTheSetAfterTheFirstLineHoldingTheName) {
    struct Case {
        const char* label;
        std::string text;
        std::string satelliteName;
        bool found;
    };
    const std::string set = kLine1 + "\n" + kLine2 + "\n";
    const Case cases[] = {
        {"exact", "MARU\n" + set, "MARU", true},
        {"suffix", "MARU-1\n" + set, "MARU", true},
        {"inside", "1 MARU\n" + set, "MARU", true},
        {"case", "maru\n" + set, "MARU", false},
        {"shorter", "MAR\n" + set, "MARU", false},
        {"later", "OTHER\n1 x\n2 x\nMARU\n" + set, "MARU", true},
        {"blanks", "MARU\n\n  \t\n" + kLine1 + "\n \n" + kLine2, "MARU", true},
        {"crlf", "MARU\r\n" + kLine1 + "\n" + kLine2 + "\n", "MARU", true},
        {"emptyName", "$$$$\n" + set, "", true},
        {"blankLed", "$$$$\n" + set, " MARU", true},
        {"blankLedNotMaru", "MARU\n" + set, "\tMARU", false},
        {"endsBeforeLine2", "MARU\n" + kLine1 + "\n\n", "MARU", false},
        {"empty", "", "MARU", false},
    };
    for (const Case& c : cases) {
        NoradFile file(writeNoradFile(c.label, c.text), c.satelliteName);
        ASSERT_TRUE(file.isOpen()) << c.label;
        EXPECT_EQ(file.findElementSet(), c.found) << c.label;
        if (c.found) {
            EXPECT_EQ(file.line1(), kLine1) << c.label;
            EXPECT_EQ(file.line2(), kLine2) << c.label;
        }
    }
}

TEST(NoradFile, TheNameLineIsNotPartOfTheSet) {
    // A set whose line 1 holds the name again: the first match starts the set.
    NoradFile file(writeNoradFile(currentTestName(), "MARU\nMARU 2\n" + kLine2 + "\n"), "MARU");
    ASSERT_TRUE(file.findElementSet());
    EXPECT_EQ(file.line1(), "MARU 2");
    EXPECT_EQ(file.line2(), kLine2);
}

TEST(ReadNorad, AnEmptyFileNameReadsNothing) {
    OptionTable options;
    options.setOption("-noradfile", "");
    options.setOption("-noradsatname", "MARU");
    TleRecord tle;
    std::ostringstream err;
    readNorad(options, tle, err);
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(tle.valid);
    for (const double value : tle.values) EXPECT_EQ(value, 0.0);
}

TEST(ReadNorad, ParsesTheSetOfTheNamedSatellite) {
    OptionTable options;
    options.setOption("-noradfile",
                      writeNoradFile(currentTestName(), "OTHER\n" + kLine1 + "\nKALPA MARU\n" +
                                                            kLine1 + "\n" + kLine2 + "\n"));
    options.setOption("-noradsatname", "MARU");
    TleRecord tle;
    std::ostringstream err;
    readNorad(options, tle, err);
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(tle.valid);
    EXPECT_EQ(tle.revolutionNumber(), 1234.0);
}

int statusOfStop(const OptionTable& options, std::ostringstream& err) {
    TleRecord tle;
    try {
        readNorad(options, tle, err);
    } catch (const RunStop& stop) {
        return stop.status;
    }
    return 0;
}

TEST(ReadNorad, AFileThatCannotBeOpenedStopsTheRun) {
    const std::string name = ::testing::TempDir() + "kova_orbit_no_such_dir/none.tle";
    OptionTable options;
    options.setOption("-noradfile", name);
    options.setOption("-noradsatname", "MARU");
    std::ostringstream err;
    EXPECT_EQ(statusOfStop(options, err), kStatusFailure);
    EXPECT_EQ(err.str(), "\nFile Open failed for norad file:  " + name + "\n");
}

TEST(ReadNorad, AMissingSetStopsTheRun) {
    OptionTable options;
    options.setOption("-noradfile", writeNoradFile(currentTestName(), "MARU\n" + kLine1 + "\n"));
    options.setOption("-noradsatname", "MARU");
    std::ostringstream err;
    EXPECT_EQ(statusOfStop(options, err), kStatusFailure);
    EXPECT_EQ(err.str(), "\nNorad File Read Error\n");
}

}  // namespace
}  // namespace kova
