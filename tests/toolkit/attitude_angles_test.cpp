#include <gtest/gtest.h>

#include <cmath>

#include "matrix/frame_matrices.h"
#include "toolkit/attitude_angles.h"

namespace kova {
namespace {

// An inclined, slightly eccentric state so that no element of the frame is trivial.
const std::array<double, 3> kPosition{-4123456.5, 3345678.25, 4567890.75};
const std::array<double, 3> kVelocity{-2512.5, -6123.25, 2217.125};

// The quaternion (q1, q2, q3 vector part, q4 scalar) whose direction cosine matrix is the
// rotation matrix m, from its largest component so that no division is by a small number.
std::array<double, 4> quaternionOf(const Matrix& m) {
    const double trace = m(1, 1) + m(2, 2) + m(3, 3);
    if (trace > m(1, 1) && trace > m(2, 2) && trace > m(3, 3)) {
        const double q4 = 0.5 * std::sqrt(1.0 + trace);
        return {(m(2, 3) - m(3, 2)) / (4.0 * q4), (m(3, 1) - m(1, 3)) / (4.0 * q4),
                (m(1, 2) - m(2, 1)) / (4.0 * q4), q4};
    }
    if (m(1, 1) >= m(2, 2) && m(1, 1) >= m(3, 3)) {
        const double q1 = 0.5 * std::sqrt(1.0 + m(1, 1) - m(2, 2) - m(3, 3));
        return {q1, (m(1, 2) + m(2, 1)) / (4.0 * q1), (m(1, 3) + m(3, 1)) / (4.0 * q1),
                (m(2, 3) - m(3, 2)) / (4.0 * q1)};
    }
    if (m(2, 2) >= m(3, 3)) {
        const double q2 = 0.5 * std::sqrt(1.0 - m(1, 1) + m(2, 2) - m(3, 3));
        return {(m(1, 2) + m(2, 1)) / (4.0 * q2), q2, (m(2, 3) + m(3, 2)) / (4.0 * q2),
                (m(3, 1) - m(1, 3)) / (4.0 * q2)};
    }
    const double q3 = 0.5 * std::sqrt(1.0 - m(1, 1) - m(2, 2) + m(3, 3));
    return {(m(1, 3) + m(3, 1)) / (4.0 * q3), (m(2, 3) + m(3, 2)) / (4.0 * q3), q3,
            (m(1, 2) - m(2, 1)) / (4.0 * q3)};
}

TEST(AttitudeAnglesTest, IdentityQuaternionGivesTheTransposedFrame) {
    const Matrix frame = orbitFrame(kPosition, kVelocity);
    const std::array<double, 3> angles = attitudeAngles(kPosition, kVelocity, {0.0, 0.0, 0.0, 1.0});
    EXPECT_EQ(angles[0], frame(2, 1));
    EXPECT_EQ(angles[1], frame(3, 2));
    EXPECT_EQ(angles[2], frame(1, 3));
}

TEST(AttitudeAnglesTest, BodyAlignedWithTheOrbitalFrameGivesZero) {
    // r along x, v along y: rows (0, 1, 0), (0, 0, -1), (-1, 0, 0), whose quaternion is
    // exact; the products with the one-ulp-short elements are all with zeros.
    EXPECT_EQ(attitudeAngles({7000000.0, 0.0, 0.0}, {0.0, 7500.0, 0.0}, {-0.5, -0.5, 0.5, 0.5}),
              (std::array<double, 3>{0.0, 0.0, 0.0}));

    // For a general state the quaternion is rounded on the way; A is the identity to a
    // few ulps, and a product taken without the transpose would be far from it.
    const Matrix frame = orbitFrame(kPosition, kVelocity);
    for (double angle : attitudeAngles(kPosition, kVelocity, quaternionOf(frame))) {
        EXPECT_NEAR(angle, 0.0, 1e-15);
    }
}

}  // namespace
}  // namespace kova
