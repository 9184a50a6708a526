#pragma once
// An element set the tests read, and norad files written for one test.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace kova::test {

inline const std::string kTestTleLine1 = "1 12345U 03042A   03211.50000000 -.00000123  00000-0 -11606-4 0  9992";
inline const std::string kTestTleLine2 = "2 12345  98.2100 150.0000 0012500 100.0000 260.0000 14.57000000 12347";

// `text` as a norad file named after the running test (and `label`), in the test's temporary
// directory; returns its name.
inline std::string writeTestNoradFile(const std::string& text, const std::string& label = "") {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path =
        ::testing::TempDir() + "kova_" + test->test_suite_name() + "_" + test->name() + label + ".tle";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace kova::test
