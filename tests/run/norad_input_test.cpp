// Reading the run's element set, and the two ways it stops the run.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/option_table.h"
#include "core/run_stop.h"
#include "orbit/tle_record.h"
#include "run/norad_input.h"
#include "tests/support/norad_test_file.h"

namespace kova {
namespace {

// The settings readNorad reads: the file name and the satellite MARU.
OptionTable noradOptions(const std::string& fileName) {
    OptionTable options;
    options.setOption("-noradfile", fileName);
    options.setOption("-noradsatname", "MARU");
    return options;
}

TEST(ReadNorad, AnEmptyFileNameReadsNothing) {
    const OptionTable options = noradOptions("");
    TleRecord tle;
    std::ostringstream err;
    readNorad(options, tle, err);
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(tle.valid);
    for (const double value : tle.values) EXPECT_EQ(value, 0.0);
}

TEST(ReadNorad, ParsesTheSetOfTheNamedSatellite) {
    const OptionTable options = noradOptions(test::writeTestNoradFile(
        "OTHER\n" + test::kTestTleLine1 + "\nKALPA MARU\n" + test::kTestTleLine1 + "\n" + test::kTestTleLine2 + "\n"));
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
    const std::string name = ::testing::TempDir() + "kova_run_no_such_dir/none.tle";
    const OptionTable options = noradOptions(name);
    std::ostringstream err;
    EXPECT_EQ(statusOfStop(options, err), kStatusFailure);
    EXPECT_EQ(err.str(), "\nFile Open failed for norad file:  " + name + "\n");
}

TEST(ReadNorad, AMissingSetStopsTheRun) {
    const OptionTable options = noradOptions(test::writeTestNoradFile("MARU\n" + test::kTestTleLine1 + "\n"));
    std::ostringstream err;
    EXPECT_EQ(statusOfStop(options, err), kStatusFailure);
    EXPECT_EQ(err.str(), "\nNorad File Read Error\n");
}

}  // namespace
}  // namespace kova
