// One generated pass with every shape the report looks for (gaps around node crossings, a
// duplicate, a replayed stretch, sequence breaks, other APIDs), reported once and checked
// against what was put in, against kova's own files and against the generator's orbit.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/big_endian.h"
#include "core/constants.h"
#include "generator/element_set.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "packets/packet_layout.h"
#include "report/html_page.h"
#include "report/json_report.h"
#include "report/number_text.h"
#include "time/iso_time_text.h"
#include "report/pass_analysis.h"
#include "report/text_report.h"
#include "run/processing_run.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::report {
namespace {

constexpr std::uint32_t kDuration = 14400;
constexpr std::uint32_t kDuplicateAt = 3000;
constexpr std::uint32_t kReplayAt = 7000;
constexpr std::uint32_t kReplayBack = 3;
constexpr std::uint32_t kShortGapLength = 20;
constexpr std::uint32_t kLongGapLength = 90;
constexpr int kOtherSkippedApid = 100;
constexpr double kJulianDateResolution = 4.1e-5;  // seconds, near 2.45e6 days

// A crossing of the equatorial plane by the generator's two-body orbit, seconds into the pass.
struct KnownCrossing {
    double secondsIntoPass;
    bool ascending;
};

// z = r sin(nu + omega) sin i: the nodes are where the true anomaly is -omega and pi - omega.
std::vector<KnownCrossing> knownCrossings(const generator::PassSettings& settings) {
    const generator::ElementSet& set = settings.elementSet;
    const double e = set.eccentricity;
    const double meanMotion = set.meanMotionRevsPerDay * kTwoPi / kSecondsPerDay;
    const double startFromEpoch = settings.startSeconds - generator::epochTai58Seconds(set);
    std::vector<KnownCrossing> crossings;
    for (const bool ascending : {true, false}) {
        const double trueAnomaly = (ascending ? 0.0 : kPi) - set.argumentOfPerigeeDegrees * kRadiansPerDegree;
        const double eccentric =
            2.0 * std::atan2(std::sqrt(1.0 - e) * std::sin(0.5 * trueAnomaly), std::sqrt(1.0 + e) * std::cos(0.5 * trueAnomaly));
        const double mean = eccentric - e * std::sin(eccentric);
        double fromEpoch = std::remainder(mean - set.meanAnomalyDegrees * kRadiansPerDegree, kTwoPi) / meanMotion;
        while (fromEpoch > startFromEpoch) fromEpoch -= kTwoPi / meanMotion;
        for (; fromEpoch < startFromEpoch + kDuration; fromEpoch += kTwoPi / meanMotion) {
            if (fromEpoch > startFromEpoch) crossings.push_back({fromEpoch - startFromEpoch, ascending});
        }
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const KnownCrossing& a, const KnownCrossing& b) { return a.secondsIntoPass < b.secondsIntoPass; });
    return crossings;
}

