#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "tests/toolkit/expected_bytes.h"
#include "time/time_scales.h"
#include "toolkit/records.h"

namespace kova {
namespace {

using test::Bytes;
using test::bytesOf;
using test::putF64;
using test::putU32;

constexpr double kJd = 2452640.75;

// Ephemeris and attitude records share one layout: time, two triples, flag word, and
// four zero bytes at 60 that are never written.
TEST(RecordBlocksTest, EphemerisAndAttitudeGoldenBytes) {
    const std::array<double, 3> first{-1234567.25, 6543210.5, 1.0e-300};
    const std::array<double, 3> second{-7.5, 0.0, 7654.125};
    const std::uint32_t flags = 0x0240;

    Bytes expected(64, 0);
    putF64(expected, 0, tai93FromJulianDate(kJd));
    for (std::size_t n = 0; n < 3; ++n) {
        putF64(expected, 8 + 8 * n, first[n]);
        putF64(expected, 32 + 8 * n, second[n]);
    }
    putU32(expected, 56, flags);

    EphemerisRecord ephemeris;
    ephemeris.setTime(kJd);
    ephemeris.setPosition(first);
    ephemeris.setVelocity(second);
    ephemeris.setQaFlags(flags);
    EXPECT_EQ(bytesOf(ephemeris), expected);
    EXPECT_EQ(ephemeris.time(), tai93FromJulianDate(kJd));
    EXPECT_EQ(ephemeris.position(), first);
    EXPECT_EQ(ephemeris.velocity(), second);
    EXPECT_EQ(ephemeris.qaFlags(), flags);

    AttitudeRecord attitude;
    attitude.setTime(kJd);
    attitude.setAngles(first);
    attitude.setRates(second);
    attitude.setQaFlags(flags);
    EXPECT_EQ(bytesOf(attitude), expected);
    EXPECT_EQ(attitude.angles(), first);
    EXPECT_EQ(attitude.rates(), second);
}

TEST(RecordBlocksTest, OrbitMetadataGoldenBytes) {
    OrbitMetadataRecord record;
    record.setOrbitNumber(12345);
    record.setAscendingNodeTime(kJd);
    record.setDescendingNodeTime(0.0);  // a node the orbit model left unplaced
    record.setDescendingNodeLongitude(-2.5);

    Bytes expected(32, 0);
    putU32(expected, 0, 12345);
    putF64(expected, 8, tai93FromJulianDate(kJd));
    putF64(expected, 16, -211592606427.0);
    putF64(expected, 24, -2.5);
    EXPECT_EQ(bytesOf(record), expected);
    EXPECT_EQ(record.orbitNumber(), 12345u);
    EXPECT_EQ(record.descendingNodeTime(), -211592606427.0);
    EXPECT_EQ(record.descendingNodeLongitude(), -2.5);
}

}  // namespace
}  // namespace kova
