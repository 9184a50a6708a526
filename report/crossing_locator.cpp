#include "report/crossing_locator.h"

namespace kova::report {
namespace {

// Halvings of the unit interval: 2^-50 of one second is far below a microsecond.
constexpr int kBisections = 50;

// The cubic Hermite basis on s in [0, 1] for values p0, p1 and slopes m0, m1 already scaled
// by the interval length.
double hermite(double s, double p0, double m0, double p1, double m1) {
    const double s2 = s * s;
    const double s3 = s2 * s;
    return (2.0 * s3 - 3.0 * s2 + 1.0) * p0 + (s3 - 2.0 * s2 + s) * m0 + (-2.0 * s3 + 3.0 * s2) * p1 +
           (s3 - s2) * m1;
}

}  // namespace

PlaneCrossing locatePlaneCrossing(const StateAtTime& before, const StateAtTime& after) {
    const double length = after.time - before.time;
    auto component = [&](int k, double s) {
        return hermite(s, before.position[k], before.velocity[k] * length, after.position[k],
                       after.velocity[k] * length);
    };
    // The end whose z has the sign of `before` moves towards the root.
    const bool startsNegative = before.position[2] < 0.0;
    double low = 0.0;
    double high = 1.0;
    for (int i = 0; i < kBisections; ++i) {
        const double middle = 0.5 * (low + high);
        const bool middleNegative = component(2, middle) < 0.0;
        if (middleNegative == startsNegative) {
            low = middle;
        } else {
            high = middle;
        }
    }
    const double s = 0.5 * (low + high);
    return PlaneCrossing{before.time + s * length, component(0, s), component(1, s)};
}

}  // namespace kova::report