class GeneratedPassReport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        directory_ = std::make_unique<test::TemporaryDirectory>();
        settings_ = generator::PassSettings{};
        settings_.startSeconds = generator::defaultStartTai58Seconds(settings_.elementSet);
        settings_.durationSeconds = kDuration;
        crossings_ = knownCrossings(settings_);
        // A short gap around the first northward crossing (its revolution opens at a fill
        // record) and a long one around the second southward crossing.
        const KnownCrossing* ascending = nullptr;
        const KnownCrossing* descending = nullptr;
        int southward = 0;
        for (const KnownCrossing& crossing : crossings_) {
            if (crossing.ascending && ascending == nullptr) ascending = &crossing;
            if (!crossing.ascending && ++southward == 2) descending = &crossing;
        }
        ASSERT_NE(ascending, nullptr);
        ASSERT_NE(descending, nullptr);
        ASSERT_GT(ascending->secondsIntoPass, kDuplicateAt + 20.0);  // the duplicate comes before the gaps
        shortGapStart_ = static_cast<std::uint32_t>(ascending->secondsIntoPass) - kShortGapLength / 2;
        longGapStart_ = static_cast<std::uint32_t>(descending->secondsIntoPass) - kLongGapLength / 2;
        settings_.gaps = {{shortGapStart_, kShortGapLength}, {longGapStart_, kLongGapLength}};
        ASSERT_LT(shortGapStart_ + kShortGapLength, kReplayAt - kReplayBack);  // the replay lies between the gaps
        ASSERT_GT(longGapStart_, kReplayAt + 10);
        settings_.duplicates = {kDuplicateAt};
        settings_.replays = {{kReplayAt, kReplayBack}};
        settings_.otherPacketsPerNavPacket = 1;
        settings_.sequenceSkips = {{2000, kNavApid, 5}, {9000, kOtherSkippedApid, 3}};

        const auto pass = test::writeGeneratedPass(directory_->file("pass.kov"), settings_);
        std::ofstream norad(directory_->file("norad.tle"));
        generator::writeNoradFile(norad, settings_.elementSet);
        norad.close();

        AnalysisSettings analysis;
        analysis.packetFileName = pass.string();
        analysis.noradFileName = directory_->file("norad.tle").string();
        analysis.satelliteName = "MARU";
        report_ = std::make_unique<PassReport>();
        outcome_ = analysePass(analysis, *report_);

        const std::string packet = pass.string();
        const std::string noradName = directory_->file("norad.tle").string();
        const std::string ephemeris = directory_->file("pass.eph").string();
        const std::string attitude = directory_->file("pass.att").string();
        const char* argv[] = {"kova", "-packetfile", packet.c_str(), "-noradfile", noradName.c_str(),
                              "-ephemerisfile", ephemeris.c_str(), "-attitudefile", attitude.c_str()};
        std::ostringstream out;
        std::ostringstream err;
        kovaStatus_ = runKova(9, argv, out, err);
        ephemeris_ = test::readBytes(ephemeris);
    }
    static void TearDownTestSuite() {
        report_.reset();
        directory_.reset();
    }

    // Seconds into the pass of a TAI93 time. kova holds every time as a Julian date, whose
    // resolution near 2.45e6 days is 40 us, so a whole second of a time tag comes back within
    // that, not exactly.
    static double intoPass(double tai93) {
        return tai93 + (kSeconds1958To1993 + kTai93ZeroAfter1993) - static_cast<double>(settings_.startSeconds);
    }

    static inline std::unique_ptr<test::TemporaryDirectory> directory_;
    static inline generator::PassSettings settings_;
    static inline std::vector<KnownCrossing> crossings_;
    static inline std::uint32_t shortGapStart_ = 0;
    static inline std::uint32_t longGapStart_ = 0;
    static inline std::unique_ptr<PassReport> report_;
    static inline AnalysisOutcome outcome_;
    static inline int kovaStatus_ = -1;
    static inline std::vector<std::uint8_t> ephemeris_;
};

TEST_F(GeneratedPassReport, CensusFindsTheOtherApidsAndExactlyTheSequenceBreaksPutIn) {
    ASSERT_TRUE(outcome_.complete) << outcome_.problem;
    const PacketCensus& census = report_->census;
    EXPECT_EQ(census.end(), CensusEnd::kEndOfFile);
    EXPECT_EQ(census.fileSize(), std::filesystem::file_size(directory_->file("pass.kov")));
    const std::uint64_t navPackets = kDuration - (kShortGapLength - 1) - (kLongGapLength - 1) + 1 + (kReplayBack + 1);
    EXPECT_EQ(census.packetCount(), 2 * navPackets);  // one other packet after each navigation packet
    EXPECT_GT(census.apids().size(), 3u);
    for (const ApidCensus& apid : census.apids()) {
        SCOPED_TRACE(apid.apid);
        if (apid.apid == kNavApid) {
            EXPECT_EQ(apid.packets, navPackets);
            EXPECT_EQ(apid.shortestPacket, 126u);
            EXPECT_EQ(apid.longestPacket, 126u);
            ASSERT_EQ(apid.sequenceBreaks, 1u);
            // The packets at 0 .. 1999 took counts 0 .. 1999; the one at 2000 skips five.
            EXPECT_EQ(apid.firstBreaks[0].expected, 2000);
            EXPECT_EQ(apid.firstBreaks[0].found, 2005);
        } else if (apid.apid == kOtherSkippedApid) {
            ASSERT_EQ(apid.sequenceBreaks, 1u);
            EXPECT_EQ(apid.firstBreaks[0].found - apid.firstBreaks[0].expected, 3);
        } else {
            EXPECT_EQ(apid.sequenceBreaks, 0u);
        }
        EXPECT_EQ(apid.wrongLength, 0u);
    }
}

