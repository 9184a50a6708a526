#include "generator/nadir_attitude.h"

#include <cmath>

namespace kova::generator {

namespace {

using Matrix3 = std::array<Vector3, 3>;

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector3 unit(const Vector3& a) {
    const double norm = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    return {a[0] / norm, a[1] / norm, a[2] / norm};
}

Matrix3 product(const Matrix3& a, const Matrix3& b) {
    Matrix3 c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) c[i][j] += a[i][k] * b[k][j];
    return c;
}

// The quaternion of an attitude matrix, from its largest diagonal combination.
Quaternion quaternionOf(const Matrix3& m) {
    const double trace = m[0][0] + m[1][1] + m[2][2];
    Quaternion q{};
    if (trace >= m[0][0] && trace >= m[1][1] && trace >= m[2][2]) {
        const double q4 = 0.5 * std::sqrt(1.0 + trace);
        q = {(m[1][2] - m[2][1]) / (4.0 * q4), (m[2][0] - m[0][2]) / (4.0 * q4), (m[0][1] - m[1][0]) / (4.0 * q4), q4};
    } else if (m[0][0] >= m[1][1] && m[0][0] >= m[2][2]) {
        const double q1 = 0.5 * std::sqrt(1.0 + 2.0 * m[0][0] - trace);
        q = {q1, (m[0][1] + m[1][0]) / (4.0 * q1), (m[0][2] + m[2][0]) / (4.0 * q1), (m[1][2] - m[2][1]) / (4.0 * q1)};
    } else if (m[1][1] >= m[2][2]) {
        const double q2 = 0.5 * std::sqrt(1.0 + 2.0 * m[1][1] - trace);
        q = {(m[0][1] + m[1][0]) / (4.0 * q2), q2, (m[1][2] + m[2][1]) / (4.0 * q2), (m[2][0] - m[0][2]) / (4.0 * q2)};
    } else {
        const double q3 = 0.5 * std::sqrt(1.0 + 2.0 * m[2][2] - trace);
        q = {(m[0][2] + m[2][0]) / (4.0 * q3), (m[1][2] + m[2][1]) / (4.0 * q3), q3, (m[0][1] - m[1][0]) / (4.0 * q3)};
    }
    return q;
}

}  // namespace

NadirAttitude::NadirAttitude(const AttitudeOffsets& offsets) {
    // Rotation by the angle |theta| about theta, as an attitude matrix:
    // cos(phi) I + (1 - cos(phi)) n n^T - sin(phi) [n x].
    const Vector3 theta{offsets.roll, offsets.pitch, offsets.yaw};
    const double angle = std::sqrt(theta[0] * theta[0] + theta[1] * theta[1] + theta[2] * theta[2]);
    offsetMatrix_ = {Vector3{1.0, 0.0, 0.0}, Vector3{0.0, 1.0, 0.0}, Vector3{0.0, 0.0, 1.0}};
    if (angle == 0.0) return;
    const Vector3 n{theta[0] / angle, theta[1] / angle, theta[2] / angle};
    const double c = std::cos(angle), s = std::sin(angle);
    const Matrix3 skew = {Vector3{0.0, -n[2], n[1]}, Vector3{n[2], 0.0, -n[0]}, Vector3{-n[1], n[0], 0.0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) offsetMatrix_[i][j] = (i == j ? c : 0.0) + (1.0 - c) * n[i] * n[j] - s * skew[i][j];
}

void NadirAttitude::attitudeAt(const Vector3& position, const Vector3& velocity, Quaternion& quaternion,
                               Vector3& rates) {
    const Vector3 momentum = cross(position, velocity);
    const Vector3 down = unit({-position[0], -position[1], -position[2]});
    const Vector3 antiNormal = unit({-momentum[0], -momentum[1], -momentum[2]});
    const Vector3 along = unit(cross(antiNormal, down));
    const Matrix3 orbitalFrame = {along, antiNormal, down};
    quaternion = quaternionOf(product(offsetMatrix_, orbitalFrame));
    if (havePrevious_) {
        const double dot = quaternion[0] * previous_[0] + quaternion[1] * previous_[1] +
                           quaternion[2] * previous_[2] + quaternion[3] * previous_[3];
        if (dot < 0.0) {
            for (double& component : quaternion) component = -component;
        }
    } else if (quaternion[3] < 0.0) {
        for (double& component : quaternion) component = -component;
    }
    previous_ = quaternion;
    havePrevious_ = true;

    // The orbital frame turns about the orbit normal (its -y axis) at |h| / r^2.
    const double r2 = position[0] * position[0] + position[1] * position[1] + position[2] * position[2];
    const double h = std::sqrt(momentum[0] * momentum[0] + momentum[1] * momentum[1] + momentum[2] * momentum[2]);
    const Vector3 orbitalRate{0.0, -h / r2, 0.0};
    for (int i = 0; i < 3; ++i) {
        rates[i] = offsetMatrix_[i][0] * orbitalRate[0] + offsetMatrix_[i][1] * orbitalRate[1] +
                   offsetMatrix_[i][2] * orbitalRate[2];
    }
}

}  // namespace kova::generator
