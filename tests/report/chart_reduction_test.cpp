// What the page draws is reduced to its resolution without losing what matters: the ground
// track keeps its stretches apart, and a long pass full of gaps still gives a small page.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "core/constants.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "report/ground_track.h"
#include "report/html_page.h"
#include "report/pass_analysis.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "time/sidereal_angle.h"

namespace kova::report {
namespace {

constexpr double kStartJd = 2452850.5;  // 2003-07-30
constexpr double kRadius = 7.0e6;

// A position on the equator at `longitude` degrees east of the Greenwich meridian at `jd`.
std::array<double, 3> above(double jd, double longitudeDegrees, double latitudeDegrees = 0.0) {
    const double rightAscension = longitudeDegrees * kRadiansPerDegree + gast(jd);
    const double latitude = latitudeDegrees * kRadiansPerDegree;
    return {kRadius * std::cos(latitude) * std::cos(rightAscension), kRadius * std::cos(latitude) * std::sin(rightAscension),
            kRadius * std::sin(latitude)};
}

TEST(GroundTrackStretches, SampledEverySoManySecondsAndBrokenAtGapsKindsAndTheDateLine) {
    GroundTrack track(10.0, 0.0);
    double jd = kStartJd;
    auto add = [&](double longitude, bool filled, bool afterLongGap = false) {
        track.add(jd, above(jd, longitude), filled, afterLongGap);
        jd += kDaysPerSecond;
    };
    for (int s = 0; s < 30; ++s) add(170.0 + 0.25 * s, false);
    for (int s = 0; s < 5; ++s) add(177.5 + 0.25 * s, true);     // a filled gap
    for (int s = 0; s < 20; ++s) add(178.75 + 0.25 * s, false);  // crosses 180 after 5 s
    add(20.0, false, true);                                        // after a long gap
    add(20.25, false);
    track.finish();

    const auto& stretches = track.stretches();
    ASSERT_EQ(stretches.size(), 5u);
    // Real records sampled every 10 s, ending with the last real record before the fill.
    ASSERT_EQ(stretches[0].points.size(), 4u);
    EXPECT_FALSE(stretches[0].filled);
    EXPECT_NEAR(stretches[0].points[1].longitude, 172.5, 1e-3);
    EXPECT_NEAR(stretches[0].points.back().longitude, 177.25, 1e-3);
    // The filled stretch starts where the real one ended and ends at its last fill record.
    EXPECT_TRUE(stretches[1].filled);
    EXPECT_NEAR(stretches[1].points.front().longitude, 177.25, 1e-3);
    EXPECT_NEAR(stretches[1].points.back().longitude, 178.5, 1e-3);
    // Real again from the last fill record, broken where the track passes longitude 180.
    EXPECT_FALSE(stretches[2].filled);
    EXPECT_NEAR(stretches[2].points.front().longitude, 178.5, 1e-3);
    EXPECT_LT(stretches[3].points.front().longitude, -170.0f);
    // The long gap: both ends marked, and the track goes on without a line across it.
    ASSERT_EQ(track.gapEnds().size(), 2u);
    EXPECT_NEAR(track.gapEnds()[1].longitude, 20.0, 1e-3);
    EXPECT_NEAR(stretches[4].points.front().longitude, 20.0, 1e-3);
    EXPECT_NEAR(stretches[4].points.back().longitude, 20.25, 1e-3);
    for (const TrackStretch& stretch : stretches) {
        for (const TrackPoint& point : stretch.points) EXPECT_NEAR(point.latitude, 0.0, 1e-3);
    }
}

TEST(QuickLookPageSize, ADayWithSixHundredGapsStaysSmallAndListsTheTablesInPart) {
    test::TemporaryDirectory directory;
    generator::PassSettings settings;
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = 86400;
    for (std::uint32_t k = 0; k < 600; ++k) settings.gaps.push_back({100 + 140 * k, k % 3 == 0 ? 70u : 4u});
    const auto pass = test::writeGeneratedPass(directory.file("gappy.kov"), settings);
    AnalysisSettings analysis;
    analysis.packetFileName = pass.string();
    analysis.satelliteName = "MARU";
    PassReport report;
    ASSERT_TRUE(analysePass(analysis, report).complete);
    ASSERT_EQ(report.navigation.gaps.size(), 600u);
    EXPECT_EQ(report.navigation.flaggedGaps, 200u);

    const std::string page = htmlPage(report);
    EXPECT_LT(page.size(), 1u << 20);
    EXPECT_NE(page.find("The first 500 of 600 gaps; the text and JSON reports list them all."), std::string::npos);
    // Two points per pixel column at most in the height chart.
    const std::size_t begin = page.find("<path class=\"series", page.find("<svg class=\"chart\" id=\"height\""));
    const std::size_t end = page.find("/>", begin);
    std::size_t points = 0;
    for (std::size_t at = begin; at < end; ++at) points += page[at] == 'L' || page[at] == 'M';
    EXPECT_LE(points, 2 * report.charts.timeSeries.columns() + 2);
    EXPECT_EQ(report.charts.timeSeries.columns(), 900u);
}

}  // namespace
}  // namespace kova::report
