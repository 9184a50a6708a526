#pragma once
// A place inside a matrix that receives a block: assigning a matrix to it copies the
// source so that source element (1, 1) lands at (firstRow, firstCol) of the target.
#include <cstdint>

namespace kova {

class Matrix;

class SubMatrix {
public:
    // Throws MatrixError "subarray constructor" (target rows, cols, firstRow, firstCol)
    // when the corner lies outside the target; an index of 0 counts as outside.
    SubMatrix(Matrix& target, std::uint32_t firstRow, std::uint32_t firstCol);
    SubMatrix(const SubMatrix&) = default;
    SubMatrix& operator=(const SubMatrix&) = delete;

    // Throws MatrixError "subarray assignment" (target rows, target cols, source rows,
    // source cols) when the source does not fit below and right of the corner.
    SubMatrix& operator=(const Matrix& source);

private:
    Matrix* target_;
    std::uint32_t firstRow_;
    std::uint32_t firstCol_;
};

}  // namespace kova
