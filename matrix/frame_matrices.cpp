#include "matrix/frame_matrices.h"

#include "matrix/column_vector.h"

namespace kova {

Matrix orbitFrame(const std::array<double, 3>& position, const std::array<double, 3>& velocity) {
    Matrix r(3, 1, 0.0);
    r.setFromArray(position);
    Matrix v(3, 1, 0.0);
    v.setFromArray(velocity);

    const Matrix z = unit(-r);
    const Matrix y = unit(-cross(r, v));
    const Matrix x = unit(cross(y, z));

    Matrix frame(3, 3, 0.0);
    frame.sub(1, 1) = transpose(x);
    frame.sub(2, 1) = transpose(y);
    frame.sub(3, 1) = transpose(z);
    return frame;
}

Matrix quaternionMatrix(double q1, double q2, double q3, double q4) {
    Matrix q(3, 3, 0.0);
    q(1, 1) = q1 * q1 - q2 * q2 - q3 * q3 + q4 * q4;
    q(1, 2) = 2.0 * (q1 * q2 + q3 * q4);
    q(1, 3) = 2.0 * (q1 * q3 - q2 * q4);
    q(2, 1) = 2.0 * (q1 * q2 - q3 * q4);
    q(2, 2) = -q1 * q1 + q2 * q2 - q3 * q3 + q4 * q4;
    q(2, 3) = 2.0 * (q2 * q3 + q1 * q4);
    q(3, 1) = 2.0 * (q1 * q3 + q2 * q4);
    q(3, 2) = 2.0 * (q2 * q3 - q1 * q4);
    q(3, 3) = -q1 * q1 - q2 * q2 + q3 * q3 + q4 * q4;
    return q;
}

}  // namespace kova
