#include "matrix/sub_matrix.h"

#include <cstddef>

#include "matrix/matrix.h"
#include "matrix/matrix_error.h"

namespace kova {

SubMatrix::SubMatrix(Matrix& target, std::uint32_t firstRow, std::uint32_t firstCol)
    : target_(&target), firstRow_(firstRow), firstCol_(firstCol) {
    // A corner index of 0 would place the block before the first element.
    if (firstRow > target.rows() || firstCol > target.cols() || firstRow == 0 || firstCol == 0) {
        throw MatrixError(matrix_error::kSubConstructor, target.rows(), target.cols(), firstRow, firstCol);
    }
}

SubMatrix& SubMatrix::operator=(const Matrix& source) {
    Matrix& target = *target_;
    // 64-bit sums: the corner plus the source shape cannot wrap around.
    if (std::uint64_t{source.rows()} + firstRow_ - 1 > target.rows() ||
        std::uint64_t{source.cols()} + firstCol_ - 1 > target.cols()) {
        throw MatrixError(matrix_error::kSubAssignment, target.rows(), target.cols(), source.rows(),
                          source.cols());
    }
    const double* in = source.elements();
    double* out = target.elements();
    for (std::size_t i = 0; i < source.rows(); ++i) {
        for (std::size_t j = 0; j < source.cols(); ++j) {
            out[(firstRow_ - 1 + i) * target.cols() + (firstCol_ - 1 + j)] = in[i * source.cols() + j];
        }
    }
    return *this;
}

}  // namespace kova
