#pragma once
// Where the spacecraft crossed the equatorial plane between two navigation records: z(t) is
// the cubic Hermite polynomial through both records' z and vz, its root is found by
// bisection, and x and y at that instant come from their own Hermite cubics. Over one second
// of orbit the cubic is off the true path by well under a millimetre, so the crossing is
// pinned far closer than the time tags' own resolution.
#include <array>

namespace kova::report {

// One end of the interval: time [s, any origin], position [m], velocity [m/s].
struct StateAtTime {
    double time = 0.0;
    std::array<double, 3> position{};
    std::array<double, 3> velocity{};
};

struct PlaneCrossing {
    double time = 0.0;   // same scale as the states' times [s]
    double x = 0.0;      // [m]
    double y = 0.0;      // [m]
};

// The crossing between `before` and `after` (after.time > before.time), which must have z of
// opposite signs or a zero at one end: z(before) < 0 <= z(after) northward, or
// z(before) >= 0 > z(after) southward. Bisection keeps the sign change bracketed, so the
// result lies between the two records whatever the velocities say.
PlaneCrossing locatePlaneCrossing(const StateAtTime& before, const StateAtTime& after);

}  // namespace kova::report
