// Kernels written while the records come are the bytes of kernels written at the end, whatever
// the stream meets: hand-overs of any size, a header that grows while the records come, records
// beyond the count hint, a sink that cannot rewrite or fails, a pass that never ends.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "spice/spice_export.h"
#include "tests/spice/synthetic_pass.h"

namespace kova {
namespace {

using test::passRecord;
using test::passTag;
using test::RewritableSink;

// Stretches of the given lengths, more than 60 s apart; with `leftOut`, each stretch has a
// repeated tag and a state with a NaN in its middle, and a lone record follows it.
std::vector<SpiceInputRecord> passOf(const std::vector<std::int64_t>& stretches, bool leftOut) {
    std::vector<SpiceInputRecord> records;
    std::int64_t s = 0;
    const auto give = [&records](SpiceInputRecord record) {
        record.recordNumber = records.size();
        records.push_back(record);
    };
    for (const std::int64_t length : stretches) {
        for (std::int64_t i = 0; i < length; ++i, ++s) {
            give(passRecord(0, passTag(s), i % 50 == 7 ? kFillRecordFlag : 0));
            if (leftOut && i == length / 2) {
                give(passRecord(0, passTag(s)));
                SpiceInputRecord broken = passRecord(0, passTag(s, 9000));
                broken.position[2] = std::numeric_limits<double>::quiet_NaN();
                give(broken);
            }
        }
        s += 100;
        if (leftOut) give(passRecord(0, passTag(s)));
        s += 100;
    }
    return records;
}

struct Written {
    RewritableSink spk;
    RewritableSink ck;
};

// The kernels of `records`: streamed to rewritable sinks with a count hint and hand-overs of
// `handover` records, or (handover 0) written at the end only.
void write(const std::vector<SpiceInputRecord>& records, std::size_t hint, std::size_t handover, Written& out) {
    SpiceKernelSettings settings = test::maruSettings();
    if (handover > 0) settings.recordsPerHandover = handover;
    SpiceKernelSet set(settings, hint, handover > 0 ? KernelStreamSinks{&out.spk, &out.ck} : KernelStreamSinks{});
    for (const SpiceInputRecord& record : records) set.add(record);
    ASSERT_TRUE(set.finish()) << set.error();
    EXPECT_TRUE(set.writeSpk(out.spk)) << set.error();
    EXPECT_TRUE(set.writeCk(out.ck)) << set.error();
    EXPECT_EQ(out.spk.overwritesPastTheEnd + out.ck.overwritesPastTheEnd, 0u);
}

TEST(KernelStream, StreamedKernelsAreTheBytesOfKernelsWrittenAtTheEnd) {
    // The third pass is handed over (before record 3002) while its lone record is the stretch being
    // built: that record leaves the arrays after, and its place goes to the next stretch.
    for (const int pass : {0, 1, 2}) {
        const bool leftOut = pass == 1;
        const std::vector<SpiceInputRecord> records =
            pass < 2 ? passOf({3000, 1500, 2, 700, 3}, leftOut) : passOf({3000, 1, 3000}, false);
        Written reference;
        write(records, 0, 0, reference);
        for (const std::size_t handover : {std::size_t{1}, std::size_t{5}, std::size_t{64}, std::size_t{1000},
                                           std::size_t{3002}, std::size_t{100000}}) {
            Written streamed;
            write(records, records.size(), handover, streamed);
            EXPECT_TRUE(streamed.spk.bytes == reference.spk.bytes) << handover << (leftOut ? " left out" : "");
            EXPECT_TRUE(streamed.ck.bytes == reference.ck.bytes) << handover << (leftOut ? " left out" : "");
        }
    }
}

// One long stretch: the header's size is right from the first hand-over, so the files are
// written once, their first records last, over the room left.
TEST(KernelStream, AHeaderGuessedRightIsWrittenOnceOverItsRoom) {
    const std::vector<SpiceInputRecord> records = passOf({20000}, false);
    Written reference, streamed;
    write(records, 0, 0, reference);
    write(records, records.size(), 1024, streamed);
    // (How far the stream got before the end depends on the threads' timing.)
    for (const RewritableSink* sink : {&streamed.spk, &streamed.ck}) {
        EXPECT_LE(sink->overwrites, 1u);
        EXPECT_EQ(sink->startOvers, 0u);
    }
    EXPECT_TRUE(streamed.spk.bytes == reference.spk.bytes);
    EXPECT_TRUE(streamed.ck.bytes == reference.ck.bytes);
}

// Forty stretches: the comments pass several comment records and the summaries a second
// summary record while the records come, so the room guessed changes until the stream stops;
// the kernels are then written anew, the same bytes.
TEST(KernelStream, AHeaderThatKeepsGrowingStopsTheStreamAndTheKernelsAreWrittenAnew) {
    const std::vector<SpiceInputRecord> records = passOf(std::vector<std::int64_t>(40, 30), true);
    Written reference, streamed;
    write(records, 0, 0, reference);
    write(records, records.size(), 7, streamed);
    EXPECT_TRUE(streamed.spk.bytes == reference.spk.bytes);
    EXPECT_TRUE(streamed.ck.bytes == reference.ck.bytes);
}

// More records than the hint: the arrays must grow (and move), so the stream stops first.
TEST(KernelStream, RecordsBeyondTheHintStopTheStream) {
    const std::vector<SpiceInputRecord> records = passOf({5000, 4000}, true);
    Written reference, streamed;
    write(records, 0, 0, reference);
    write(records, records.size() / 3, 100, streamed);
    EXPECT_TRUE(streamed.spk.bytes == reference.spk.bytes);
    EXPECT_TRUE(streamed.ck.bytes == reference.ck.bytes);
}

// A pipe or a device takes the kernels at the end only.
TEST(KernelStream, ASinkThatCannotRewriteGetsTheKernelAtTheEnd) {
    const std::vector<SpiceInputRecord> records = passOf({3000}, false);
    Written reference;
    write(records, 0, 0, reference);
    test::StringSink spk, ck;
    SpiceKernelSettings settings = test::maruSettings();
    settings.recordsPerHandover = 10;
    SpiceKernelSet set(settings, records.size(), KernelStreamSinks{&spk, &ck});
    for (const SpiceInputRecord& record : records) set.add(record);
    ASSERT_TRUE(set.finish());
    EXPECT_EQ(spk.writes + ck.writes, 0u);
    ASSERT_TRUE(set.writeSpk(spk));
    ASSERT_TRUE(set.writeCk(ck));
    EXPECT_TRUE(spk.bytes == reference.spk.bytes);
    EXPECT_TRUE(ck.bytes == reference.ck.bytes);
}

// A full disk under the SPK while the records come: the stream stops (the sink keeps its
// failure for the run to report), the CK is still whole and nothing waits forever.
TEST(KernelStream, ASinkThatFailsStopsTheStreamAndTheOtherKernelIsWhole) {
    const std::vector<SpiceInputRecord> records = passOf({20000}, false);
    Written reference, streamed;
    write(records, 0, 0, reference);
    streamed.spk.failAt = 100000;
    write(records, records.size(), 512, streamed);
    EXPECT_TRUE(streamed.spk.failed());
    EXPECT_LE(streamed.spk.bytes.size(), 100000u);
    EXPECT_TRUE(streamed.ck.bytes == reference.ck.bytes);
}

// A pass that fails before its end (an input error): the set goes without finish(), and its
// stream, waiting for records, must not hold it.
TEST(KernelStream, ASetThatGoesBeforeTheEndStopsItsStream) {
    const std::vector<SpiceInputRecord> records = passOf({5000}, false);
    RewritableSink spk, ck;
    {
        SpiceKernelSettings settings = test::maruSettings();
        settings.recordsPerHandover = 100;
        SpiceKernelSet set(settings, records.size(), KernelStreamSinks{&spk, &ck});
        for (std::size_t i = 0; i < 3000; ++i) set.add(records[i]);
    }
    EXPECT_EQ(spk.overwrites + ck.overwrites, 0u);  // never ended with a header
}

}  // namespace
}  // namespace kova
