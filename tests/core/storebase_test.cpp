#include <gtest/gtest.h>

#include <cstring>

#include "core/storebase.h"

namespace kova {
namespace {

TEST(Storebase, NewBlockIsZeroFilledWithUseCountZero) {
    storebase block(16);
    EXPECT_EQ(block.size(), 16u);
    EXPECT_EQ(block.useCount(), 0);
    for (std::uint32_t i = 0; i < block.size(); ++i) EXPECT_EQ(block.data()[i], 0) << i;
}

TEST(Storebase, CopyOfAReferredBlockHasUseCountZero) {
    storebase block(4);
    std::memcpy(block.data(), "\x01\x02\x03\x04", 4);
    block.addRef();
    {
        storebase copy(block);
        EXPECT_EQ(copy.useCount(), 0);
        EXPECT_EQ(copy.size(), 4u);
        EXPECT_NE(copy.data(), block.data());
        EXPECT_EQ(std::memcmp(copy.data(), block.data(), 4), 0);
    }  // the copy is destroyed freely
    block.release();
}

TEST(Storebase, AssignmentCopiesSizeAndBytesButKeepsTheUseCount) {
    storebase source(6);
    std::memcpy(source.data(), "abcdef", 6);
    storebase target(2);
    target.addRef();
    target = source;
    EXPECT_EQ(target.size(), 6u);
    EXPECT_EQ(std::memcmp(target.data(), "abcdef", 6), 0);
    EXPECT_EQ(target.useCount(), 1);
    EXPECT_EQ(source.useCount(), 0);
    target.release();
}

TEST(Storebase, SelfAssignmentChangesNothing) {
    storebase block(3);
    std::memcpy(block.data(), "xyz", 3);
    block.addRef();
    const std::uint8_t* bytes = block.data();
    storebase& alias = block;
    block = alias;
    EXPECT_EQ(block.data(), bytes);
    EXPECT_EQ(block.size(), 3u);
    EXPECT_EQ(block.useCount(), 1);
    EXPECT_EQ(std::memcmp(block.data(), "xyz", 3), 0);
    block.release();
}

TEST(Storebase, SizeZeroIsLegal) {
    storebase empty(0);
    EXPECT_EQ(empty.size(), 0u);
    storebase copy(empty);
    EXPECT_EQ(copy.size(), 0u);
    storebase other(5);
    other = empty;
    EXPECT_EQ(other.size(), 0u);
}

TEST(StorebaseDeathTest, DestroyingAReferredBlockIsAProgramError) {
    EXPECT_EXIT(
        {
            auto* block = new storebase(8);
            block->addRef();
            delete block;
        },
        testing::ExitedWithCode(255), "Program error: storebase use count = 1\n");
}

}  // namespace
}  // namespace kova
