#include <gtest/gtest.h>

#include <cmath>

#include "core/constants.h"
#include "time/julian_date.h"
#include "time/sidereal_angle.h"
#include "time/time_scales.h"
#include "time/ut_correction.h"

namespace kova {
namespace {

TEST(UtCorrection, ReferenceDateGivesTheOffsetOnly) {
    EXPECT_EQ(utCorrection(2394566.0), -32.18 * kDaysPerSecond);
}

TEST(UtCorrection, BitExactValues) {
    // (0.0026850000000000003 * (t * t) - 32.18) * (1/86400), t = (jd - 2394566) * (1/365.25)
    EXPECT_EQ(utCorrection(2452851.25), 0.00041889414409301964);  // mid-2003, about 36.2 s
    EXPECT_EQ(utCorrection(2452821.0), 0.00041807293939977907);
    EXPECT_EQ(utCorrection(2451545.0), 0.0003838212962962964);
}

// Reference: Greenwich sidereal time at 2000-01-01 12:00 UT is 18h 41m 50.548s mean and
// about 0.852 s of time less apparent (equation of the equinoxes). The series here is a
// low-precision one, so agreement to about a tenth of a second of time is what it gives.
TEST(Gast, MatchesTheSiderealTimeAtJ2000) {
    const double expectedDegrees = (18.0 + 41.0 / 60.0 + (50.548 - 0.852) / 3600.0) * 15.0;
    EXPECT_NEAR(gast(2451545.0) * kDegreesPerRadian, expectedDegrees, 0.0005);
}

// The angle comes from the sidereal time at the preceding midnight plus the rotation since;
// across a midnight the two parts hand over without a jump.
TEST(Gast, ContinuousAcrossMidnight) {
    for (double midnight : {2415020.5, 2440587.5, 2451544.5, 2452850.5, 2488127.5}) {
        const double step = 1e-6;
        const double before = gast(midnight - step);
        const double after = gast(midnight + step);
        double difference = after - before;
        if (difference < -kPi) difference += kTwoPi;
        EXPECT_NEAR(difference, 2.0 * step * 360.985647348 / kDegreesPerRadian, 1e-8) << midnight;
    }
}

TEST(Gast, StaysInOneTurn) {
    for (double jd = 2415020.0; jd < 2488070.0; jd += 97.3) {
        const double angle = gast(jd);
        ASSERT_GE(angle, 0.0) << jd;
        ASSERT_LT(angle, kTwoPi) << jd;
    }
}

}  // namespace
}  // namespace kova
