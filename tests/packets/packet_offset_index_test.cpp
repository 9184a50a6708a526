#include <gtest/gtest.h>

#include <cstdint>

#include "packets/packet_offset_index.h"

namespace kova {
namespace {

TEST(PacketOffsetIndex, HoldsEveryOffsetAcrossBlockBoundaries) {
    PacketOffsetIndex index;
    EXPECT_TRUE(index.empty());
    // Past the second block boundary, with offsets beyond 32 bits.
    const std::size_t count = 2 * PacketOffsetIndex::kBlockLength + 3;
    for (std::size_t n = 0; n < count; ++n) index.push_back(0x100000000ull + 126 * n);
    EXPECT_EQ(index.size(), count);
    EXPECT_FALSE(index.empty());
    for (std::size_t n : {std::size_t{0}, PacketOffsetIndex::kBlockLength - 1, PacketOffsetIndex::kBlockLength,
                          2 * PacketOffsetIndex::kBlockLength, count - 1}) {
        EXPECT_EQ(index[n], 0x100000000ull + 126 * n) << n;
    }
}

}  // namespace
}  // namespace kova
