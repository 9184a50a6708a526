#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "core/big_endian.h"
#include "packets/nav_record.h"
#include "packets/packet_layout.h"
#include "packets/real_formats.h"

namespace kova {
namespace {

struct Real48Case {
    std::array<std::uint8_t, 6> bytes;
    double value;
};

TEST(Real48, DecodesSignedMantissaExponentAndExtension) {
    const Real48Case cases[] = {
        {{0x40, 0x00, 0x00, 0x01, 0x00, 0x00}, 1.0},
        {{0xC0, 0x00, 0x00, 0x01, 0x00, 0x00}, -1.0},
        {{0x40, 0x00, 0x00, 0x01, 0x80, 0x00}, 1.0000001192092896},
        // The extension moves a negative value away from zero as well.
        {{0xC0, 0x00, 0x00, 0x01, 0x80, 0x00}, -1.0000001192092896},
        {{0x60, 0x00, 0x00, 0x18, 0x00, 0x00}, 12582912.0},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, 0.0},
        {{0x40, 0x00, 0x00, 0xFF, 0x00, 0x00}, 0.25},  // exponent -1 halves 0.5
        {{0x40, 0x00, 0x00, 0x00, 0x00, 0x01}, 0.5 + 0x1p-39},
        {{0x7F, 0xFF, 0xFF, 0x00, 0xFF, 0xFF}, 1.0 - 0x1p-39},
        {{0x80, 0x00, 0x00, 0x00, 0x00, 0x00}, -1.0},
        {{0x80, 0x00, 0x00, 0x7F, 0x00, 0x00}, -0x1p127},
        {{0x40, 0x00, 0x00, 0x80, 0x00, 0x00}, 0x1p-129},
        // Low byte of the word is the exponent, never part of the mantissa.
        {{0x00, 0x00, 0x01, 0x02, 0x00, 0x00}, 0x1p-21},
    };
    for (const Real48Case& c : cases) {
        EXPECT_EQ(decodeReal48(c.bytes.data()), c.value)
            << std::hex << int(c.bytes[0]) << ' ' << int(c.bytes[1]) << ' ' << int(c.bytes[2]) << ' '
            << int(c.bytes[3]) << ' ' << int(c.bytes[4]) << ' ' << int(c.bytes[5]);
    }
}

TEST(Real32, IsReal48WithoutExtension) {
    const std::uint8_t one[4] = {0x40, 0x00, 0x00, 0x01};
    EXPECT_EQ(decodeReal32(one), 1.0);
    const std::uint8_t negative[4] = {0xA0, 0x00, 0x00, 0xF6};  // -0.75 * 2^-10
    EXPECT_EQ(decodeReal32(negative), -0.75 * 0x1p-10);
}

// A navigation packet buffer with just the time tag set.
NavRecord recordWithTimeTag(std::uint32_t seconds, std::uint16_t subseconds) {
    NavRecord record(126);
    be::storeU32(record.data() + nav_packet::kTimeTagSeconds, seconds);
    be::storeU16(record.data() + nav_packet::kTimeTagSubseconds, subseconds);
    record.decode();
    return record;
}

TEST(TimeTag, JulianDateFromWholeSecondsAndSubsecondCount) {
    struct Case {
        std::uint32_t seconds;
        std::uint16_t subseconds;
        double julianDate;
    };
    const Case cases[] = {
        {0, 0, 2436204.5},
        {86400, 0, 2436205.5},
        // 50000 counts are 0.76 s (units of 15.2 us, not 1/65536 s).
        {0, 50000, (50000 * 1.52e-05 + 0.0) * 1.1574074074074073e-05 + 2436204.5},
        // All 32 bits set: 4294967295 s, never a negative count.
        {0xFFFFFFFFu, 0, (0.0 + 4294967295.0) * 1.1574074074074073e-05 + 2436204.5},
    };
    for (const Case& c : cases) {
        const NavRecord record = recordWithTimeTag(c.seconds, c.subseconds);
        EXPECT_EQ(record.julianDate(), c.julianDate) << c.seconds << " s + " << c.subseconds;
        EXPECT_EQ(record.timeTagSeconds(), c.seconds);
        EXPECT_EQ(record.timeTagSubseconds(), c.subseconds);
    }
    EXPECT_GT(recordWithTimeTag(0xFFFFFFFFu, 0).julianDate(), 2436204.5 + 49710.0);
    // 0.76 s rather than 0.763 s.
    EXPECT_NEAR((recordWithTimeTag(0, 50000).julianDate() - 2436204.5) * 86400.0, 0.76, 1e-4);
}

}  // namespace
}  // namespace kova
