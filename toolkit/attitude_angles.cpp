#include "toolkit/attitude_angles.h"

#include "matrix/frame_matrices.h"
#include "packets/nav_record.h"

namespace kova {

std::array<double, 3> attitudeAngles(const std::array<double, 3>& position, const std::array<double, 3>& velocity,
                                     const std::array<double, 4>& quaternion) {
    const Matrix attitude = quaternionMatrix(quaternion[0], quaternion[1], quaternion[2], quaternion[3]) *
                            transpose(orbitFrame(position, velocity));
    return {attitude(1, 2), attitude(2, 3), attitude(3, 1)};
}

std::array<double, 3> attitudeAngles(const NavRecord& record) {
    return attitudeAngles(record.position(), record.velocity(), record.attitude());
}

}  // namespace kova