TEST_F(GeneratedPassReport, NavigationStreamFindsTheGapsTheDuplicateAndTheBackwardStep) {
    ASSERT_TRUE(outcome_.complete) << outcome_.problem;
    const NavigationFacts& navigation = report_->navigation;
    EXPECT_EQ(navigation.packetSize, 126u);
    EXPECT_NEAR(navigation.span, kDuration - 1.0, kJulianDateResolution);
    ASSERT_EQ(navigation.gaps.size(), 2u);
    EXPECT_NEAR(intoPass(navigation.gaps[0].start), shortGapStart_, kJulianDateResolution);
    EXPECT_NEAR(intoPass(navigation.gaps[0].end), shortGapStart_ + kShortGapLength, kJulianDateResolution);
    EXPECT_TRUE(navigation.gaps[0].filled);
    EXPECT_EQ(navigation.gaps[0].fillRecords, kShortGapLength - 1);
    EXPECT_NEAR(intoPass(navigation.gaps[1].start), longGapStart_, kJulianDateResolution);
    EXPECT_NEAR(intoPass(navigation.gaps[1].end), longGapStart_ + kLongGapLength, kJulianDateResolution);
    // A gap is as long as the step between the time tags on either side, not their Julian dates.
    EXPECT_EQ(navigation.gaps[0].end - navigation.gaps[0].start, static_cast<double>(kShortGapLength));
    EXPECT_EQ(navigation.gaps[1].end - navigation.gaps[1].start, static_cast<double>(kLongGapLength));
    EXPECT_FALSE(navigation.gaps[1].filled);
    EXPECT_EQ(navigation.gaps[1].fillRecords, 0u);
    EXPECT_EQ(navigation.filledGaps, 1u);
    EXPECT_EQ(navigation.flaggedGaps, 1u);

    ASSERT_EQ(navigation.duplicates, 1u);
    EXPECT_NEAR(intoPass(navigation.firstDuplicates[0].time), kDuplicateAt, kJulianDateResolution);
    EXPECT_EQ(navigation.firstDuplicates[0].step, 0.0);
    ASSERT_EQ(navigation.backwardSteps, 1u);
    EXPECT_NEAR(intoPass(navigation.firstBackwardSteps[0].time), kReplayAt - kReplayBack, kJulianDateResolution);
    EXPECT_NEAR(navigation.firstBackwardSteps[0].step, -static_cast<double>(kReplayBack), kJulianDateResolution);
    // The second copy of the packet at kDuplicateAt; no gap comes before it.
    EXPECT_EQ(navigation.firstDuplicates[0].packetIndex, kDuplicateAt + 1);
    EXPECT_EQ(navigation.firstBackwardSteps[0].packetIndex, kReplayAt + 2 - (kShortGapLength - 1));
    EXPECT_EQ(navigation.realRecords, navigation.packets);
    EXPECT_EQ(navigation.fillRecords, kShortGapLength - 1);
    EXPECT_EQ(navigation.records, navigation.realRecords + navigation.fillRecords);
    // The coverage counts each second once: not the duplicate, nor the replayed records.
    EXPECT_NEAR(navigation.span, kDuration - 1.0, kJulianDateResolution);
    EXPECT_NEAR(navigation.coverage,
                static_cast<double>(navigation.realRecords - 1 - (kReplayBack + 1)) / kDuration, 1e-8);
    EXPECT_EQ(report_->attitude.nonFiniteAngles, 0u);
    EXPECT_LT(report_->attitude.largestNormDepartureReal, 1e-9);
}

