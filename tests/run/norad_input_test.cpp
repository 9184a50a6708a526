// Reading the run's element set, and the two ways it stops the run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/option_table.h"
#include "core/run_stop.h"
#include "orbit/tle_record.h"
#include "run/norad_input.h"

namespace kova {
namespace {

const std::string kLine1 = "1 12345U 03042A   03211.50000000 -.00000123  00000-0 -11606-4 0  9992";
const std::string kLine2 = "2 12345  98.2100 150.0000 0012500 100.0000 260.0000 14.57000000 12347";

std::string writeNoradFile(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + "kova_run_" + name + ".tle";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string currentTestName() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
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
    const std::string name = ::testing::TempDir() + "kova_run_no_such_dir/none.tle";
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
