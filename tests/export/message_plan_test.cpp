// Which records go into a message and where its segments begin: duplicates and backward
// steps left out, long gaps ending segments even when the records beside them are left out,
// fill runs and left-out records named in the segment they belong to.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "export/message_plan.h"
#include "export/message_writer.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

constexpr std::uint16_t kRep = 1u << qa_flags::kRep;
constexpr std::uint16_t kLgb = 1u << qa_flags::kLgb;
constexpr std::uint16_t kLgf = 1u << qa_flags::kLgf;
constexpr std::uint16_t kSgb = 1u << qa_flags::kSgb;
constexpr std::uint16_t kSgf = 1u << qa_flags::kSgf;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A TAI93 time whose epoch is a whole second: 2025-01-01T00:00:00 TAI.
constexpr double kBase = 1009843200.0 - 27.000014483928680;

struct Step {
    double seconds;  // after kBase
    std::uint16_t flags = 0;
    bool stateFinite = true;
    bool attitude = true;
};

ExportRecord recordOf(const Step& step) {
    ExportRecord record;
    record.tai93Seconds = kBase + step.seconds;
    record.position = {7.0e6, step.stateFinite ? 0.0 : kNaN, 0.0};
    record.velocity = {0.0, 7.5e3, 0.0};
    record.quaternion = step.attitude ? std::array<double, 4>{0.0, 0.0, 0.0, 2.0} : std::array<double, 4>{};
    record.qaFlags = step.flags;
    return record;
}

MessagePlan planOf(MessageKind kind, const std::vector<Step>& steps) {
    MessagePlan plan(kind);
    for (std::size_t i = 0; i < steps.size(); ++i) plan.add(recordOf(steps[i]), i);
    plan.finish();
    return plan;
}

std::int64_t micro(double seconds) {
    return static_cast<std::int64_t>(std::nearbyint((kBase + seconds + 27.000014483928680) * 1e6));
}

TEST(MessagePlan, LongGapsEndSegmentsAndShortGapsStayInside) {
    const MessagePlan plan = planOf(MessageKind::kOem, {{0}, {1, kSgf}, {2, kRep}, {3, kRep}, {4, kSgb | kLgf},
                                                         {100, kLgb | kLgf}, {200, kLgb}, {201}});
    ASSERT_EQ(plan.segments().size(), 3u);
    EXPECT_EQ(plan.segments()[0].recordCount, 5u);
    EXPECT_EQ(plan.segments()[0].firstMicroseconds, micro(0));
    EXPECT_EQ(plan.segments()[0].lastMicroseconds, micro(4));
    EXPECT_EQ(plan.segments()[1].recordCount, 1u);  // a record between two long gaps
    EXPECT_EQ(plan.segments()[2].recordCount, 2u);
    const auto notes = plan.notesOf(plan.segments()[0]);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, PlanNote::Kind::kFilled);
    EXPECT_EQ(notes[0].firstMicroseconds, micro(2));
    EXPECT_EQ(notes[0].lastMicroseconds, micro(3));
    EXPECT_EQ(plan.exportedCount(), 8u);
    EXPECT_EQ(plan.leftOutCount(), 0u);
}

TEST(MessagePlan, RepeatedAndEarlierTimesAreLeftOutAndNamedWhereTheyCame) {
    const MessagePlan plan = planOf(MessageKind::kOem, {{0}, {1}, {1}, {0.5}, {2}, {1.5}});
    ASSERT_EQ(plan.segments().size(), 1u);
    EXPECT_EQ(plan.segments()[0].recordCount, 3u);
    const auto notes = plan.notesOf(plan.segments()[0]);
    ASSERT_EQ(notes.size(), 3u);
    for (const PlanNote& note : notes) {
        EXPECT_EQ(note.kind, PlanNote::Kind::kLeftOut);
        EXPECT_EQ(note.reason, LeftOutReason::kTimeNotIncreasing);
    }
    EXPECT_EQ(notes[0].recordIndex, 2u);
    EXPECT_EQ(notes[1].recordIndex, 3u);
    EXPECT_EQ(notes[2].recordIndex, 5u);  // after the last exported record: the last segment
    EXPECT_EQ(notes[1].firstMicroseconds, micro(0.5));
}

