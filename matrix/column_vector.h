#pragma once
// Functions of 3x1 column vectors.
#include "matrix/matrix.h"

namespace kova {

// (a2 b3 - a3 b2, a3 b1 - a1 b3, a1 b2 - a2 b1) as a 3x1 matrix.
Matrix cross(const Matrix& a, const Matrix& b);
// Square root of the sum of a(i, 1)^2 over the rows, summed from row 1 down.
double norm(const Matrix& a);
// a / norm(a), that is a times the reciprocal of its norm.
Matrix unit(const Matrix& a);

}  // namespace kova
