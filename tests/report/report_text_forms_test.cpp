// The pieces every form of the report is written with: fixed-format numbers, calendar text,
// JSON structure, chart ticks and the crossing interpolation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "report/crossing_locator.h"
#include "report/json_writer.h"
#include "report/number_text.h"
#include "report/svg_chart.h"

namespace kova::report {
namespace {

TEST(ReportNumberText, FixedFormatsAreTheSameBytesForEveryZeroAndSayWhenThereIsNoValue) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.0, 3, "0.000"},        {-0.0, 3, "0.000"},          {-0.0004, 3, "0.000"},
        {-0.0006, 3, "-0.001"},   {1234.5678, 2, "1234.57"},   {-2.5, 0, "-2"},
        {333688210.0, 6, "333688210.000000"},
        {std::numeric_limits<double>::quiet_NaN(), 3, "n/a"},
        {-std::numeric_limits<double>::quiet_NaN(), 3, "n/a"},
        {std::numeric_limits<double>::infinity(), 3, "n/a"},
    };
    for (const Case& c : cases) {
        std::string text;
        appendFixedOr(text, c.value, c.decimals, "n/a");
        EXPECT_EQ(text, c.text) << c.value;
    }
    std::string scientific;
    appendScientificOr(scientific, -0.0, 3, "n/a");
    EXPECT_EQ(scientific, "0.000e+00");
}

TEST(ReportNumberText, CalendarTextOfTai93Seconds) {
    struct Case {
        double tai93;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "1993-01-01T00:00:27.000"},
        {333688210.0, "2003-07-30T03:10:37.000"},
        {333688210.9996, "2003-07-30T03:10:38.000"},  // rounded to the millisecond
        {-1104537627.0, "1958-01-01T00:00:00.000"},
        {-1104537627.0 - 0.001, "1957-12-31T23:59:59.999"},
        {2.0 * 86400.0 * 365.25 * 7.0 + 51.0 * 86400.0 + 86400.0 * 0.5, "2007-02-22T00:00:27.000"},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_TRUE(appendTai93Iso(text, c.tai93));
        EXPECT_EQ(text, c.text) << c.tai93;
    }
    std::string none;
    EXPECT_FALSE(appendTai93Iso(none, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(appendTai93Iso(none, -211592606427.0));  // Julian date 0: a node time not set
    EXPECT_TRUE(none.empty());
    std::string ut;
    EXPECT_TRUE(appendUtIsoFromSeconds1958(ut, 86400.0 * 365.0 + 3600.0));
    EXPECT_EQ(ut, "1959-01-01T01:00:00.000Z");
}

TEST(ReportJsonWriter, NestsIndentsAndEscapes) {
    JsonWriter json;
    json.beginObject();
    json.key("name");
    json.string("a \"b\"\\\n\x01");
    json.key("list");
    json.beginArray();
    json.fixed(1.5, 2);
    json.fixed(std::numeric_limits<double>::quiet_NaN(), 2);
    json.beginObject();
    json.endObject();
    json.endArray();
    json.key("empty");
    json.beginArray();
    json.endArray();
    json.key("flag");
    json.boolean(false);
    json.endObject();
    EXPECT_EQ(json.text(),
              "{\n  \"name\": \"a \\\"b\\\"\\\\\\u000a\\u0001\",\n  \"list\": [\n    1.50,\n    null,\n    {}\n  ],\n"
              "  \"empty\": [],\n  \"flag\": false\n}\n");
}

TEST(ReportChartTicks, StepsOfOneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_EQ(axisTicks(0.0, 120.0, 6), (std::vector<double>{0.0, 20.0, 40.0, 60.0, 80.0, 100.0, 120.0}));
    EXPECT_EQ(axisTicks(701.7, 703.5, 4), (std::vector<double>{702.0, 702.5, 703.0, 703.5}));
    EXPECT_EQ(axisTicks(-180.0, 180.0, 6, 30.0).size(), 13u);
    EXPECT_EQ(axisTicks(-0.03, 0.12, 6).front(), -0.02);
    EXPECT_TRUE(axisTicks(1.0, 1.0, 6).empty());
    EXPECT_EQ(tickDecimals(0.4), 1);
    EXPECT_EQ(tickDecimals(0.02), 2);
    EXPECT_EQ(tickDecimals(50.0), 0);
}

TEST(ReportCrossingLocator, FindsTheRootOfTheHermiteCubic) {
    // Straight motion through the plane: z = -3 + 4 t, vz = 4: the root is t = 0.75 exactly
    // on a cubic that is the line itself.
    const StateAtTime before{10.0, {1.0, 2.0, -3.0}, {2.0, 0.0, 4.0}};
    const StateAtTime after{11.0, {3.0, 2.0, 1.0}, {2.0, 0.0, 4.0}};
    const PlaneCrossing northward = locatePlaneCrossing(before, after);
    EXPECT_NEAR(northward.time, 10.75, 1e-12);
    EXPECT_NEAR(northward.x, 2.5, 1e-12);
    EXPECT_NEAR(northward.y, 2.0, 1e-12);
    // A circle of radius 7e6 m at 1e-3 rad/s crossing z = 0 southward at t = 0.4 s.
    const double radius = 7.0e6;
    const double rate = 1.0e-3;
    auto state = [&](double t) {
        const double angle = rate * (t - 0.4);
        return StateAtTime{t, {radius * std::cos(angle), 0.0, -radius * std::sin(angle)},
                           {-radius * rate * std::sin(angle), 0.0, -radius * rate * std::cos(angle)}};
    };
    const PlaneCrossing southward = locatePlaneCrossing(state(0.0), state(1.0));
    EXPECT_NEAR(southward.time, 0.4, 1e-9);
    EXPECT_NEAR(southward.x, radius, 1e-3);
}

}  // namespace
}  // namespace kova::report
