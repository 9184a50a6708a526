// The big-endian codecs: byte order of each width, at any alignment, and the round trip of
// the floating-point fields bit for bit (NaN payloads and negative zero included).
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "core/big_endian.h"

namespace kova {
namespace {

TEST(BigEndian, IntegersAreStoredMostSignificantByteFirstAtAnyOffset) {
    for (std::size_t offset = 0; offset < 8; ++offset) {
        std::array<std::uint8_t, 24> buffer{};
        std::uint8_t* p = buffer.data() + offset;
        be::storeU16(p, 0x0102);
        EXPECT_EQ(p[0], 0x01);
        EXPECT_EQ(p[1], 0x02);
        EXPECT_EQ(be::loadU16(p), 0x0102);
        be::storeU32(p, 0x01020304u);
        EXPECT_EQ((std::array<std::uint8_t, 4>{p[0], p[1], p[2], p[3]}),
                  (std::array<std::uint8_t, 4>{0x01, 0x02, 0x03, 0x04}));
        EXPECT_EQ(be::loadU32(p), 0x01020304u);
        be::storeU64(p, 0x0102030405060708ull);
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(p[i], i + 1) << "offset " << offset;
        EXPECT_EQ(be::loadU64(p), 0x0102030405060708ull);
        EXPECT_EQ(buffer[offset + 8], 0) << "no byte written past the field";
        be::storeI32(p, -2);
        EXPECT_EQ(be::loadU32(p), 0xFFFFFFFEu);
        EXPECT_EQ(be::loadI32(p), -2);
    }
}

TEST(BigEndian, FloatingPointFieldsRoundTripBitForBit) {
    const double doubles[] = {1.0, -0.0, 0x1p-1074, std::numeric_limits<double>::infinity(),
                              std::bit_cast<double>(0x7FF8000000000123ull), 2448988.5003125};
    std::array<std::uint8_t, 9> buffer{};
    for (double value : doubles) {
        be::storeF64(buffer.data() + 1, value);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(be::loadF64(buffer.data() + 1)), std::bit_cast<std::uint64_t>(value));
        EXPECT_EQ(be::loadU64(buffer.data() + 1), std::bit_cast<std::uint64_t>(value));
    }
    be::storeF64(buffer.data(), 1.0);  // 0x3FF0000000000000
    EXPECT_EQ(buffer[0], 0x3F);
    EXPECT_EQ(buffer[1], 0xF0);
    be::storeF32(buffer.data(), -1.0f);  // 0xBF800000
    EXPECT_EQ((std::array<std::uint8_t, 4>{buffer[0], buffer[1], buffer[2], buffer[3]}),
              (std::array<std::uint8_t, 4>{0xBF, 0x80, 0x00, 0x00}));
    EXPECT_EQ(be::loadF32(buffer.data()), -1.0f);
}

}  // namespace
}  // namespace kova
