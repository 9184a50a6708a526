#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/toolkit/expected_bytes.h"
#include "time/time_scales.h"
#include "toolkit/headers.h"
#include "toolkit/layout.h"

namespace kova {
namespace {

using test::Bytes;
using test::bytesOf;
using test::putF64;
using test::putText;
using test::putU32;

// 2003-01-01 00:01:00 and 01:00:00 TAI. The calendar text runs about 35.7 s behind
// (approximate TAI - UT in 2003), seconds truncated.
constexpr double kStartJd = 2452640.5 + 60.0 / 86400.0;
constexpr double kEndJd = 2452640.5 + 3600.0 / 86400.0;

TEST(ToolkitHeaderTest, GoldenBytes) {
    ToolkitHeader header;
    header.setSpacecraft("SPACECRAFT-NAME-24-CHARS");  // exactly the field width
    header.setSource("DB");
    header.setVersion("2.0");
    header.setTimeRange(kStartJd, kEndJd);
    header.setInterval(1.0f);
    header.setRecordCount(7);

    Bytes expected(140, 0);
    putText(expected, 0, "SPACECRAFT-NAME-24-CHARS");
    putText(expected, 24, "2003-01-01T00:00:24Z to ");  // its NUL is byte 24 of the field
    putText(expected, 24 + 25, "2003-01-01T00:59:24Z ");
    putText(expected, 72, "DB");
    putText(expected, 104, "2.0");
    putF64(expected, 112, tai93FromJulianDate(kStartJd));
    putF64(expected, 120, tai93FromJulianDate(kEndJd));
    expected[128] = 0x3F;  // 1.0f
    expected[129] = 0x80;
    putU32(expected, 136, 7);
    EXPECT_EQ(bytesOf(header), expected);

    EXPECT_EQ(header.spacecraft(), "SPACECRAFT-NAME-24-CHARS");
    EXPECT_EQ(header.timeRange(), "2003-01-01T00:00:24Z to ");
    EXPECT_EQ(header.source(), "DB");
    EXPECT_EQ(header.version(), "2.0");
    EXPECT_EQ(header.startTime(), tai93FromJulianDate(kStartJd));
    EXPECT_EQ(header.endTime(), tai93FromJulianDate(kEndJd));
    EXPECT_EQ(header.interval(), 1.0f);
    EXPECT_EQ(header.universalRefCount(), 0u);
    EXPECT_EQ(header.recordCount(), 7u);
}

TEST(ToolkitHeaderTest, EqualStartAndEndGiveTheSameTextTwice) {
    ToolkitHeader header;
    header.setTimeRange(kStartJd, kStartJd);
    const std::uint8_t* field = header.data() + toolkit_header::kTimeRange;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(field), 20),
              std::string(reinterpret_cast<const char*>(field + 25), 20));
    EXPECT_EQ(field[24], 0);
    EXPECT_EQ(field[46], 0);
    EXPECT_EQ(field[47], 0);
    EXPECT_EQ(header.startTime(), header.endTime());
}

TEST(ToolkitHeaderTest, TextFieldsAreCutAndZeroFilled) {
    struct Field {
        const char* name;
        void (ToolkitHeader::*set)(std::string_view);
        std::size_t offset;
        std::size_t width;
    } fields[] = {
        {"spacecraft", &ToolkitHeader::setSpacecraft, 0, 24},
        {"source", &ToolkitHeader::setSource, 72, 32},
        {"version", &ToolkitHeader::setVersion, 104, 8},
    };
    const std::string longText(40, 'x');
    for (const Field& f : fields) {
        for (std::size_t length : {std::size_t{0}, std::size_t{3}, f.width - 1, f.width, f.width + 1, std::size_t{40}}) {
            SCOPED_TRACE(std::string(f.name) + " length " + std::to_string(length));
            ToolkitHeader header;
            (header.*f.set)(std::string(40, 'o'));  // a longer value set before is replaced
            (header.*f.set)(longText.substr(0, length));
            Bytes expected(140, 0);
            putText(expected, f.offset, longText.substr(0, std::min(length, f.width)));
            EXPECT_EQ(bytesOf(header), expected);
        }
    }
}

TEST(EphemerisHeaderTest, GoldenBytes) {
    EphemerisHeader header;
    header.setReferenceFrame("J2000");
    header.setOrbits(100, 103, 3);
    const KeplerElements elements{7000000.5, 0.001, 1.7, -0.25, 3.0, 6.2};
    header.setKeplerElements(elements);

    Bytes expected(372, 0);
    putU32(expected, 0, 3);
    putU32(expected, 4, 100);
    putU32(expected, 8, 103);
    putText(expected, 12, "J2000");
    for (std::size_t n = 0; n < 6; ++n) putF64(expected, 20 + 8 * n, elements[n]);
    EXPECT_EQ(bytesOf(header), expected);  // QA parameters and statistics stay 0.0

    EXPECT_EQ(header.orbitCount(), 3u);
    EXPECT_EQ(header.beginOrbit(), 100u);
    EXPECT_EQ(header.endOrbit(), 103u);
    EXPECT_EQ(header.referenceFrame(), "J2000");
    EXPECT_EQ(header.keplerElements(), elements);
    EXPECT_EQ(header.qaParameter(15), 0.0f);
    EXPECT_EQ(header.qaStatistic(3), 0.0f);

    header.setReferenceFrame("FRAME-LONGER-THAN-8");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(header.data() + 12), 8), "FRAME-LO");
    EXPECT_EQ(header.data()[20], expected[20]);  // the cut text did not run into the elements
}

TEST(EphemerisHeaderTest, OrbitCountWrapsAndCountsOneForEqualOrbits) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t begin;
        std::int32_t end;
        std::uint32_t count;
    } cases[] = {
        {100, 103, 3}, {100, 101, 1}, {5, 5, 1}, {0, 0, 1}, {-1, 2, 3},
        {100, 99, 0xFFFFFFFFu}, {kMax, kMin, 1}, {kMin, kMax, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(orbitCount(c.begin, c.end), c.count) << c.begin << " to " << c.end;
    }
}

TEST(AttitudeHeaderTest, GoldenBytes) {
    AttitudeHeader header;
    header.setAngleOrder(3, 1, 2);
    Bytes expected(372, 0);
    putU32(expected, 0, 3);
    putU32(expected, 4, 1);
    putU32(expected, 8, 2);
    EXPECT_EQ(bytesOf(header), expected);
    EXPECT_EQ(header.angleOrder(0), 3u);
    EXPECT_EQ(header.angleOrder(2), 2u);
    EXPECT_EQ(header.qaParameter(0), 0.0f);
}

}  // namespace
}  // namespace kova
