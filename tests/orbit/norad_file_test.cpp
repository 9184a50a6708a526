// Finding an element set in the norad file.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "orbit/norad_file.h"

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

}  // namespace
}  // namespace kova