TEST(MessagePlan, ALoneTimeBeyondItsNeighboursCostsOnlyItsOwnRecord) {
    constexpr double kWrong = 1.0e9;  // seconds after kBase: a corrupt time tag
    struct Case {
        const char* name;
        std::vector<double> seconds;
        std::vector<std::uint64_t> leftOut;  // record numbers, in order
        LeftOutReason firstReason;
    };
    std::vector<double> longPass;
    for (int i = 0; i < 300; ++i) longPass.push_back(i == 100 ? kWrong : i);
    std::vector<std::uint64_t> none;
    const Case cases[] = {
        {"one wrong tag in a long pass", longPass, {100}, LeftOutReason::kTimeBeyondNeighbours},
        {"the first tag wrong", {kWrong, 0, 1, 2, 3}, {0}, LeftOutReason::kTimeBeyondNeighbours},
        {"a wrong tag early", {0, kWrong, 1, 2}, {1}, LeftOutReason::kTimeBeyondNeighbours},
        {"an early tag: earlier than the last exported", {0, 1, 2, -kWrong, 3, 4}, {3}, LeftOutReason::kTimeNotIncreasing},
        {"a replay keeps the record before the step", {0, 1, 2, 3, 4, 5, 3, 4, 5, 6, 7}, {6, 7, 8},
         LeftOutReason::kTimeNotIncreasing},
        {"one step back of one record: the earlier stays", {0, 1, 2, 1.5, 3}, {3}, LeftOutReason::kTimeNotIncreasing},
        {"the wrong tag next to last: nothing after it to tell", {0, 1, 2, kWrong, 3}, {4},
         LeftOutReason::kTimeNotIncreasing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Step> steps;
        for (const double seconds : c.seconds) steps.push_back({seconds});
        const MessagePlan plan = planOf(MessageKind::kOem, steps);
        std::vector<std::uint64_t> leftOut;
        std::vector<LeftOutReason> reasons;
        for (const PlannedSegment& segment : plan.segments()) {
            for (const PlanNote& note : plan.notesOf(segment)) {
                leftOut.push_back(note.recordIndex);
                reasons.push_back(note.reason);
            }
        }
        EXPECT_EQ(leftOut, c.leftOut);
        ASSERT_FALSE(reasons.empty());
        EXPECT_EQ(reasons[0], c.firstReason);
        EXPECT_EQ(plan.exportedCount(), c.seconds.size() - c.leftOut.size());
    }
}

// The bytes of a message, kept.
class TextSink final : public ByteSink {
public:
    void write(const char* data, std::size_t size) override { text.append(data, size); }
    bool failed() const override { return false; }
    std::string error() const override { return ""; }
    std::string text;
};

TEST(MessagePlan, TheWriterLeavesOutAndNamesTheSameRecordAsThePlan) {
    std::vector<Step> steps;
    for (int i = 0; i < 50; ++i) steps.push_back({i == 20 ? 1.0e11 : i});
    for (const MessageKind kind : {MessageKind::kOem, MessageKind::kAem}) {
        const MessagePlan plan = planOf(kind, steps);
        TextSink sink;
        MessageWriter writer(plan, MessageIdentity{"SAT", "UNKNOWN", "ME", "2026-01-01T00:00:00", AemVersion::k1_0},
                             sink);
        for (const Step& step : steps) ASSERT_TRUE(writer.add(recordOf(step))) << writer.error();
        ASSERT_TRUE(writer.finish()) << writer.error();
        EXPECT_NE(sink.text.find("COMMENT Left out: record 20 at "), std::string::npos) << sink.text;
        EXPECT_NE(sink.text.find(": its epoch lies beyond the records on either side"), std::string::npos);
        EXPECT_EQ(plan.exportedCount(), 49u);
        EXPECT_EQ(plan.segments().size(), 1u);
    }
}

TEST(MessagePlan, ALongGapEndsTheSegmentEvenWhenTheRecordsBesideItAreLeftOut) {
    // The record after the gap is unusable, the one before it too: the break still falls there.
    const MessagePlan plan = planOf(MessageKind::kOem, {{0}, {1, kLgf, false}, {90, kLgb, false}, {91}, {92}});
    ASSERT_EQ(plan.segments().size(), 2u);
    EXPECT_EQ(plan.segments()[0].recordCount, 1u);
    EXPECT_EQ(plan.segments()[1].firstMicroseconds, micro(91));
    // Left-out records are named in the segment of the next exported record.
    EXPECT_EQ(plan.notesOf(plan.segments()[0]).size(), 0u);
    const auto notes = plan.notesOf(plan.segments()[1]);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].reason, LeftOutReason::kStateNotFinite);
    EXPECT_EQ(notes[0].recordIndex, 1u);
    EXPECT_EQ(notes[1].recordIndex, 2u);
}

