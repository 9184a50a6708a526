// Throughput of both dumps on ten days of one-second records. Disabled in ordinary runs (it
// writes about 110 MB); run with --gtest_also_run_disabled_tests to measure.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "tests/tools/toolkit_file_bytes.h"
#include "tools/attitude_dump.h"
#include "tools/ephemeris_dump.h"

namespace kova {
namespace {

constexpr std::uint32_t kTenDaysOfRecords = 864000;

TEST(DumpThroughput, DISABLED_TenDaysOfRecords) {
    test::ToolkitFileBytes file;
    file.putU32(test::ToolkitFileBytes::kRecordCount, kTenDaysOfRecords);
    for (std::uint32_t index = 0; index < kTenDaysOfRecords; ++index) {
        const double phase = index * 1.1e-3;
        file.appendRecord(3.2e8 + index, {7.0e6 * std::cos(phase), 7.0e6 * std::sin(phase), 1.2e5},
                          {-7.5e3 * std::sin(phase), 7.5e3 * std::cos(phase), -3.1},
                          index % 1000 == 0 ? 0x0120u : 0u);
    }
    const std::string input = test::testFilePath("tk");
    file.writeTo(input);

    for (auto tool : {&runEphdiag, &runAttdiag}) {
        const char* argv[] = {"dump", input.c_str()};
        std::ostringstream err;
        const auto start = std::chrono::steady_clock::now();
        const int status = tool(2, argv, err);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(status, 0);
        std::cout << "dump of " << kTenDaysOfRecords << " records: " << seconds.count() << " s, "
                  << kTenDaysOfRecords / seconds.count() << " lines/s\n";
    }
    std::filesystem::remove(input);
    std::filesystem::remove(input + ".txt");
}

}  // namespace
}  // namespace kova
