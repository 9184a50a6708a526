#include "orbit/orbit_model.h"

#include <cmath>
#include <ostream>

#include "core/canonical_nan.h"
#include "core/checked_int32.h"
#include "core/constants.h"
#include "orbit/angle_range.h"
#include "orbit/kepler_from_state.h"
#include "time/julian_date.h"
#include "time/sidereal_angle.h"
#include "time/ut_correction.h"

namespace kova {
namespace {

// Two-digit element-set years: 00-49 are 2000-2049, 50-99 are 1950-1999.
inline constexpr double kCenturyPivot = 50.0;

std::int32_t calendarYear(double twoDigitYear) {
    return truncateToInt32(twoDigitYear < kCenturyPivot ? 2000.0 + twoDigitYear
                                                        : 1900.0 + twoDigitYear);
}

// A sum of orbit numbers that cannot be represented gives 0, like every other conversion.
std::int32_t addRevolutions(std::int32_t base, std::int32_t count) {
    const std::int64_t sum = static_cast<std::int64_t>(base) + count;
    if (sum < INT32_MIN || sum > INT32_MAX) return 0;
    return static_cast<std::int32_t>(sum);
}

}  // namespace

double nodeLongitude(double rightAscension, double siderealAngle) {
    double longitude = rightAscension - siderealAngle + kPi;
    if (longitude < 0.0) longitude += kTwoPi;
    return longitude;
}

OrbitModel::OrbitModel(const TleRecord& tle)
    : epochRev_(truncateToInt32(tle.revolutionNumber())),
      meanMotion_(tle.meanMotion() * kMinutesPerDay),
      epochRaan_(tle.rightAscension()) {
    usable_ = meanMotion_ != 0.0 && std::isfinite(meanMotion_);

    JulianDate utEpoch;
    utEpoch.fromYearDay(calendarYear(tle.epochYear()), 0,
                        (tle.epochDay() - 1.0) * kSecondsPerDay);
    utOffset_ = utCorrection(utEpoch.julianDate());
    epoch_ = utEpoch.julianDate() + utOffset_;

    epochArgLat_ = tle.argumentOfPerigee() + tle.meanAnomaly();
    // The last model node at or before the epoch: the argument of latitude taken within
    // one turn, or a set with omega + M of 2pi or more would count one revolution too many.
    if (usable_) refNodeTime_ = epoch_ - reduceToOneTurn(epochArgLat_) / meanMotion_;
}

double OrbitModel::revolutionsSinceReference(double t) const {
    return (t - refNodeTime_) * meanMotion_ / kTwoPi;
}

std::int32_t OrbitModel::revAt(double t) const {
    if (t == 0.0 || !usable_) return 0;
    return addRevolutions(epochRev_, truncateToInt32(std::floor(revolutionsSinceReference(t))));
}

void OrbitModel::apply(const RevEntry& entry, std::size_t passIndex) {
    curTime_ = entry.record.julianDate();
    lastTime_ = entry.lastTime;
    elements_ = keplerFromState(entry.record.position(), entry.record.velocity());
    hasElements_ = true;
    curArgLat_ = elements_[4] + elements_[5];
    if (curArgLat_ > kTwoPi) curArgLat_ -= kTwoPi;

    if (!usable_) {
        ascNodeTime_ = 0.0;
        descNodeTime_ = 0.0;
        curRevolutions_ = 0;
        return;
    }
    // The model's nodes run tens of seconds off the real crossings, so a revolution cut
    // at a real crossing takes the nearest model node rather than the one before it.
    const double revolutions = revolutionsSinceReference(curTime_);
    const double wholeRevolutions =
        passIndex == 0 ? std::floor(revolutions) : std::floor(revolutions + 0.5);
    curRevolutions_ = truncateToInt32(wholeRevolutions);
    ascNodeTime_ = wholeRevolutions * kTwoPi / meanMotion_ + refNodeTime_;
    descNodeTime_ = ascNodeTime_ + kPi / meanMotion_;
}

std::int32_t OrbitModel::revAtCur() const {
    if (curTime_ == 0.0 || !usable_) return 0;
    return addRevolutions(epochRev_, curRevolutions_);
}

std::int32_t OrbitModel::revAtLast() const { return revAt(lastTime_); }

double OrbitModel::descNodeLongitude() const {
    if (descNodeTime_ == 0.0) return 0.0;
    const double rightAscension = epochRaan_ + kNodeDriftPerDay * (descNodeTime_ - epoch_);
    const double siderealAngle = gast(descNodeTime_ - utOffset_);
    return nodeLongitude(rightAscension, siderealAngle);
}

KeplerElements OrbitModel::headerElements() const {
    if (!hasElements_) return KeplerElements{};
    KeplerElements result = elements_;
    if (usable_) result[5] = elements_[5] - (curArgLat_ - epochArgLat_);
    return result;
}

void OrbitModel::report(std::ostream& out) const {
    const std::int32_t beginRevolution = revAtCur();
    const std::int32_t endRevolution = revAtLast();
    const double longitude = descNodeLongitude();
    const KeplerElements elements = headerElements();

    // A NaN prints as "nan" whatever sign the arithmetic gave it.
    out << "\n";
    out << "Beg Orbit Rev = " << beginRevolution << "  Time = " << withCanonicalNan(curTime_) << "\n";
    out << "End Orbit Rev = " << endRevolution << "  Time = " << withCanonicalNan(lastTime_) << "\n";
    out << "Ascending  Node Time = " << withCanonicalNan(ascNodeTime_) << "\n";
    out << "Descending Node Time = " << withCanonicalNan(descNodeTime_) << "\n";
    out << "Descending Longitude = " << withCanonicalNan(longitude) << "\n";
    out << "Keplerian  Elements  =\n    ";
    for (const double value : elements) out << withCanonicalNan(value) << ' ';
    out << ' ' << std::endl;
}

}  // namespace kova
