#include <gtest/gtest.h>

#include <cmath>

#include "matrix/frame_matrices.h"

namespace kova {
namespace {

void expectRows(const Matrix& m, const std::array<std::array<double, 3>, 3>& rows) {
    ASSERT_EQ(m.rows(), 3u);
    ASSERT_EQ(m.cols(), 3u);
    for (std::uint32_t i = 1; i <= 3; ++i) {
        for (std::uint32_t j = 1; j <= 3; ++j) {
            EXPECT_EQ(m(i, j), rows[i - 1][j - 1]) << "element (" << i << ", " << j << ")";
        }
    }
}

TEST(FrameMatricesTest, OrbitFrameOfAnEquatorialPosition) {
    // unit() multiplies by the rounded reciprocal of the norm: -7e6 * (1 / 7e6) and
    // -5.25e10 * (1 / 5.25e10) come out one ulp short of -1, while x, built from those two,
    // rounds back to exactly 1.
    Matrix frame = orbitFrame({7000000.0, 0.0, 0.0}, {0.0, 7500.0, 0.0});
    expectRows(frame, {{{0.0, 1.0, 0.0}, {0.0, 0.0, -0.9999999999999999}, {-0.9999999999999999, 0.0, 0.0}}});
}

TEST(FrameMatricesTest, QuaternionOfNoRotationIsTheIdentity) {
    expectRows(quaternionMatrix(0.0, 0.0, 0.0, 1.0), {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
}

TEST(FrameMatricesTest, QuaternionAboutEachAxisRotatesTheFrame) {
    // A frame turned by angle t about an axis: its matrix takes reference components into
    // turned components. Tolerance: sin and cos of t/2 are rounded before squaring.
    const double t = 0.3;
    const double s = std::sin(t / 2.0);
    const double c = std::cos(t / 2.0);
    const double ct = std::cos(t);
    const double st = std::sin(t);
    struct Case {
        std::array<double, 4> q;
        std::array<std::array<double, 3>, 3> expected;
    } cases[] = {
        {{s, 0, 0, c}, {{{1, 0, 0}, {0, ct, st}, {0, -st, ct}}}},
        {{0, s, 0, c}, {{{ct, 0, -st}, {0, 1, 0}, {st, 0, ct}}}},
        {{0, 0, s, c}, {{{ct, st, 0}, {-st, ct, 0}, {0, 0, 1}}}},
    };
    for (const Case& k : cases) {
        Matrix q = quaternionMatrix(k.q[0], k.q[1], k.q[2], k.q[3]);
        for (std::uint32_t i = 1; i <= 3; ++i) {
            for (std::uint32_t j = 1; j <= 3; ++j) {
                EXPECT_NEAR(q(i, j), k.expected[i - 1][j - 1], 1e-15) << i << ", " << j;
            }
        }
    }
}

TEST(FrameMatricesTest, QuaternionIsNotNormalised) {
    // Twice the identity quaternion scales every diagonal element by four.
    EXPECT_EQ(quaternionMatrix(0.0, 0.0, 0.0, 2.0)(2, 2), 4.0);
}

}  // namespace
}  // namespace kova
