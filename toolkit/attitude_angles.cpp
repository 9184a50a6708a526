#include "toolkit/attitude_angles.h"

#include <algorithm>

#include "matrix/fixed_frame_rows.h"

namespace kova {

namespace {

using fixed_frame::Row3;

// A = Q * transpose(O), of which only A(1,2), A(2,3) and A(3,1) are kept; the rows hold
// exactly the values the Matrix versions of Q and O hold.
template <typename Value>
Row3<Value> anglesOf(const Row3<Value>& position, const Row3<Value>& velocity, const Value& q1, const Value& q2,
                     const Value& q3, const Value& q4) {
    using namespace fixed_frame;
    const Rows3x3<Value> q = quaternionMatrix(q1, q2, q3, q4);
    const Rows3x3<Value> frame = orbitFrame(position, velocity);
    return {productWithTransposeElement(q, frame, 0, 1), productWithTransposeElement(q, frame, 1, 2),
            productWithTransposeElement(q, frame, 2, 0)};
}

using nav_value::kPosition;
using nav_value::kQuaternion;
using nav_value::kVelocity;
using fixed_frame::DoublePair;
using Angles = std::array<double, 3>;

// The angles of two records at once, lane by lane; the one computation of every caller.
void anglesOfPair(const NavValues& a, const NavValues& b, Angles& anglesOfA, Angles& anglesOfB) {
    const auto pair = [&](std::size_t k) { return DoublePair(a[k], b[k]); };
    const Row3<DoublePair> result =
        anglesOf<DoublePair>({pair(kPosition), pair(kPosition + 1), pair(kPosition + 2)},
                             {pair(kVelocity), pair(kVelocity + 1), pair(kVelocity + 2)}, pair(kQuaternion),
                             pair(kQuaternion + 1), pair(kQuaternion + 2), pair(kQuaternion + 3));
    anglesOfA = {result[0].first(), result[1].first(), result[2].first()};
    anglesOfB = {result[0].second(), result[1].second(), result[2].second()};
}

}  // namespace

std::array<double, 3> attitudeAngles(const std::array<double, 3>& position, const std::array<double, 3>& velocity,
                                     const std::array<double, 4>& quaternion) {
    NavValues values{};
    for (std::size_t k = 0; k < 3; ++k) {
        values[kPosition + k] = position[k];
        values[kVelocity + k] = velocity[k];
    }
    for (std::size_t k = 0; k < 4; ++k) values[kQuaternion + k] = quaternion[k];
    // A single record takes both lanes of a pair: one computation serves every caller.
    Angles angles{};
    Angles unused{};
    anglesOfPair(values, values, angles, unused);
    return angles;
}

std::array<double, 3> attitudeAngles(const NavRecord& record) {
    return attitudeAngles(record.position(), record.velocity(), record.attitude());
}

void attitudeAnglesOfRecords(std::span<const NavValues> values, std::span<std::array<double, 3>> angles) {
    const std::size_t count = std::min(values.size(), angles.size());
    std::size_t n = 0;
    for (; n + 1 < count; n += 2) anglesOfPair(values[n], values[n + 1], angles[n], angles[n + 1]);
    if (n < count) {
        Angles unused{};
        anglesOfPair(values[n], values[n], angles[n], unused);
    }
}

}  // namespace kova
