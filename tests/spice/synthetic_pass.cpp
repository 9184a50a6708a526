#include "tests/spice/synthetic_pass.h"

#include <cmath>

#include "spice/naif_ids.h"

namespace kova::test {

namespace {
constexpr double kRadiusKm = 7000.0;
constexpr double kMeanMotion = 1.0780e-3;   // rad/s, about that of a 7000 km orbit
constexpr double kInclination = 1.7;        // rad
constexpr double kTurnRate = 2.0e-3;        // rad/s about the fixed axis below
constexpr std::array<double, 3> kTurnAxis = {0.48, 0.6, 0.64};  // unit
}  // namespace

std::array<double, 6> passStateKm(double t) {
    const double u = kMeanMotion * t;
    const double c = std::cos(u), s = std::sin(u), ci = std::cos(kInclination), si = std::sin(kInclination);
    const double v = kRadiusKm * kMeanMotion;
    return {kRadiusKm * c, kRadiusKm * s * ci, kRadiusKm * s * si, -v * s, v * c * ci, v * c * si};
}

std::array<double, 4> passNavigationQuaternion(double t) {
    const double half = 0.5 * kTurnRate * t + 0.3;
    return {kTurnAxis[0] * std::sin(half), kTurnAxis[1] * std::sin(half), kTurnAxis[2] * std::sin(half), std::cos(half)};
}

SpiceInputRecord passRecord(std::uint64_t number, const TimeTag& tag, std::uint32_t qaFlags) {
    SpiceInputRecord record;
    record.recordNumber = number;
    record.tag = tag;
    const double t = secondsBetween(kPassStart, tag);
    const std::array<double, 6> state = passStateKm(t);
    for (int i = 0; i < 3; ++i) {
        record.position[i] = state[i] * 1000.0;
        record.velocity[i] = state[i + 3] * 1000.0;
    }
    record.quaternion = passNavigationQuaternion(t);
    record.qaFlags = qaFlags;
    return record;
}

SpiceKernelSettings maruSettings(const std::string& packetFileName) {
    SpiceKernelSettings settings;
    settings.spacecraftId = spacecraftIdFromNorad(90957);
    settings.spacecraftIdSource = spacecraftIdFromNoradSource(90957);
    settings.bodyName = "MARU";
    settings.programVersion = "1.0.0";
    settings.packetFileName = packetFileName;
    return settings;
}

}  // namespace kova::test
