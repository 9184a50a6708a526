// Cutting the stream of records into revolutions at northward equator crossings.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "orbit/revolution_cutter.h"
#include "orbit/sat_pass.h"
#include "orbit_test_states.h"

namespace kova {
namespace {

struct CutCase {
    const char* label;
    std::vector<double> z;                    // z of consecutive records, one second apart
    std::vector<std::size_t> openingRecords;  // records that open an entry
};

TEST(RevolutionCutter, OpensAtTheFirstRecordAndAtEachNorthwardCrossing) {
    const CutCase cases[] = {
        {"north only", {1.0, 2.0, 3.0}, {0}},
        {"zero after positive", {1.0, 0.0, 1.0}, {0}},
        {"zero after negative", {-1.0, 0.0, 1.0}, {0, 1}},
        {"starts south", {-3.0, -1.0, 2.0, 3.0}, {0, 2}},
        {"starts at zero", {0.0, -1.0, 1.0}, {0, 2}},
        {"southward crossings do not cut", {1.0, -1.0, -2.0, 1.0, -1.0, 1.0}, {0, 3, 5}},
    };
    const double start = 2452850.5;
    const double step = 1.0 / 86400.0;
    for (const CutCase& c : cases) {
        RevolutionCutter cutter;
        SatPass pass;
        for (std::size_t n = 0; n < c.z.size(); ++n) {
            NavRecord record = orbit_test::navRecordAt(
                start + n * step, {{7000000.0, 0.0, c.z[n]}, {0.0, 7500.0, 0.0}});
            record.setQaFlags(0x0020);  // a filled record: the entry keeps no flags
            cutter.cutRevolutions(record, pass);
        }
        ASSERT_EQ(pass.size(), c.openingRecords.size()) << c.label;
        for (std::size_t e = 0; e < pass.size(); ++e) {
            const std::size_t opening = c.openingRecords[e];
            const std::size_t last =
                e + 1 < pass.size() ? c.openingRecords[e + 1] - 1 : c.z.size() - 1;
            EXPECT_EQ(pass[e].record.julianDate(), start + opening * step) << c.label;
            EXPECT_EQ(pass[e].record.values()[2], c.z[opening]) << c.label;
            EXPECT_EQ(pass[e].record.qaFlags(), 0) << c.label;
            EXPECT_EQ(pass[e].lastTime, start + last * step) << c.label;
        }
    }
}

}  // namespace
}  // namespace kova
