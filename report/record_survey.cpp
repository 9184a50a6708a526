#include "report/record_survey.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "time/time_scales.h"
#include "toolkit/layout.h"
#include "toolkit/record_stream.h"

namespace kova::report {
namespace {

constexpr std::uint32_t bit(unsigned position) { return std::uint32_t{1} << position; }
constexpr std::uint32_t kRepFlag = bit(qa_flags::kRep);
constexpr std::uint32_t kGapBeforeFlags = bit(qa_flags::kSgb) | bit(qa_flags::kLgb);
constexpr std::uint32_t kShortGapAfterFlag = bit(qa_flags::kSgf);
constexpr std::uint32_t kGapAfterFlags = bit(qa_flags::kSgf) | bit(qa_flags::kLgf);
constexpr std::uint32_t kLongGapBeforeFlag = bit(qa_flags::kLgb);

double normDeparture(const NavValues& values) {
    const double q1 = values[nav_value::kQuaternion];
    const double q2 = values[nav_value::kQuaternion + 1];
    const double q3 = values[nav_value::kQuaternion + 2];
    const double q4 = values[nav_value::kQuaternion + 3];
    return std::fabs(std::sqrt(q1 * q1 + q2 * q2 + q3 * q3 + q4 * q4) - 1.0);
}

}  // namespace

RecordSurvey::RecordSurvey(const SurveySettings& settings) : settings_(settings) {
    const double spanDays = settings.lastJulianDate - settings.firstJulianDate;
    columnsPerDay_ = spanDays > 0.0 ? static_cast<double>(settings.columns) / spanDays : 0.0;
    charts_.timeSeries = ColumnRanges(settings.columns, chart_series::kCount);
    charts_.groundTrack = GroundTrack(settings.trackSampleSeconds, settings.utOffset);
}

std::size_t RecordSurvey::columnOf(double julianDate) const {
    const double position = (julianDate - settings_.firstJulianDate) * columnsPerDay_;
    // Backward steps may reach before the first packet's time, and the last packet's time
    // itself is the right edge of the last column.
    if (!(position > 0.0)) return 0;
    const auto column = static_cast<std::size_t>(std::min(position, static_cast<double>(settings_.columns - 1)));
    return column;
}

void RecordSurvey::add(double julianDate, const TimeTag& tag, const NavValues& values, std::uint32_t qaFlags,
                       const std::array<double, 3>& angles) {
    const bool filled = (qaFlags & kRepFlag) != 0;
    const double z = values[nav_value::kPosition + 2];
    // The revolutions as the revolution cutter opens them: at the first record and at every
    // record with z >= 0 after one with z < 0, filled records included.
    if (navigation_.records == 0 || (z >= 0.0 && previousZ_ < 0.0)) crossings_.emplace_back();
    ++navigation_.records;

    if (filled) {
        ++navigation_.fillRecords;
        if (gapOpen_) ++navigation_.gaps.back().fillRecords;
        const double departure = normDeparture(values);
        if (departure > attitude_.largestNormDepartureFilled) attitude_.largestNormDepartureFilled = departure;
    } else {
        addReal(julianDate, tag, values, qaFlags);
        const double departure = normDeparture(values);
        if (departure > attitude_.largestNormDepartureReal) attitude_.largestNormDepartureReal = departure;
    }
    if (!(std::isfinite(angles[0]) && std::isfinite(angles[1]) && std::isfinite(angles[2]))) {
        ++attitude_.nonFiniteAngles;
    }

    const std::size_t column = columnOf(julianDate);
    const double x = values[nav_value::kPosition];
    const double y = values[nav_value::kPosition + 1];
    charts_.timeSeries.add(column, chart_series::kHeight, std::sqrt(x * x + y * y + z * z) - kEquatorialRadius);
    for (std::size_t k = 0; k < 3; ++k) {
        charts_.timeSeries.add(column, chart_series::kFirstAngle + k, angles[k] * kDegreesPerRadian);
    }
    charts_.groundTrack.add(julianDate, {x, y, z}, filled, (qaFlags & kLongGapBeforeFlag) != 0);

    previousZ_ = z;
    previousWasReal_ = !filled;
}

void RecordSurvey::addReal(double julianDate, const TimeTag& tag, const NavValues& values, std::uint32_t qaFlags) {
    const double time = tai93FromJulianDate(julianDate);
    ++navigation_.realRecords;
    if (!haveReal_ || time > latestRealTai93_) {
        ++advancingRecords_;
        latestRealTai93_ = time;
    }
    if (!haveReal_ || time < earliestRealTai93_) earliestRealTai93_ = time;
    if (haveReal_) {
        // Steps between time tags, in seconds, as the record stream classes its gaps.
        const double difference = secondsBetween(previousRealTag_, tag);
        if (difference <= 0.0) {
            const bool duplicate = difference == 0.0;
            std::uint64_t& count = duplicate ? navigation_.duplicates : navigation_.backwardSteps;
            std::vector<StepFacts>& listed = duplicate ? navigation_.firstDuplicates : navigation_.firstBackwardSteps;
            ++count;
            if (listed.size() < kListedSteps) listed.push_back(StepFacts{time, time - previousRealTai93_, realIndex_, 0});
        } else if (previousWasReal_ && difference <= record_stream::kShortGapSeconds) {
            measureCrossing(time, values);
        }
    }
    // kova's flags mark the gaps: sgb/lgb on the record after one, sgf/lgf on the record before.
    // The end of a gap lies the exact tag step after its start, so that its length (end -
    // start) is the step the stream classed it by; the record's own stored time differs from
    // it by less than the 40 us grain of a Julian date.
    if ((qaFlags & kGapBeforeFlags) != 0 && gapOpen_) {
        GapFacts& gap = navigation_.gaps.back();
        gap.end = gap.start + secondsBetween(gapStartTag_, tag);
        gapOpen_ = false;
    }
    if ((qaFlags & kGapAfterFlags) != 0) {
        const bool shortGap = (qaFlags & kShortGapAfterFlag) != 0;
        navigation_.gaps.push_back(GapFacts{time, kNotAvailable, shortGap, 0});
        ++(shortGap ? navigation_.filledGaps : navigation_.flaggedGaps);
        gapOpen_ = true;
        gapStartTag_ = tag;
    }
    haveReal_ = true;
    previousRealTag_ = tag;
    previousRealTai93_ = time;
    for (std::size_t k = 0; k < 6; ++k) previousRealState_[k] = values[k];
    ++realIndex_;
}

void RecordSurvey::measureCrossing(double time, const NavValues& values) {
    const double zBefore = previousRealState_[2];
    const double zAfter = values[nav_value::kPosition + 2];
    const bool northward = zBefore < 0.0 && zAfter >= 0.0;
    const bool southward = zBefore >= 0.0 && zAfter < 0.0;
    if (!northward && !southward) return;
    const StateAtTime before{previousRealTai93_,
                             {previousRealState_[0], previousRealState_[1], previousRealState_[2]},
                             {previousRealState_[3], previousRealState_[4], previousRealState_[5]}};
    const StateAtTime after{time,
                            {values[0], values[1], values[2]},
                            {values[3], values[4], values[5]}};
    RevolutionCrossings& revolution = crossings_.back();
    PlaneCrossing& slot = northward ? revolution.ascending : revolution.descending;
    // The first crossing of each kind in a revolution is its node.
    if (std::isnan(slot.time)) slot = locatePlaneCrossing(before, after);
}

void RecordSurvey::finish() {
    charts_.groundTrack.finish();
    // Time tags may repeat or step back: the span runs from the earliest to the latest, and
    // only records that reach past every earlier one add to the coverage, which a pass with
    // more than one record a second would otherwise take above 1.
    if (haveReal_) {
        navigation_.span = latestRealTai93_ - earliestRealTai93_;
        navigation_.coverage = std::min(1.0, static_cast<double>(advancingRecords_) / (navigation_.span + 1.0));
    }
    if (navigation_.realRecords == 0) attitude_.largestNormDepartureReal = kNotAvailable;
    if (navigation_.fillRecords == 0) attitude_.largestNormDepartureFilled = kNotAvailable;
}

}  // namespace kova::report