TEST(MessagePlan, EachMessageLeavesOutWhatItCannotWrite) {
    const std::vector<Step> steps{{0, 0, true, false}, {1, 0, false, true}, {2}};
    const MessagePlan oem = planOf(MessageKind::kOem, steps);
    const MessagePlan aem = planOf(MessageKind::kAem, steps);
    EXPECT_EQ(oem.exportedCount(), 2u);
    EXPECT_EQ(oem.segments()[0].firstMicroseconds, micro(0));
    EXPECT_EQ(aem.exportedCount(), 2u);
    EXPECT_EQ(aem.segments()[0].firstMicroseconds, micro(1));
    EXPECT_EQ(aem.notesOf(aem.segments()[0])[0].reason, LeftOutReason::kNoAttitude);
    EXPECT_EQ(aem.notesOf(aem.segments()[0])[0].recordIndex, 0u);
}

TEST(MessagePlan, ATimeWithoutEpochTextIsLeftOutWithoutOne) {
    std::vector<Step> steps{{0}, {kNaN}, {1}};
    const MessagePlan plan = planOf(MessageKind::kOem, steps);
    ASSERT_EQ(plan.exportedCount(), 2u);
    const PlanNote& note = plan.notesOf(plan.segments()[0])[0];
    EXPECT_EQ(note.reason, LeftOutReason::kTimeNotWritable);
    EXPECT_FALSE(note.hasEpoch);
}

TEST(MessagePlan, FillRunsAreCutBySegmentsAndByRealRecords) {
    const MessagePlan plan =
        planOf(MessageKind::kAem, {{0, kSgf}, {1, kRep}, {2, kSgb | kSgf}, {3, kRep}, {3, kRep}, {4, kRep}, {5, kSgb}});
    const auto notes = plan.notesOf(plan.segments()[0]);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].kind, PlanNote::Kind::kFilled);
    EXPECT_EQ(notes[0].lastMicroseconds, micro(1));
    EXPECT_EQ(notes[1].kind, PlanNote::Kind::kFilled);  // 3 to 4: the repeated 3 does not cut it
    EXPECT_EQ(notes[1].firstMicroseconds, micro(3));
    EXPECT_EQ(notes[1].lastMicroseconds, micro(4));
    EXPECT_EQ(notes[2].kind, PlanNote::Kind::kLeftOut);
}

TEST(MessagePlan, NothingUsableGivesNoSegment) {
    const MessagePlan plan = planOf(MessageKind::kAem, {{0, 0, true, false}, {1, 0, true, false}});
    EXPECT_TRUE(plan.segments().empty());
    EXPECT_EQ(plan.leftOutCount(), 2u);
}

TEST(UnitQuaternion, NormalisesWithoutOverflowOrUnderflow) {
    std::array<double, 4> unit{};
    ASSERT_TRUE(unitQuaternion({0.0, 0.0, 3.0, 4.0}, unit));
    // Two roundings (by the largest component, then by the norm): within an ulp.
    EXPECT_NEAR(unit[2], 0.6, 2e-16);
    EXPECT_NEAR(unit[3], 0.8, 2e-16);
    ASSERT_TRUE(unitQuaternion({1e200, 0.0, 0.0, 1e200}, unit));
    EXPECT_NEAR(unit[0], std::sqrt(0.5), 2.3e-16);  // 1/sqrt(2) through the norm: within two ulps
    ASSERT_TRUE(unitQuaternion({-1e-300, 0.0, 0.0, 0.0}, unit));
    EXPECT_EQ(unit[0], -1.0);
    EXPECT_FALSE(unitQuaternion({0.0, 0.0, 0.0, 0.0}, unit));
    EXPECT_FALSE(unitQuaternion({0.0, kNaN, 0.0, 1.0}, unit));
    EXPECT_FALSE(unitQuaternion({0.0, std::numeric_limits<double>::infinity(), 0.0, 1.0}, unit));
}

}  // namespace
}  // namespace kova::test
