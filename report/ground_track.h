#pragma once
// The ground track of a pass for the quick-look map: geocentric latitude and longitude
// (degrees, longitude in [-180, 180)) of records taken at most every `sampleSeconds`, in
// stretches of real records and of filled records, broken where a long gap leaves no
// records and where the track wraps round at longitude 180. The ends of each long gap are
// kept as markers. Only the sampled records cost a sidereal angle.
#include <array>
#include <cstddef>
#include <vector>

#include "core/constants.h"

namespace kova::report {

struct TrackPoint {
    float longitude = 0.0f;  // [deg]
    float latitude = 0.0f;   // [deg]
};

struct TrackStretch {
    bool filled = false;  // made of interpolated records
    std::vector<TrackPoint> points;
};

class GroundTrack {
public:
    GroundTrack() = default;
    // `utOffset`: days from UT to the record time scale, as the orbit model takes them.
    GroundTrack(double sampleSeconds, double utOffset)
        : sampleDays_(sampleSeconds * kDaysPerSecond), utOffset_(utOffset) {}

    // Every record of the stream in order: Julian date, position [m], whether it is a fill
    // record, and whether a long gap lies before it. Inline: the common case is one
    // comparison.
    void add(double julianDate, const std::array<double, 3>& position, bool filled, bool afterLongGap) {
        const bool classChanges = haveLast_ && filled != lastFilled_;
        if (haveLast_ && !classChanges && !afterLongGap && julianDate < nextSample_ && julianDate >= lastSampled_) {
            lastJd_ = julianDate;
            lastPosition_ = position;
            lastPending_ = true;
            return;
        }
        addSampled(julianDate, position, filled, afterLongGap, classChanges);
    }
    // Ends the track with the last record of the pass.
    void finish();

    const std::vector<TrackStretch>& stretches() const { return stretches_; }
    const std::vector<TrackPoint>& gapEnds() const { return gapEnds_; }
    std::size_t pointCount() const;

private:
    void addSampled(double julianDate, const std::array<double, 3>& position, bool filled, bool afterLongGap,
                    bool classChanges);
    TrackPoint pointOf(double julianDate, const std::array<double, 3>& position) const;
    void append(const TrackPoint& point, bool filled, bool startStretch);

    // Julian dates a whole number of seconds apart differ by a little more or less than that
    // number of seconds in days; a sample is due this early, so that it falls on its record.
    static constexpr double kSampleTolerance = 0.001 * kDaysPerSecond;

    double sampleDays_ = 0.0;
    double utOffset_ = 0.0;
    bool haveLast_ = false;
    bool lastFilled_ = false;
    bool lastPending_ = false;  // the last record was skipped and may still be needed
    double lastJd_ = 0.0;
    std::array<double, 3> lastPosition_{};
    double lastSampled_ = 0.0;
    double nextSample_ = 0.0;
    std::vector<TrackStretch> stretches_;
    std::vector<TrackPoint> gapEnds_;
};

}  // namespace kova::report
