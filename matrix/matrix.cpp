#include "matrix/matrix.h"

#include <algorithm>

#include "matrix/matrix_error.h"

namespace kova {

Matrix::Matrix(std::uint32_t rows, std::uint32_t cols, double fill) : rows_(rows), cols_(cols) {
    if (matrixCheckingEnabled() && (rows < 1 || cols < 1)) {
        throw MatrixError(matrix_error::kConstructor, rows, cols, 1, 1);
    }
    allocate();
    std::fill_n(elements(), elementCount(), fill);
}

Matrix::Matrix(const Matrix& other) : rows_(other.rows_), cols_(other.cols_) {
    allocate();
    std::copy_n(other.elements(), elementCount(), elements());
}

Matrix& Matrix::operator=(const Matrix& other) {
    if (this == &other) return *this;
    const bool sameCount = elementCount() == other.elementCount();
    rows_ = other.rows_;
    cols_ = other.cols_;
    if (!sameCount) {
        heap_.reset();
        allocate();
    }
    std::copy_n(other.elements(), elementCount(), elements());
    return *this;
}

void Matrix::allocate() {
    if (elementCount() > kInlineCapacity) heap_.reset(new double[elementCount()]);
}

void Matrix::checkIndex(std::uint32_t i, std::uint32_t j) const {
    if (i == 0 || j == 0) throw MatrixError(matrix_error::kZeroIndex, i, j, 1, 1);
    if (i > rows_ || j > cols_) throw MatrixError(matrix_error::kIndex, rows_, cols_, i, j);
}

void Matrix::setFromArray(std::span<const double> values) {
    if (matrixCheckingEnabled() && values.size() != elementCount()) {
        throw MatrixError(matrix_error::kArraySize, rows_, cols_,
                          static_cast<std::uint32_t>(values.size()), 0);
    }
    std::copy_n(values.data(), std::min(values.size(), elementCount()), elements());
}

Matrix operator-(const Matrix& a) {
    Matrix result(a);
    double* out = result.elements();
    for (std::size_t n = 0; n < result.elementCount(); ++n) out[n] = -out[n];
    return result;
}

Matrix operator*(const Matrix& a, double factor) {
    Matrix result(a);
    double* out = result.elements();
    for (std::size_t n = 0; n < result.elementCount(); ++n) out[n] = out[n] * factor;
    return result;
}

Matrix operator/(const Matrix& a, double divisor) {
    const double reciprocal = 1.0 / divisor;
    return a * reciprocal;
}

Matrix operator*(const Matrix& a, const Matrix& b) {
    if (matrixCheckingEnabled() && a.cols() != b.rows()) {
        throw MatrixError(matrix_error::kMultiply, a.rows(), a.cols(), b.rows(), b.cols());
    }
    Matrix result(a.rows(), b.cols(), 0.0);
    const double* left = a.elements();
    const double* right = b.elements();
    double* out = result.elements();
    const std::size_t inner = a.cols();
    const std::size_t outerCols = b.cols();
    for (std::size_t i = 0; i < a.rows(); ++i) {
        for (std::size_t j = 0; j < outerCols; ++j) {
            double& sum = out[i * outerCols + j];
            for (std::size_t k = 0; k < inner; ++k) sum += left[i * inner + k] * right[k * outerCols + j];
        }
    }
    return result;
}

Matrix transpose(const Matrix& a) {
    Matrix result(a.cols(), a.rows(), 0.0);
    const double* in = a.elements();
    double* out = result.elements();
    for (std::size_t i = 0; i < result.rows(); ++i) {
        for (std::size_t j = 0; j < result.cols(); ++j) out[i * result.cols() + j] = in[j * a.cols() + i];
    }
    return result;
}

}  // namespace kova
