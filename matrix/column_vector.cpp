#include "matrix/column_vector.h"

#include <cmath>

namespace kova {

Matrix cross(const Matrix& a, const Matrix& b) {
    Matrix result(3, 1, 0.0);
    result(1, 1) = a(2, 1) * b(3, 1) - a(3, 1) * b(2, 1);
    result(2, 1) = a(3, 1) * b(1, 1) - a(1, 1) * b(3, 1);
    result(3, 1) = a(1, 1) * b(2, 1) - a(2, 1) * b(1, 1);
    return result;
}

double norm(const Matrix& a) {
    double sum = 0.0;
    for (std::uint32_t i = 1; i <= a.rows(); ++i) sum += a(i, 1) * a(i, 1);
    return std::sqrt(sum);
}

Matrix unit(const Matrix& a) { return a / norm(a); }

}  // namespace kova
