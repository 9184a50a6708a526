// The per-record attitude path (rows held by value, two records side by side) must give the
// very doubles of the Matrix computation it replaces, for ordinary states and for the
// degenerate ones where infinities and signed zeros show any change of operation order. A NaN
// must stay a NaN; its sign and payload are left open by the arithmetic (an optimiser may
// reorder the operations that make it), and the writers store one canonical NaN.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "generator/pass_generator.h"
#include "matrix/frame_matrices.h"
#include "toolkit/attitude_angles.h"

namespace kova {
namespace {

using Angles = std::array<double, 3>;

// A = Q * transpose(O) from Matrix objects, the reference arithmetic.
Angles anglesThroughMatrices(const NavValues& v) {
    const Matrix attitude =
        quaternionMatrix(v[6], v[7], v[8], v[9]) * transpose(orbitFrame({v[0], v[1], v[2]}, {v[3], v[4], v[5]}));
    return {attitude(1, 2), attitude(2, 3), attitude(3, 1)};
}

// Bit patterns, so that -0.0 differs from 0.0; every NaN as the one quiet NaN.
std::array<std::uint64_t, 3> bitsOf(const Angles& angles) {
    std::array<std::uint64_t, 3> bits{};
    for (std::size_t k = 0; k < 3; ++k) {
        bits[k] = std::isnan(angles[k]) ? 0x7FF8000000000000u : std::bit_cast<std::uint64_t>(angles[k]);
    }
    return bits;
}

NavValues valuesOf(std::array<double, 3> r, std::array<double, 3> v, std::array<double, 4> q) {
    return {r[0], r[1], r[2], v[0], v[1], v[2], q[0], q[1], q[2], q[3], 0.0, 0.0, 0.0};
}

std::vector<NavValues> testStates() {
    std::vector<NavValues> states;
    generator::PassSettings settings;
    generator::PassGenerator pass(settings);
    for (std::uint32_t second = 0; second < 6000; second += 37) states.push_back(pass.sampleAt(second).values);
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const NavValues special[] = {
        valuesOf({0.0, 0.0, 0.0}, {1.0, 7500.0, 3.0}, {0.1, 0.2, 0.3, 0.9}),          // no position
        valuesOf({7.0e6, 0.0, 0.0}, {7.0e6, 0.0, 0.0}, {0.0, 0.0, 0.0, 1.0}),         // v parallel to r
        valuesOf({-0.0, 7.0e6, -0.0}, {0.0, -0.0, 7500.0}, {-0.0, 0.0, -0.0, 1.0}),   // signed zeros
        valuesOf({7.0e6, 0.0, 0.0}, {0.0, 7500.0, 0.0}, {-0.5, -0.5, 0.5, 0.5}),      // exact frame
        valuesOf({1.0e300, -1.0e300, 1.0e300}, {1.0e-300, 1.0, -1.0}, {2.0, 0.0, 0.0, 0.0}),
        valuesOf({inf, 1.0, 1.0}, {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5, 0.5}),
        valuesOf({nan, 1.0, 1.0}, {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5, 0.5}),
        valuesOf({4.1e6, -3.3e6, 4.5e6}, {-2512.5, -6123.25, 2217.125}, {0.0, 0.0, 0.0, 0.0}),
        valuesOf({4.1e6, -3.3e6, 4.5e6}, {-2512.5, -6123.25, 2217.125}, {3.0, -4.0, 12.0, 84.0}),  // not unit
    };
    states.insert(states.end(), std::begin(special), std::end(special));
    return states;
}

TEST(AttitudeAnglesOfRecords, EqualTheMatrixComputationBitForBit) {
    const std::vector<NavValues> states = testStates();
    std::vector<Angles> batch(states.size());
    attitudeAnglesOfRecords(states, batch);
    for (std::size_t n = 0; n < states.size(); ++n) {
        const NavValues& v = states[n];
        const Angles reference = anglesThroughMatrices(v);
        EXPECT_EQ(bitsOf(attitudeAngles({v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8], v[9]})),
                  bitsOf(reference))
            << "state " << n;
        EXPECT_EQ(bitsOf(batch[n]), bitsOf(reference)) << "state " << n;
    }
}

TEST(AttitudeAnglesOfRecords, EveryCountAndEitherLaneGivesTheSameAngles) {
    // Odd counts leave one record alone in a pair; each state is tried in both lanes of a
    // pair and alone.
    const std::vector<NavValues> all = testStates();
    const std::vector<NavValues> states(all.end() - 9, all.end());
    for (std::size_t count = 0; count <= states.size(); ++count) {
        for (std::size_t shift = 0; shift < 2; ++shift) {
            std::vector<NavValues> values;
            if (shift == 1) values.push_back(all.front());
            values.insert(values.end(), states.begin(), states.begin() + static_cast<std::ptrdiff_t>(count));
            std::vector<Angles> angles(values.size() + 1, Angles{7.0, 7.0, 7.0});
            attitudeAnglesOfRecords(values, angles);
            for (std::size_t n = 0; n < values.size(); ++n) {
                EXPECT_EQ(bitsOf(angles[n]), bitsOf(anglesThroughMatrices(values[n])))
                    << count << " records, shift " << shift << ", record " << n;
            }
            // Only as many records as there are values are written.
            EXPECT_EQ(angles.back(), (Angles{7.0, 7.0, 7.0}));
        }
    }
}

}  // namespace
}  // namespace kova