TEST_F(GeneratedPassReport, WhatTheReportSaysKovaWritesIsWhatKovaWrites) {
    ASSERT_TRUE(outcome_.complete) << outcome_.problem;
    ASSERT_EQ(kovaStatus_, 0);
    auto u32 = [&](std::size_t at) { return be::loadU32(ephemeris_.data() + at); };
    auto f64 = [&](std::size_t at) { return be::loadF64(ephemeris_.data() + at); };
    const std::uint32_t records = u32(toolkit_header::kRecordCount);
    EXPECT_EQ(records, report_->navigation.records);
    EXPECT_EQ(static_cast<std::int32_t>(u32(toolkit_header::kSize + ephemeris_header::kBeginOrbit)),
              report_->orbit.beginOrbit);
    EXPECT_EQ(static_cast<std::int32_t>(u32(toolkit_header::kSize + ephemeris_header::kEndOrbit)),
              report_->orbit.endOrbit);

    std::uint64_t filled = 0;
    std::uint64_t shortGaps = 0;
    std::uint64_t longGaps = 0;
    for (std::size_t n = 0; n < records; ++n) {
        const std::uint32_t flags = u32(kFileHeaderSize + n * ephemeris_record::kSize + ephemeris_record::kQaFlags);
        filled += (flags >> qa_flags::kRep) & 1u;
        shortGaps += (flags >> qa_flags::kSgf) & 1u;
        longGaps += (flags >> qa_flags::kLgf) & 1u;
    }
    EXPECT_EQ(filled, report_->navigation.fillRecords);
    EXPECT_EQ(shortGaps, report_->navigation.filledGaps);
    EXPECT_EQ(longGaps, report_->navigation.flaggedGaps);

    const std::size_t metadata = kFileHeaderSize + records * ephemeris_record::kSize;
    const std::vector<RevolutionFacts>& revolutions = report_->orbit.revolutions;
    ASSERT_EQ((ephemeris_.size() - metadata) / orbit_metadata_record::kSize, revolutions.size());
    for (std::size_t i = 0; i < revolutions.size(); ++i) {
        SCOPED_TRACE(i);
        const std::size_t at = metadata + i * orbit_metadata_record::kSize;
        EXPECT_EQ(static_cast<std::int32_t>(u32(at + orbit_metadata_record::kOrbitNumber)), revolutions[i].orbitNumber);
        EXPECT_EQ(f64(at + orbit_metadata_record::kAscendingNodeTime), revolutions[i].ascendingNode);
        EXPECT_EQ(f64(at + orbit_metadata_record::kDescendingNodeTime), revolutions[i].descendingNode);
        EXPECT_EQ(f64(at + orbit_metadata_record::kDescendingNodeLongitude) * kDegreesPerRadian,
                  revolutions[i].descendingNodeLongitude);
        EXPECT_TRUE(revolutions[i].nodesSet);
    }
}

