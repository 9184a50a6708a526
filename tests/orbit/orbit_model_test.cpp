// Orbit numbers, node times, longitudes and header elements of the revolution model, and
// the per-pass products built on it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/constants.h"
#include "orbit/constants.h"
#include "orbit/kepler_from_state.h"
#include "orbit/orbit_model.h"
#include "orbit/orbit_pass.h"
#include "orbit/revolution_cutter.h"
#include "orbit/tle_record.h"
#include "orbit_test_states.h"
#include "time/julian_date.h"
#include "time/sidereal_angle.h"
#include "time/ut_correction.h"

namespace kova {
namespace {

using orbit_test::revEntryAt;
using orbit_test::State;
using orbit_test::stateFromElements;

constexpr double kRevolutionsPerDay = 14.57;
constexpr double kSecond = 1.0 / 86400.0;
// Node times are sums of a multiple of the period and a Julian date near 2.45e6 days,
// whose last place is 4.7e-10 days (40 us); a node chosen wrongly is off by a period.
constexpr double kNodeTimeTolerance = 1e-8;

TleRecord elementSet(double perigeeDegrees, double meanAnomalyDegrees) {
    TleRecord tle;
    tle.values[tle_field::kMeanMotion] = kRevolutionsPerDay * kTwoPi / kMinutesPerDay;
    tle.values[tle_field::kEccentricity] = 0.00125;
    tle.values[tle_field::kInclination] = 98.2 * kRadiansPerDegree;
    tle.values[tle_field::kRightAscension] = 150.0 * kRadiansPerDegree;
    tle.values[tle_field::kArgumentOfPerigee] = perigeeDegrees * kRadiansPerDegree;
    tle.values[tle_field::kMeanAnomaly] = meanAnomalyDegrees * kRadiansPerDegree;
    tle.values[tle_field::kCatalogueNumber] = 12345.0;
    tle.values[tle_field::kEpochYear] = 3.0;
    tle.values[tle_field::kEpochDay] = 211.5;  // 2003-07-30 12:00 UT
    tle.values[tle_field::kRevolutionNumber] = 1234.0;
    return tle;
}

const TleRecord kElementSet = elementSet(100.0, 290.0);  // omega + M = 390 degrees
const double kPeriod = kTwoPi / (kRevolutionsPerDay * kTwoPi / kMinutesPerDay * kMinutesPerDay);
const State kSomeState = stateFromElements(7080000.0, 0.001, 1.7, 2.6, 1.0, 0.5);

TEST(OrbitModel, EpochFromTheTwoDigitYearAndDayOfYear) {
    struct Case {
        double year, day, utJulianDate;
    };
    const Case cases[] = {
        {3.0, 211.5, 2452851.0},   // 2003-07-30 12:00
        {99.0, 1.25, 2451179.75},  // 1999-01-01 06:00
        {49.0, 1.0, 2469442.5},    // 2049-01-01
        {50.0, 1.0, 2433282.5},    // 1950-01-01
    };
    for (const Case& c : cases) {
        TleRecord tle = kElementSet;
        tle.values[tle_field::kEpochYear] = c.year;
        tle.values[tle_field::kEpochDay] = c.day;
        const OrbitModel model(tle);
        EXPECT_EQ(model.utOffset(), utCorrection(c.utJulianDate)) << c.year;
        EXPECT_EQ(model.epoch(), c.utJulianDate + model.utOffset()) << c.year;
    }
    // About 36.2 s from UT to the record time scale in mid-2003.
    EXPECT_NEAR(OrbitModel(kElementSet).utOffset() * 86400.0, 36.2, 0.05);
}

TEST(OrbitModel, ReferenceNodeIsTheLastNodeAtOrBeforeTheEpoch) {
    struct Case {
        double perigee, meanAnomaly, argumentOfLatitudeWithinTurn;  // degrees
    };
    const Case cases[] = {
        {100.0, 200.0, 300.0},
        {100.0, 290.0, 30.0},  // omega + M of more than a turn
        {0.0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        const OrbitModel model(elementSet(c.perigee, c.meanAnomaly));
        const double sinceNode = (model.epoch() - model.refNodeTime()) / kPeriod * 360.0;
        EXPECT_NEAR(sinceNode, c.argumentOfLatitudeWithinTurn, 1e-6) << c.meanAnomaly;
    }
}

struct NodeCase {
    double revolutionsAfterReference;  // of the entry's first record
    std::size_t passIndex;
    std::int32_t expectedRevolutions;
};

TEST(OrbitModel, OrbitNumbersAndNodeTimes) {
    const NodeCase cases[] = {
        // The first entry of a pass takes the node at or before its first record...
        {2.3, 0, 2},
        {2.999, 0, 2},
        {3.001, 0, 3},
        {0.0001, 0, 0},
        // ...also before the reference node, where revolution counts are negative.
        {-0.25, 0, -1},
        {-1.7, 0, -2},
        // Later entries start at a real crossing and take the nearest node.
        {2.999, 1, 3},
        {2.6, 1, 3},
        {2.4, 5, 2},
        {3.01, 1, 3},
        {-0.4, 1, 0},
        {-0.6, 1, -1},
    };
    OrbitModel model(kElementSet);
    for (const NodeCase& c : cases) {
        const double first = model.refNodeTime() + c.revolutionsAfterReference * kPeriod;
        const double last = first + 0.5 * kPeriod;
        model.apply(revEntryAt(first, kSomeState, last), c.passIndex);
        const double expectedNode = model.refNodeTime() + c.expectedRevolutions * kPeriod;
        const std::string label = std::to_string(c.revolutionsAfterReference);
        EXPECT_EQ(model.revAtCur(), 1234 + c.expectedRevolutions) << label;
        EXPECT_NEAR(model.ascNode(), expectedNode, kNodeTimeTolerance) << label;
        EXPECT_NEAR(model.descNode(), expectedNode + 0.5 * kPeriod, kNodeTimeTolerance) << label;
        EXPECT_EQ(model.curTime(), first);
        EXPECT_EQ(model.lastTime(), last);
        // The orbit number at the end always counts the nodes at or before it.
        EXPECT_EQ(model.revAtLast(),
                  1234 + static_cast<std::int32_t>(std::floor(c.revolutionsAfterReference + 0.5)))
            << label;
    }
}

TEST(OrbitModel, TimeZeroHasOrbitNumberZero) {
    OrbitModel model(kElementSet);
    model.apply(revEntryAt(0.0, kSomeState, 0.0), 0);
    EXPECT_EQ(model.revAtCur(), 0);
    EXPECT_EQ(model.revAtLast(), 0);
}

TEST(OrbitModel, OrbitNumbersThatDoNotFitAreZero) {
    TleRecord tle = kElementSet;
    tle.values[tle_field::kRevolutionNumber] = 2147483000.0;
    OrbitModel model(tle);
    const double first = model.refNodeTime() + 1000.3 * kPeriod;
    model.apply(revEntryAt(first, kSomeState, first + 1e9), 0);
    EXPECT_EQ(model.revAtCur(), 0);  // 2147483000 + 1000 is past 2^31 - 1
    // 1.457e10 revolutions a billion days later do not fit a count: the count is 0.
    EXPECT_EQ(model.revAtLast(), 2147483000);
}

TEST(OrbitModel, DescendingNodeLongitudeIsRaisedOnceFromBelowOnly) {
    // Steer the element set's right ascension so that the longitude comes out at a chosen
    // value; the node time does not depend on it. One rounding of each term remains.
    OrbitModel probe(kElementSet);
    const double first = probe.refNodeTime() + 4.2 * kPeriod;
    const RevEntry entry = revEntryAt(first, kSomeState, first);
    probe.apply(entry, 0);
    const double descendingNode = probe.descNode();
    const double siderealAngle = gast(descendingNode - probe.utOffset());
    const double drift = kNodeDriftPerDay * (descendingNode - probe.epoch());
    struct Case {
        double longitude, expected;
    };
    const Case cases[] = {{-0.5, kTwoPi - 0.5}, {7.0, 7.0}, {1.0, 1.0}, {-7.0, kTwoPi - 7.0}};
    for (const Case& c : cases) {
        TleRecord tle = kElementSet;
        tle.values[tle_field::kRightAscension] = c.longitude - kPi + siderealAngle - drift;
        OrbitModel model(tle);
        model.apply(entry, 0);
        EXPECT_NEAR(model.descNodeLongitude(), c.expected, 1e-12) << c.longitude;
    }
    EXPECT_EQ(nodeLongitude(1.0, 1.0), kPi);
    EXPECT_EQ(nodeLongitude(-kPi, 0.5), -0.5 + kTwoPi);
}

TEST(OrbitModel, HeaderElementsCarryTheEpochArgumentOfLatitude) {
    struct Case {
        double perigee;  // rad; the state's omega + M is above 2pi for the first
        double extraTurn;
    };
    const Case cases[] = {{5.5, kTwoPi}, {1.0, 0.0}};
    for (const Case& c : cases) {
        const State state = stateFromElements(7200000.0, 0.05, 1.7, 2.6, c.perigee, 1.2);
        OrbitModel model(kElementSet);
        EXPECT_EQ(model.headerElements(), KeplerElements{});  // nothing applied yet
        model.apply(revEntryAt(2452851.3, state, 2452851.3), 0);
        const KeplerElements exact = keplerFromState(state.position, state.velocity);
        const KeplerElements header = model.headerElements();
        for (int n = 0; n < 5; ++n) EXPECT_EQ(header[n], exact[n]);
        const double epochArgumentOfLatitude =
            kElementSet.argumentOfPerigee() + kElementSet.meanAnomaly();
        EXPECT_NEAR(header[4] + header[5], epochArgumentOfLatitude + c.extraTurn, 1e-12);
    }
}

// No element set read (all zeros), or one whose mean motion is unusable.
std::vector<TleRecord> unusableElementSets() {
    TleRecord nanMotion = kElementSet;
    nanMotion.values[tle_field::kMeanMotion] = std::nan("");
    TleRecord infiniteMotion = kElementSet;
    infiniteMotion.values[tle_field::kMeanMotion] = std::numeric_limits<double>::infinity();
    TleRecord zeroMotion = kElementSet;
    zeroMotion.values[tle_field::kMeanMotion] = 0.0;
    return {TleRecord{}, nanMotion, infiniteMotion, zeroMotion};
}

SatPass twoEntryPass(const State& state) {
    return {revEntryAt(2452850.5, state, 2452850.5 + 3000.0 * kSecond),
            revEntryAt(2452850.5 + 3001.0 * kSecond, state, 2452850.5 + 6000.0 * kSecond)};
}

struct MetadataRecord {
    std::int32_t orbitNumber;
    double ascendingNode, descendingNode, longitude;
};

std::vector<MetadataRecord> metadataOf(const SatPass& pass, const TleRecord& tle,
                                       bool reportRevolutions, std::ostream& err) {
    std::vector<MetadataRecord> records;
    revolutionRecords(pass, tle, reportRevolutions, err,
                      [&](std::int32_t orbit, double ascending, double descending,
                          double longitude) {
                          records.push_back({orbit, ascending, descending, longitude});
                      });
    return records;
}

TEST(OrbitModel, NoUsableElementSetGivesZerosAndUnadjustedElements) {
    const SatPass pass = twoEntryPass(kSomeState);
    const KeplerElements firstElements =
        keplerFromState(kSomeState.position, kSomeState.velocity);
    for (const TleRecord& tle : unusableElementSets()) {
        const std::string label = std::to_string(tle.meanMotion());
        OrbitModel model(tle);
        EXPECT_FALSE(model.usable()) << label;
        for (std::size_t i = 0; i < pass.size(); ++i) {
            model.apply(pass[i], i);
            EXPECT_EQ(model.revAtCur(), 0) << label;
            EXPECT_EQ(model.revAtLast(), 0) << label;
            EXPECT_EQ(model.ascNode(), 0.0) << label;
            EXPECT_EQ(model.descNode(), 0.0) << label;
            EXPECT_EQ(model.descNodeLongitude(), 0.0) << label;
            EXPECT_EQ(model.headerElements(), firstElements) << label;
        }
        EXPECT_EQ(passOrbitNumbers(pass, tle), (std::pair<std::int32_t, std::int32_t>{0, 0}));
        EXPECT_EQ(passElements(pass, tle), firstElements) << label;

        std::ostringstream err;
        const std::vector<MetadataRecord> records = metadataOf(pass, tle, false, err);
        ASSERT_EQ(records.size(), 2u);
        for (const MetadataRecord& record : records) {
            EXPECT_EQ(record.orbitNumber, 0);
            EXPECT_EQ(record.ascendingNode, 0.0);
            EXPECT_EQ(record.descendingNode, 0.0);
            EXPECT_EQ(record.longitude, 0.0);
        }
        EXPECT_EQ(err.str(), "");
    }
}

TEST(RevolutionRecords, DiagnosticBlockPerRevolution) {
    // A circular equatorial state whose elements print the same on every platform.
    const double speed = std::sqrt(kEarthGm / 7000000.0);
    const SatPass pass = twoEntryPass({{7000000.0, 0.0, 0.0}, {0.0, speed, 0.0}});
    const std::string block =
        "\nBeg Orbit Rev = 0  Time = 2.45285e+06\n"
        "End Orbit Rev = 0  Time = 2.45285e+06\n"
        "Ascending  Node Time = 0\n"
        "Descending Node Time = 0\n"
        "Descending Longitude = 0\n"
        "Keplerian  Elements  =\n"
        "    7e+06 0 0 3.14159 3.14159 0  \n";
    std::ostringstream err;
    metadataOf(pass, TleRecord{}, true, err);
    EXPECT_EQ(err.str(), "\ndiag_2 SatPass[0]\n" + block + "\ndiag_2 SatPass[1]\n" + block);

    // After the navigation record print the stream is in fixed notation with 8 decimals.
    std::ostringstream fixedErr;
    fixedErr << std::fixed << std::setprecision(8);
    metadataOf({pass[1]}, TleRecord{}, true, fixedErr);
    EXPECT_EQ(fixedErr.str(),
              "\ndiag_2 SatPass[0]\n"
              "\nBeg Orbit Rev = 0  Time = 2452850.53473380\n"
              "End Orbit Rev = 0  Time = 2452850.56944444\n"
              "Ascending  Node Time = 0.00000000\n"
              "Descending Node Time = 0.00000000\n"
              "Descending Longitude = 0.00000000\n"
              "Keplerian  Elements  =\n"
              "    7000000.00000000 0.00000000 0.00000000 3.14159265 3.14159265 0.00000000  \n");
}

TEST(RevolutionRecords, WithoutTheReportNothingIsWritten) {
    const SatPass pass = twoEntryPass(kSomeState);
    std::ostringstream err;
    EXPECT_EQ(metadataOf(pass, kElementSet, false, err).size(), 2u);
    EXPECT_EQ(err.str(), "");
}

TEST(RevolutionRecords, RevolutionsCutAtRealCrossingsGetConsecutiveOrbitNumbers) {
    // A circular orbit whose northward crossings come 30 s before the model's nodes, as
    // they do for real passes, sampled every 10 s from mid-orbit over 3.2 revolutions.
    const OrbitModel reference(kElementSet);
    const double realNode = reference.refNodeTime() - 30.0 * kSecond;
    const double radiansPerSecond = kTwoPi / (kPeriod * 86400.0);
    const double radius = std::cbrt(kEarthGm / (radiansPerSecond * radiansPerSecond));
    const double start = reference.refNodeTime() + 5.3 * kPeriod;
    RevolutionCutter cutter;
    SatPass pass;
    for (int n = 0; start + n * 10.0 * kSecond <= start + 3.2 * kPeriod; ++n) {
        const double t = start + n * 10.0 * kSecond;
        const double argumentOfLatitude = radiansPerSecond * ((t - realNode) * 86400.0);
        const State state =
            stateFromElements(radius, 0.0, kElementSet.inclination(),
                              kElementSet.rightAscension(), argumentOfLatitude, 0.0);
        cutter.cutRevolutions(orbit_test::navRecordAt(t, state), pass);
    }
    ASSERT_EQ(pass.size(), 4u);

    std::ostringstream err;
    const std::vector<MetadataRecord> records = metadataOf(pass, kElementSet, false, err);
    ASSERT_EQ(records.size(), 4u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::int32_t revolutions = 5 + static_cast<std::int32_t>(i);
        EXPECT_EQ(records[i].orbitNumber, 1234 + revolutions) << i;
        EXPECT_NEAR(records[i].ascendingNode, reference.refNodeTime() + revolutions * kPeriod,
                    kNodeTimeTolerance)
            << i;
        if (i > 0) {
            // The revolution's first record lies within 30 s of its ascending node.
            EXPECT_NEAR(pass[i].record.julianDate(), records[i].ascendingNode, 30.0 * kSecond) << i;
        }
    }
    EXPECT_EQ(passOrbitNumbers(pass, kElementSet),
              (std::pair<std::int32_t, std::int32_t>{1239, 1242}));
}

}  // namespace
}  // namespace kova
