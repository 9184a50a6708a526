#pragma once
// Small dense matrix of doubles, 1-based, row-major: element (i, j) is entry
// (i - 1) * cols + (j - 1). Copies are deep. Shapes of up to nine elements (every 3x1 and
// 3x3 of the attitude computation) live inside the object, so arithmetic on them never
// touches the heap; larger shapes keep their elements on the heap.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "matrix/matrix_checking.h"
#include "matrix/sub_matrix.h"

namespace kova {

class Matrix {
public:
    static constexpr std::size_t kInlineCapacity = 9;

    // All elements set to `fill`. With checking on, throws "matrix constructor" when
    // rows or cols is 0.
    Matrix(std::uint32_t rows, std::uint32_t cols, double fill);
    Matrix(const Matrix& other);
    Matrix& operator=(const Matrix& other);
    virtual ~Matrix() = default;

    std::uint32_t rows() const { return rows_; }
    std::uint32_t cols() const { return cols_; }

    // 1-based element access. With checking on, throws "zero index" for i or j of 0,
    // then "Matrix index \"()\"" for i > rows or j > cols; with it off, trusts them.
    double& operator()(std::uint32_t i, std::uint32_t j) {
        if (matrixCheckingEnabled()) checkIndex(i, j);
        return elements()[std::size_t{i - 1} * cols_ + (j - 1)];
    }
    const double& operator()(std::uint32_t i, std::uint32_t j) const {
        if (matrixCheckingEnabled()) checkIndex(i, j);
        return elements()[std::size_t{i - 1} * cols_ + (j - 1)];
    }

    // Copies rows * cols values, row-major. With checking on, throws "getarray" when the
    // array size differs; with it off, never reads or writes past either end.
    void setFromArray(std::span<const double> values);

    // Corner (firstRow, firstCol) of this matrix as the target of a block assignment.
    SubMatrix sub(std::uint32_t firstRow, std::uint32_t firstCol) { return SubMatrix(*this, firstRow, firstCol); }

    std::size_t elementCount() const { return std::size_t{rows_} * cols_; }
    double* elements() { return heap_ ? heap_.get() : inline_.data(); }
    const double* elements() const { return heap_ ? heap_.get() : inline_.data(); }

private:
    void allocate();
    void checkIndex(std::uint32_t i, std::uint32_t j) const;

    std::uint32_t rows_;
    std::uint32_t cols_;
    std::array<double, kInlineCapacity> inline_{};
    std::unique_ptr<double[]> heap_;
};

Matrix operator-(const Matrix& a);
// Every element times `factor`.
Matrix operator*(const Matrix& a, double factor);
// Every element times 1 / divisor (one reciprocal, then products).
Matrix operator/(const Matrix& a, double divisor);
// rows of a x cols of b, from 0.0, summed in i, j, k order. With checking on, throws
// "Matrix multiply \"*\"" when cols of a differ from rows of b.
Matrix operator*(const Matrix& a, const Matrix& b);
// cols x rows, result(i, j) = a(j, i).
Matrix transpose(const Matrix& a);

}  // namespace kova