TEST_F(GeneratedPassReport, MeasuredCrossingsAgreeWithTheTwoBodyOrbitAndGapsHaveNone) {
    ASSERT_TRUE(outcome_.complete) << outcome_.problem;
    const std::vector<RevolutionFacts>& revolutions = report_->orbit.revolutions;
    // The pass starts between nodes: revolution 0 has no northward crossing, and each later
    // one opens at one.
    std::size_t matched = 0;
    std::size_t inGaps = 0;
    std::size_t revolution = 0;
    for (const KnownCrossing& known : crossings_) {
        if (known.ascending) ++revolution;
        ASSERT_LT(revolution, revolutions.size());
        const MeasuredCrossing& measured =
            known.ascending ? revolutions[revolution].ascending : revolutions[revolution].descending;
        const bool inGap = (known.secondsIntoPass > shortGapStart_ && known.secondsIntoPass < shortGapStart_ + kShortGapLength) ||
                           (known.secondsIntoPass > longGapStart_ && known.secondsIntoPass < longGapStart_ + kLongGapLength);
        SCOPED_TRACE(known.secondsIntoPass);
        if (inGap) {
            EXPECT_TRUE(std::isnan(measured.time));
            EXPECT_TRUE(std::isnan(measured.longitude));
            ++inGaps;
            continue;
        }
        // The time tags and the crossing times pass through Julian dates, whose resolution
        // near 2.45e6 days is 40 us: far inside the millisecond asked for.
        EXPECT_NEAR(intoPass(measured.time), known.secondsIntoPass, 1e-3);
        if (!known.ascending) {
            EXPECT_GE(measured.longitude, 0.0);
            EXPECT_LT(measured.longitude, 360.0);
            // The model of the same orbit puts its node within seconds, so within a degree.
            EXPECT_LT(std::fabs(longitudeDifference(revolutions[revolution])), 1.0);
        }
        EXPECT_LT(std::fabs(nodeTimeDifference(revolutions[revolution], known.ascending)), 30.0);
        ++matched;
    }
    EXPECT_EQ(inGaps, 2u);
    EXPECT_GE(matched, 2u);
    EXPECT_EQ(revolution + 1, revolutions.size());
    for (const RevolutionFacts& facts : revolutions) {
        EXPECT_NEAR(facts.perigeeHeight, report_->orbit.lowestPerigee, 2000.0);
        EXPECT_GT(facts.apogeeHeight, facts.perigeeHeight);
    }
}

TEST_F(GeneratedPassReport, TheThreeFormsCarryTheSameFigures) {
    ASSERT_TRUE(outcome_.complete) << outcome_.problem;
    const std::string text = textReport(*report_);
    const std::string json = jsonReport(*report_);
    const std::string page = htmlPage(*report_);
    const NavigationFacts& navigation = report_->navigation;
    std::string duplicateTime;
    appendTai93Iso(duplicateTime, navigation.firstDuplicates[0].time);
    for (const std::string* form : {&text, &json, &page}) {
        EXPECT_NE(form->find(duplicateTime), std::string::npos);
        EXPECT_NE(form->find(std::to_string(navigation.records)), std::string::npos);
        EXPECT_NE(form->find(report_->orbit.elementSet.line1), std::string::npos);
    }
    EXPECT_NE(json.find("\"gap_count\": 2,"), std::string::npos);
    EXPECT_NE(json.find("\"backward_steps\": 1,"), std::string::npos);
    EXPECT_NE(json.find("\"step_s\": -3.0000"), std::string::npos);
    EXPECT_NE(json.find("\"measured\": {\n          \"ascending_node\": null,"), std::string::npos);
    EXPECT_EQ(json.find("nan"), std::string::npos);
    EXPECT_NE(text.find("exact duplicates              : 1"), std::string::npos);
    EXPECT_NE(text.find("backward steps                : 1"), std::string::npos);

    // Self-contained: nothing fetched, no script; five charts, each with its title.
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http"), std::string::npos);
    EXPECT_EQ(page.find("url("), std::string::npos);
    std::size_t charts = 0;
    for (std::size_t at = page.find("<svg"); at != std::string::npos; at = page.find("<svg", at + 1)) {
        ++charts;
        EXPECT_EQ(page.compare(page.find('>', at) + 1, 6, "<title"), 0);
    }
    EXPECT_EQ(charts, 5u);
}

}  // namespace
}  // namespace kova::report
