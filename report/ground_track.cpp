#include "report/ground_track.h"

#include <cmath>

#include "core/constants.h"
#include "time/sidereal_angle.h"

namespace kova::report {
namespace {

constexpr double kHalfTurnDegrees = 180.0;
constexpr double kTurnDegrees = 360.0;

// Longitude into [-180, 180) degrees.
double wrappedLongitude(double degrees) {
    double wrapped = std::fmod(degrees + kHalfTurnDegrees, kTurnDegrees);
    if (wrapped < 0.0) wrapped += kTurnDegrees;
    return wrapped - kHalfTurnDegrees;
}

}  // namespace

std::size_t GroundTrack::pointCount() const {
    std::size_t count = 0;
    for (const TrackStretch& stretch : stretches_) count += stretch.points.size();
    return count;
}

TrackPoint GroundTrack::pointOf(double julianDate, const std::array<double, 3>& position) const {
    const double radius = std::sqrt(position[0] * position[0] + position[1] * position[1] + position[2] * position[2]);
    const double latitude = std::asin(position[2] / radius) * kDegreesPerRadian;
    const double rightAscension = std::atan2(position[1], position[0]);
    const double longitude = (rightAscension - gast(julianDate - utOffset_)) * kDegreesPerRadian;
    return TrackPoint{static_cast<float>(wrappedLongitude(longitude)), static_cast<float>(latitude)};
}

void GroundTrack::append(const TrackPoint& point, bool filled, bool startStretch) {
    if (!std::isfinite(point.longitude) || !std::isfinite(point.latitude)) return;
    if (!startStretch && !stretches_.empty() && stretches_.back().filled == filled && !stretches_.back().points.empty()) {
        // Across longitude 180 the line would run the width of the map: break it there.
        const TrackPoint& last = stretches_.back().points.back();
        startStretch = std::fabs(point.longitude - last.longitude) > kHalfTurnDegrees;
    } else {
        startStretch = true;
    }
    if (startStretch) stretches_.push_back(TrackStretch{filled, {}});
    stretches_.back().points.push_back(point);
}

void GroundTrack::addSampled(double julianDate, const std::array<double, 3>& position, bool filled,
                             bool afterLongGap, bool classChanges) {
    const TrackPoint point = pointOf(julianDate, position);
    if (haveLast_ && (classChanges || afterLongGap)) {
        const TrackPoint last = pointOf(lastJd_, lastPosition_);
        if (lastPending_) append(last, lastFilled_, false);
        if (afterLongGap) {
            gapEnds_.push_back(last);
            gapEnds_.push_back(point);
            append(point, filled, true);
        } else {
            // The stretch of the new kind starts where the other one ended.
            append(last, filled, true);
            append(point, filled, false);
        }
    } else {
        append(point, filled, !haveLast_);
    }
    haveLast_ = true;
    lastFilled_ = filled;
    lastPending_ = false;
    lastJd_ = julianDate;
    lastPosition_ = position;
    lastSampled_ = julianDate;
    nextSample_ = julianDate + sampleDays_ - kSampleTolerance;
}

void GroundTrack::finish() {
    if (lastPending_) append(pointOf(lastJd_, lastPosition_), lastFilled_, false);
    lastPending_ = false;
}

}  // namespace kova::report
