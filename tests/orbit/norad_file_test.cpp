// Finding an element set in the norad file.
#include <gtest/gtest.h>

#include <string>

#include "orbit/norad_file.h"
#include "tests/support/norad_test_file.h"

namespace kova {
namespace {

TEST(NoradFile, FindsTheSetAfterTheFirstLineHoldingTheName) {
    struct Case {
        const char* label;
        std::string text;
        std::string satelliteName;
        bool found;
    };
    const std::string set = test::kTestTleLine1 + "\n" + test::kTestTleLine2 + "\n";
    const Case cases[] = {
        {"exact", "MARU\n" + set, "MARU", true},
        {"suffix", "MARU-1\n" + set, "MARU", true},
        {"inside", "1 MARU\n" + set, "MARU", true},
        {"case", "maru\n" + set, "MARU", false},
        {"shorter", "MAR\n" + set, "MARU", false},
        {"later", "OTHER\n1 x\n2 x\nMARU\n" + set, "MARU", true},
        {"blanks", "MARU\n\n  \t\n" + test::kTestTleLine1 + "\n \n" + test::kTestTleLine2, "MARU", true},
        {"crlf", "MARU\r\n" + test::kTestTleLine1 + "\n" + test::kTestTleLine2 + "\n", "MARU", true},
        {"emptyName", "$$$$\n" + set, "", true},
        {"blankLed", "$$$$\n" + set, " MARU", true},
        {"blankLedNotMaru", "MARU\n" + set, "\tMARU", false},
        {"endsBeforeLine2", "MARU\n" + test::kTestTleLine1 + "\n\n", "MARU", false},
        {"empty", "", "MARU", false},
    };
    for (const Case& c : cases) {
        NoradFile file(test::writeTestNoradFile(c.text, c.label), c.satelliteName);
        ASSERT_TRUE(file.isOpen()) << c.label;
        EXPECT_EQ(file.findElementSet(), c.found) << c.label;
        if (c.found) {
            EXPECT_EQ(file.line1(), test::kTestTleLine1) << c.label;
            EXPECT_EQ(file.line2(), test::kTestTleLine2) << c.label;
        }
    }
}

TEST(NoradFile, TheNameLineIsNotPartOfTheSet) {
    // A set whose line 1 holds the name again: the first match starts the set.
    NoradFile file(test::writeTestNoradFile("MARU\nMARU 2\n" + test::kTestTleLine2 + "\n"), "MARU");
    ASSERT_TRUE(file.findElementSet());
    EXPECT_EQ(file.line1(), "MARU 2");
    EXPECT_EQ(file.line2(), test::kTestTleLine2);
}

}  // namespace
}  // namespace kova
