// Counts heap allocations of the whole test program, to show that the 3x1 and 3x3 matrices
// of the per-record attitude computation never allocate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "matrix/frame_matrices.h"

namespace {
std::size_t allocationCount = 0;
}

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace kova {
namespace {

TEST(MatrixAllocationTest, SmallShapesStayOffTheHeap) {
    const std::size_t before = allocationCount;
    const Matrix attitude = quaternionMatrix(0.1, 0.2, 0.3, 0.9) *
                            transpose(orbitFrame({7000000.0, 10.0, 20.0}, {1.0, 7500.0, 3.0}));
    EXPECT_EQ(allocationCount, before);
    EXPECT_NE(attitude(1, 2), 0.0);

    const Matrix large(4, 4, 0.0);  // beyond the inline capacity: one allocation per copy
    const Matrix copy(large);
    EXPECT_EQ(allocationCount, before + 2);
}

}  // namespace
}  // namespace kova
