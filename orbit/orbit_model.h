#pragma once
// Orbit numbers, node crossing times and the descending-node longitude of the pass's
// revolutions, from a mean-motion model seeded with the element set.
#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "orbit/kepler_elements.h"
#include "orbit/sat_pass.h"
#include "orbit/tle_record.h"

namespace kova {

// Drift of the ascending node's right ascension assumed by the model (rad/day).
inline constexpr double kNodeDriftPerDay = 0.01728;

// Geographic longitude of a node from its right ascension and the sidereal angle:
// Omega - theta + pi, plus 2pi once when negative (no reduction from above).
double nodeLongitude(double rightAscension, double siderealAngle);

class OrbitModel {
public:
    // Seeds the model from the element set. A mean motion of 0 (no element set read) or
    // one that is not finite leaves the model unusable: orbit numbers 0, node times and
    // longitudes 0.0, header elements unadjusted.
    explicit OrbitModel(const TleRecord& tle);

    // Loads one revolution. The first entry of a pass (`passIndex` 0) may start anywhere
    // in its orbit and takes the model node at or before its first record; every later
    // entry starts just after a real northward crossing and takes the nearest model node.
    void apply(const RevEntry& entry, std::size_t passIndex);

    bool usable() const { return usable_; }
    std::int32_t revAtCur() const;
    std::int32_t revAtLast() const;
    double ascNode() const { return ascNodeTime_; }
    double descNode() const { return descNodeTime_; }
    double descNodeLongitude() const;
    // Elements of the applied revolution with the mean anomaly shifted so that argument of
    // perigee plus mean anomaly is the element set's value; zeros before any apply.
    KeplerElements headerElements() const;

    double curTime() const { return curTime_; }
    double lastTime() const { return lastTime_; }
    double epoch() const { return epoch_; }
    double refNodeTime() const { return refNodeTime_; }
    double utOffset() const { return utOffset_; }

    // The -diag_2 block of the applied revolution.
    void report(std::ostream& out) const;

private:
    // Orbit number at time t; 0 when t is exactly 0.0 ("not set").
    std::int32_t revAt(double t) const;
    // Mean revolutions since the reference node (negative before it).
    double revolutionsSinceReference(double t) const;

    double curTime_ = 0.0;
    double lastTime_ = 0.0;
    double ascNodeTime_ = 0.0;
    double descNodeTime_ = 0.0;
    std::int32_t epochRev_ = 0;
    double epoch_ = 0.0;
    double refNodeTime_ = 0.0;
    double meanMotion_ = 0.0;   // rad/day
    double epochArgLat_ = 0.0;  // argument of perigee + mean anomaly at epoch, unreduced
    double curArgLat_ = 0.0;
    double epochRaan_ = 0.0;
    double utOffset_ = 0.0;     // days from UT to the record time scale at epoch
    KeplerElements elements_{};
    bool hasElements_ = false;
    bool usable_ = false;
    std::int32_t curRevolutions_ = 0;  // whole model revolutions from the reference node
};

}  // namespace kova
