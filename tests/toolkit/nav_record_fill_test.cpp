#include <gtest/gtest.h>

#include "packets/nav_record.h"
#include "time/time_scales.h"
#include "toolkit/attitude_angles.h"
#include "toolkit/records.h"

namespace kova {
namespace {

// The record pass fills both blocks from one navigation record and one flag word: the
// two files then share times and flags, and each block takes its own channels.
TEST(NavRecordFillTest, EphemerisAndAttitudeRecordsShareTimeAndFlags) {
    NavRecord record(126);
    record.setJulianDate(2452640.5 + 12.5 / 86400.0);
    record.setValues({7000000.0, 1000.0, -2000.0, 10.0, 7500.0, -30.0,
                      0.1, -0.2, 0.3, 0.9, 0.001, -0.002, 0.003});
    const std::uint32_t flags = 0x0120;

    EphemerisRecord ephemeris;
    AttitudeRecord attitude;
    ephemeris.setFromNavValues(record.julianDate(), record.values(), flags);
    attitude.setFromNavValues(record.julianDate(), record.values(), attitudeAngles(record), flags);

    EXPECT_EQ(ephemeris.time(), tai93FromJulianDate(record.julianDate()));
    EXPECT_EQ(attitude.time(), ephemeris.time());
    EXPECT_EQ(ephemeris.qaFlags(), flags);
    EXPECT_EQ(attitude.qaFlags(), flags);
    EXPECT_EQ(ephemeris.position(), record.position());
    EXPECT_EQ(ephemeris.velocity(), record.velocity());
    EXPECT_EQ(attitude.angles(), attitudeAngles(record.position(), record.velocity(), record.attitude()));
    EXPECT_EQ(attitude.rates(), record.attitudeRates());
}

}  // namespace
}  // namespace kova
