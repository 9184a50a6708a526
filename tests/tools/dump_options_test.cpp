#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "core/run_stop.h"
#include "tools/dump_options.h"

namespace kova {
namespace {

TEST(DecimalText, ReadsLikeAtoiAndWrapsToUnsigned) {
    struct Case {
        const char* text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"0", 0},
        {"5", 5},
        {"  \t42", 42},
        {"+7", 7},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"all", 0},
        {"ALL", 0},
        {"-1", 4294967295u},
        {"-3", 4294967293u},
        {"4294967295", 4294967295u},
        {"4294967296", 0},                     // cut to 32 bits
        {"99999999999999999999999", 4294967295u},  // saturates, then cut: all ones
        {"- 5", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(unsignedFromDecimalText(c.text), c.expected) << c.text;
}

struct ScanCase {
    std::vector<const char*> arguments;  // after the program name
    const char* inputName;
    std::uint32_t first;
    std::uint32_t limit;
};

// Test names stay the same from run to run: print the case, not its bytes.
void PrintTo(const ScanCase& c, std::ostream* out) { *out << "input " << c.inputName; }


class CommandLineScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(CommandLineScan, GivesInputAndWindow) {
    const ScanCase& c = GetParam();
    std::vector<const char*> argv{"ephdiag"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    DumpOptions options;
    std::ostringstream err;
    options.scanCommandLine(static_cast<int>(argv.size()), argv.data(), err);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(options.inputFileName(), c.inputName);
    EXPECT_EQ(options.recordWindow().first, c.first);
    EXPECT_EQ(options.recordWindow().limit, c.limit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineScan,
    ::testing::Values(
        ScanCase{{"x.eph"}, "x.eph", 0, 4294967295u},
        ScanCase{{"x.eph", "-cnt", "10"}, "x.eph", 0, 10},
        ScanCase{{"-file", "y.eph", "-beg", "5", "-cnt", "2"}, "y.eph", 5, 2},
        ScanCase{{"x.eph", "-file", "y.eph"}, "y.eph", 0, 4294967295u},
        // An empty "-file" falls back to the first argument, whatever it is.
        ScanCase{{"-file", "", "-cnt", "3"}, "-file", 0, 3},
        ScanCase{{"x.eph", "-cnt", "ALL"}, "x.eph", 0, 0},
        ScanCase{{"x.eph", "-cnt", "0"}, "x.eph", 0, 0},
        // -3 is itself scanned as a keyword (its value "-cnt"); "-beg" keeps -3.
        ScanCase{{"x.eph", "-beg", "-3", "-cnt", "5"}, "x.eph", 4294967293u, 5},
        // A later pair wins; unused keywords are stored without effect.
        ScanCase{{"x.eph", "-beg", "1", "-beg", "4", "-zap", "9"}, "x.eph", 4, 4294967295u}));

TEST(CommandLineScan, StoresAValueThatLooksLikeAKeywordUnderItself) {
    const char* argv[] = {"ephdiag", "x.eph", "-beg", "-3", "-cnt", "5"};
    DumpOptions options;
    std::ostringstream err;
    options.scanCommandLine(6, argv, err);
    EXPECT_EQ(options.table().getOption("-3"), "-cnt");
    EXPECT_EQ(options.table().getOption("-cnt"), "5");
}

TEST(CommandLineScan, RefusesAKeywordWithoutValue) {
    const std::vector<std::vector<const char*>> commandLines = {
        {"ephdiag", "x.eph", "-cnt"},
        {"ephdiag", "-beg", "-3"},  // -3 becomes a keyword with nothing after it
        {"ephdiag", "-file"},
    };
    for (const auto& argv : commandLines) {
        DumpOptions options;
        std::ostringstream err;
        try {
            options.scanCommandLine(static_cast<int>(argv.size()), argv.data(), err);
            ADD_FAILURE() << "accepted a keyword without value";
        } catch (const RunStop& stop) {
            EXPECT_EQ(stop.status, -1);
        }
        EXPECT_EQ(err.str(), std::string("\nBad Command Line Keyword: ") + argv.back() + "\n");
    }
}

TEST(DumpFileName, AppendsTxt) {
    EXPECT_EQ(dumpFileNameFor("x.eph"), "x.eph.txt");
    EXPECT_EQ(dumpFileNameFor("dir/a.b.att"), "dir/a.b.att.txt");
}

}  // namespace
}  // namespace kova
