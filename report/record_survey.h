#pragma once
// What the record pass finds in the records kova writes: gaps and their fills, duplicates
// and backward steps, attitude quality, the measured crossings of the equatorial plane, the
// revolution each belongs to, and the reduced chart data. It sees every record of the record
// stream once, in stream order, with the flag word and attitude angles kova writes with it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "packets/nav_record.h"
#include "report/crossing_locator.h"
#include "report/pass_report.h"
#include "time/time_tag.h"

namespace kova::report {

// Crossings of one revolution, in TAI93 seconds; NaN where none was measured.
struct RevolutionCrossings {
    PlaneCrossing ascending{kNotAvailable, kNotAvailable, kNotAvailable};
    PlaneCrossing descending{kNotAvailable, kNotAvailable, kNotAvailable};
};

struct SurveySettings {
    double firstJulianDate = 0.0;   // first and last navigation packet
    double lastJulianDate = 0.0;
    std::size_t columns = 1;        // pixel columns of the time charts
    double trackSampleSeconds = 1.0;
    double utOffset = 0.0;          // days from UT to the record scale, for the ground track
};

class RecordSurvey {
public:
    explicit RecordSurvey(const SurveySettings& settings);

    // One record as kova writes it, with the time tag the record stream gives it.
    void add(double julianDate, const TimeTag& tag, const NavValues& values, std::uint32_t qaFlags,
             const std::array<double, 3>& angles);
    // After the last record: also sets the span and coverage of navigation(), and makes a
    // largest norm departure not available when there was no record of its kind.
    void finish();

    // Gaps, duplicates and backward steps (their file offsets are still to be filled in),
    // record counts and the attitude figures.
    NavigationFacts& navigation() { return navigation_; }
    const AttitudeFacts& attitude() const { return attitude_; }
    // One entry per revolution as the revolution cutter opens them.
    const std::vector<RevolutionCrossings>& crossings() const { return crossings_; }
    ChartFacts& charts() { return charts_; }

private:
    void addReal(double julianDate, const TimeTag& tag, const NavValues& values, std::uint32_t qaFlags);
    void measureCrossing(double julianDate, const NavValues& values);
    std::size_t columnOf(double julianDate) const;

    SurveySettings settings_;
    double columnsPerDay_ = 0.0;
    NavigationFacts navigation_;
    AttitudeFacts attitude_;
    std::vector<RevolutionCrossings> crossings_;
    ChartFacts charts_;

    // The previous record of the stream, and the previous real one.
    bool previousWasReal_ = false;
    double previousZ_ = 0.0;  // as the revolution cutter keeps it: 0.0 before the first record
    bool haveReal_ = false;
    TimeTag previousRealTag_;
    double previousRealTai93_ = 0.0;
    std::array<double, 6> previousRealState_{};
    std::uint64_t realIndex_ = 0;  // index of the next real record among the navigation packets
    // For the span and coverage: the earliest and latest real time so far, and the real
    // records that were later than every real record before them.
    double earliestRealTai93_ = 0.0;
    double latestRealTai93_ = 0.0;
    std::uint64_t advancingRecords_ = 0;
    bool gapOpen_ = false;
    TimeTag gapStartTag_;  // tag of the record before the open gap
};

}  // namespace kova::report
