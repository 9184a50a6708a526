// Every committed seed and every saved finding input goes through the fuzz entry points in
// ordinary test runs, so a fault that once was found stays fixed in every build, and the
// sanitizer build checks the whole corpus on each run. Both folders of every target must
// exist and hold inputs: a folder that moved or emptied would otherwise replay nothing and
// pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz/config_file_entry.h"
#include "fuzz/date_format_entry.h"
#include "fuzz/dump_entry.h"
#include "fuzz/export_entry.h"
#include "fuzz/norad_entry.h"
#include "fuzz/packet_file_entry.h"
#include "fuzz/report_census_entry.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

struct FuzzTarget {
    const char* name;  // folder under fuzz/corpus and fuzz/regressions
    int (*entry)(const std::uint8_t* data, std::size_t size);
};

void PrintTo(const FuzzTarget& target, std::ostream* out) { *out << target.name; }

const FuzzTarget kTargets[] = {
    {"packet_file", &fuzz::fuzzPacketFile}, {"config_file", &fuzz::fuzzConfigFile},
    {"norad", &fuzz::fuzzNoradFile},        {"ephdiag", &fuzz::fuzzEphemerisDump},
    {"attdiag", &fuzz::fuzzAttitudeDump},   {"date_format", &fuzz::fuzzDateFormat},
    {"export", &fuzz::fuzzExport},           {"report_census", &fuzz::fuzzReportCensus},
};

std::vector<fs::path> inputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    if (!fs::is_directory(folder)) return inputs;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

void replay(const FuzzTarget& target, const std::vector<fs::path>& inputs) {
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::vector<std::uint8_t> bytes = readBytes(input);
        EXPECT_EQ(target.entry(bytes.data(), bytes.size()), 0);
    }
}

class CorpusReplay : public testing::TestWithParam<FuzzTarget> {};

TEST_P(CorpusReplay, EverySeedRunsThroughTheEntryPoint) {
    const fs::path folder = fs::path(KOVA_SOURCE_DIR) / "fuzz" / "corpus" / GetParam().name;
    const std::vector<fs::path> seeds = inputsIn(folder);
    ASSERT_FALSE(seeds.empty()) << "no seed corpus in " << folder.string();
    replay(GetParam(), seeds);
}

TEST_P(CorpusReplay, EverySavedFindingRunsThroughTheEntryPoint) {
    const fs::path folder = fs::path(KOVA_SOURCE_DIR) / "fuzz" / "regressions" / GetParam().name;
    const std::vector<fs::path> findings = inputsIn(folder);
    ASSERT_FALSE(findings.empty()) << "no regression inputs in " << folder.string();
    replay(GetParam(), findings);
}

TEST_P(CorpusReplay, EmptyAndOneByteInputsAreHarmless) {
    const std::uint8_t byte = 0xFF;
    EXPECT_EQ(GetParam().entry(&byte, 0), 0);
    EXPECT_EQ(GetParam().entry(&byte, 1), 0);
}

INSTANTIATE_TEST_SUITE_P(FuzzTargets, CorpusReplay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<FuzzTarget>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kova::test
