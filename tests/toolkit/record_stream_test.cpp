#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "time/time_scales.h"
#include "time/time_tag.h"
#include "toolkit/layout.h"
#include "toolkit/record_stream.h"

namespace kova {
namespace {

using test::PacketFileBuilder;
using test::TemporaryDirectory;

constexpr std::uint16_t kRep = 1u << qa_flags::kRep;
constexpr std::uint16_t kLgb = 1u << qa_flags::kLgb;
constexpr std::uint16_t kSgb = 1u << qa_flags::kSgb;
constexpr std::uint16_t kSgf = 1u << qa_flags::kSgf;
constexpr std::uint16_t kLgf = 1u << qa_flags::kLgf;

// A time tag as seconds after the test base and a sub-second count.
struct Tag {
    std::uint32_t seconds;
    std::uint16_t subseconds = 0;
};

double julianDateOf(Tag tag) { return julianDateFromTai58(test::kTestBaseSeconds + tag.seconds, tag.subseconds); }

struct Handed {
    double julianDate;
    std::uint16_t flags;
    NavValues values;
    std::uint16_t ownFlags;
    TimeTag tag;
};

struct StreamRun {
    std::vector<Handed> records;
    std::uint32_t recordCount = 0;
    bool endedAtEndOfFile = false;
    SatPass pass;
};

StreamRun runStream(const std::filesystem::path& file, std::uint32_t packetSize = 126) {
    PacketFile packets(file.string(), kNavApid);
    EXPECT_TRUE(packets.good());
    NavRecordStream stream(packets, packetSize);
    StreamRun run;
    while (const NavRecord* record = stream.next()) {
        run.records.push_back(
            {record->julianDate(), stream.currentQaFlags(), record->values(), record->qaFlags(), stream.currentTag()});
    }
    EXPECT_EQ(stream.next(), nullptr);  // stays at the end
    run.recordCount = stream.recordCount();
    run.endedAtEndOfFile = packets.eof();
    run.pass = stream.satPass();
    return run;
}

StreamRun runTags(const std::vector<Tag>& tags) {
    TemporaryDirectory directory;
    PacketFileBuilder builder;
    for (const Tag& tag : tags) builder.navAt(tag.seconds, tag.subseconds);
    return runStream(builder.writeTo(directory.file("pass.kov")));
}

// Expected fill times: one-second steps accumulated from the record before the gap.
std::vector<double> fillTimes(double before, std::size_t count) {
    std::vector<double> times;
    double time = before;
    for (std::size_t k = 0; k < count; ++k) {
        time = time + record_stream::kOneSecond;
        times.push_back(time);
    }
    return times;
}

struct GapCase {
    const char* name;
    Tag after;  // the record after t0 = 3 s
    std::size_t fills;
    std::uint16_t flagsBefore;
    std::uint16_t flagsAfter;
};

// Records at 0, 1, 2, 3 s, then one step, then two more records at one-second steps.
TEST(RecordStreamGaps, FlagsAndFillRecordsPerStep) {
    const GapCase cases[] = {
        {"1.0 s is no gap", {4}, 0, 0, 0},
        {"1.2 s: one fill", {4, 13158}, 1, kSgf, kSgb},
        {"1.5 s: one fill", {4, 32895}, 1, kSgf, kSgb},
        {"2.05 s: one fill", {5, 3289}, 1, kSgf, kSgb},
        {"3 s: two fills", {6}, 2, kSgf, kSgb},
        {"59 s: short, 58 fills", {62}, 58, kSgf, kSgb},
        {"60 s: still short", {63}, 59, kSgf, kSgb},
        {"61 s: long, no fill", {64}, 0, kLgf, kLgb},
        {"duplicate time", {3}, 0, 0, 0},
        {"backward step", {2}, 0, 0, 0},
    };
    for (const GapCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Tag> tags = {{0}, {1}, {2}, {3}, c.after, {c.after.seconds + 1, c.after.subseconds},
                                       {c.after.seconds + 2, c.after.subseconds}};
        const StreamRun run = runTags(tags);
        ASSERT_EQ(run.records.size(), tags.size() + c.fills);
        EXPECT_EQ(run.recordCount, tags.size() + c.fills);
        EXPECT_TRUE(run.endedAtEndOfFile);

        std::vector<double> expectedTimes;
        std::vector<std::uint16_t> expectedFlags;
        for (std::size_t i = 0; i < 4; ++i) {
            expectedTimes.push_back(julianDateOf(tags[i]));
            expectedFlags.push_back(0);
        }
        expectedFlags[3] = c.flagsBefore;
        if (c.fills > 0) {
            for (double time : fillTimes(julianDateOf(tags[3]), c.fills)) {
                expectedTimes.push_back(time);
                expectedFlags.push_back(kRep);
            }
        }
        for (std::size_t i = 4; i < tags.size(); ++i) {
            expectedTimes.push_back(julianDateOf(tags[i]));
            expectedFlags.push_back(i == 4 ? c.flagsAfter : 0);
        }
        for (std::size_t i = 0; i < run.records.size(); ++i) {
            const bool fill = i > 3 && i <= 3 + c.fills;
            const Tag& real = tags[i <= 3 ? i : fill ? 3 : i - c.fills];
            const std::int64_t k = fill ? static_cast<std::int64_t>(i - 3) : 0;
            EXPECT_EQ(run.records[i].tag, (TimeTag{test::kTestBaseSeconds + real.seconds + k, real.subseconds})) << i;
            EXPECT_EQ(run.records[i].julianDate, expectedTimes[i]) << i;
            EXPECT_EQ(run.records[i].flags, expectedFlags[i]) << i;
            EXPECT_EQ(run.records[i].ownFlags, 0) << i;  // handed over, then cleared
        }
        // The fills lie at whole seconds after t0, within the rounding of each addition to
        // a Julian date (half of 2^-31 day, 20 us, per step).
        for (std::size_t k = 1; k <= c.fills; ++k) {
            EXPECT_NEAR((run.records[3 + k].julianDate - run.records[3].julianDate) * 86400.0, double(k),
                        2.1e-5 * double(k));
        }
    }
}

TEST(RecordStreamGaps, RecordCountsAndTheLastRecordsOwnFlags) {
    {
        SCOPED_TRACE("one record");
        const StreamRun run = runTags({{0}});
        ASSERT_EQ(run.records.size(), 1u);
        EXPECT_EQ(run.records[0].flags, 0);
    }
    {
        SCOPED_TRACE("one-second steps");
        std::vector<Tag> tags;
        for (std::uint32_t s = 0; s < 40; ++s) tags.push_back({s});
        const StreamRun run = runTags(tags);
        ASSERT_EQ(run.records.size(), 40u);
        for (const Handed& record : run.records) EXPECT_EQ(record.flags, 0);
    }
    {
        SCOPED_TRACE("long gap before the last record, between two long gaps, short gap first");
        const StreamRun run = runTags({{0}, {3}, {100}, {200}});
        ASSERT_EQ(run.records.size(), 6u);
        EXPECT_EQ(run.recordCount, 6u);
        EXPECT_EQ(run.records[0].flags, kSgf);
        EXPECT_EQ(run.records[1].flags, kRep);
        EXPECT_EQ(run.records[2].flags, kRep);
        EXPECT_EQ(run.records[3].flags, kSgb | kLgf);
        EXPECT_EQ(run.records[4].flags, kLgb | kLgf);
        EXPECT_EQ(run.records[5].flags, kLgb);
    }
}

// Lagrange's form of the interpolating polynomial in long double: an evaluation independent
// of Neville's recursion. The two agree to rounding, which grows with the size of the
// Lagrange terms (large when a wide gap is filled from points clustered at its ends), so the
// tolerance scales with their sum.
struct Independent {
    long double value;
    long double scale;
};

Independent lagrange(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
    Independent result{0.0L, 0.0L};
    for (std::size_t i = 0; i < xs.size(); ++i) {
        long double term = ys[i];
        for (std::size_t j = 0; j < xs.size(); ++j) {
            if (j != i) term *= (static_cast<long double>(x) - xs[j]) / (static_cast<long double>(xs[i]) - xs[j]);
        }
        result.value += term;
        result.scale += std::fabs(term);
    }
    return result;
}

// The points lie at their tags' seconds from the record before the gap, `origin`.
void expectInterpolated(const Handed& fill, const Handed& origin, const std::vector<const Handed*>& points) {
    std::vector<double> xs;
    for (const Handed* point : points) xs.push_back(secondsBetween(origin.tag, point->tag));
    for (std::size_t k = 0; k < 13; ++k) {
        std::vector<double> ys;
        for (const Handed* point : points) ys.push_back(point->values[k]);
        const Independent expected = lagrange(xs, ys, secondsBetween(origin.tag, fill.tag));
        EXPECT_NEAR(fill.values[k], static_cast<double>(expected.value), 1e-12 * static_cast<double>(expected.scale) + 1e-300)
            << "channel " << k;
    }
}

TEST(RecordStreamFill, ValuesInterpolatedFromThreeRecordsEachSide) {
    std::vector<Tag> tags;
    for (std::uint32_t s = 0; s < 10; ++s) tags.push_back({s});
    for (std::uint32_t s = 0; s < 10; ++s) tags.push_back({68 + s});  // a 59 s gap after 9 s
    const StreamRun run = runTags(tags);
    ASSERT_EQ(run.records.size(), 20u + 58u);
    // Before the gap's first fill, record 9 was handed out with records 6 to 12 in the window.
    std::vector<const Handed*> window;
    for (std::size_t i = 6; i <= 9; ++i) window.push_back(&run.records[i]);
    for (std::size_t i = 10 + 58; i <= 12 + 58; ++i) window.push_back(&run.records[i]);
    for (std::size_t f = 10; f < 10 + 58; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(run.records[f].flags, kRep);
        expectInterpolated(run.records[f], run.records[9], window);
    }
    // At the start of the data the window holds the first record and six after it.
    const StreamRun early = runTags({{0}, {3}, {4}, {5}, {6}, {7}, {8}, {9}});
    ASSERT_EQ(early.records.size(), 10u);
    std::vector<const Handed*> firstWindow = {&early.records[0]};
    for (std::size_t i = 3; i < 9; ++i) firstWindow.push_back(&early.records[i]);
    expectInterpolated(early.records[1], early.records[0], firstWindow);
    expectInterpolated(early.records[2], early.records[0], firstWindow);
}

TEST(RecordStreamFill, LastFillTakesTheSlotOfTheRecordBeforeItsGap) {
    // Gap of 3 s after 3 s (fills at 4 and 5 overwrite the slot of 3), then a gap of 2 s
    // after 7 s: its window holds the fill at 5 s in place of the real record at 3 s.
    const StreamRun run = runTags({{0}, {1}, {2}, {3}, {6}, {7}, {9}, {10}, {11}, {12}});
    ASSERT_EQ(run.records.size(), 13u);
    const Handed& fillAt5 = run.records[5];
    const Handed& fillAt8 = run.records[8];
    EXPECT_EQ(fillAt5.flags, kRep);
    EXPECT_EQ(fillAt8.flags, kRep);
    EXPECT_EQ(run.records[6].flags, kSgb);
    EXPECT_EQ(run.records[7].flags, kSgf);
    // Window for the second gap: 2, (fill 5 in the slot of 3), 6, 7, 9, 10, 11.
    expectInterpolated(fillAt8, run.records[7], {&run.records[2], &fillAt5, &run.records[6], &run.records[7], &run.records[9],
                                 &run.records[10], &run.records[11]});
}

TEST(RecordStreamFill, RecordsOfEqualTimeAddOnePointOnly) {
    const StreamRun run = runTags({{0}, {1}, {2}, {2}, {3}, {6}, {7}});
    ASSERT_EQ(run.records.size(), 9u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(run.records[i].flags, i == 4 ? kSgf : 0) << i;
    for (std::size_t f = 5; f < 7; ++f) {
        for (double value : run.records[f].values) EXPECT_TRUE(std::isfinite(value));
        expectInterpolated(run.records[f], run.records[4], {&run.records[0], &run.records[1], &run.records[2], &run.records[4],
                                            &run.records[7], &run.records[8]});
    }
}

TEST(RecordStreamReadFailure, FailedReadLeavesTheWindowIntact) {
    // Records at 0..6 s, one at 9 s, then a navigation packet of the wrong length with wild
    // values. Its read fails when the window is full; it must not take the place of the
    // record at 1 s, which the fill records of the 6 s -> 9 s gap interpolate through.
    generator::NavSample wild = test::smoothSample(test::kTestBaseSeconds + 2);
    for (double& value : wild.values) value = 1.0e9;
    TemporaryDirectory directory;
    PacketFileBuilder builder;
    for (std::uint32_t s = 0; s < 7; ++s) builder.navAt(s);
    builder.navAt(9).navOfSize(214, wild);
    const auto file = builder.writeTo(directory.file("pass.kov"));

    PacketFile packets(file.string(), kNavApid);
    NavRecordStream stream(packets, 126);
    std::vector<Handed> records;
    while (const NavRecord* record = stream.next()) {
        records.push_back({record->julianDate(), stream.currentQaFlags(), record->values(), 0, stream.currentTag()});
    }
    EXPECT_FALSE(packets.eof());  // a read error, not the end of the data
    EXPECT_TRUE(packets.bad());
    EXPECT_EQ(packets.currentIndex(), 8);
    EXPECT_EQ(stream.scratchRecord().packetSize(), 208);  // the failed read's buffer
    ASSERT_EQ(records.size(), 10u);
    const std::vector<const Handed*> window = {&records[1], &records[2], &records[3], &records[4],
                                               &records[5], &records[6], &records[9]};
    expectInterpolated(records[7], records[6], window);
    expectInterpolated(records[8], records[6], window);
}

TEST(RecordStreamReadFailure, TruncatedLastPacketEndsTheDataAtEndOfFile) {
    TemporaryDirectory directory;
    const auto file = PacketFileBuilder().navAt(0).navAt(1).navAt(2).dropLast(30).writeTo(directory.file("t.kov"));
    const StreamRun run = runStream(file);
    EXPECT_EQ(run.records.size(), 2u);
    EXPECT_TRUE(run.endedAtEndOfFile);
}

// A polynomial of degree six in the seconds `x` after a file's first record. Its integer
// coefficients give integer values at whole seconds, which the 48-bit real format holds
// exactly; channel c holds it plus 1000 c.
std::int64_t sextic(std::int64_t x) {
    return 7000000 + x * (7500 + x * (-40 + x * (3 + x * (-2 + x * (1 + x)))));
}

struct PolynomialCase {
    const char* name;
    std::uint32_t firstSeconds;  // tag of the first record: whole seconds, shared count
    std::uint16_t subseconds;
    std::vector<std::uint32_t> offsets;  // seconds of the real records after the first
};

// All records share one sub-second count, so on exact abscissae every point and every fill
// lies at whole seconds from the record before the gap. Then each step of Neville's recursion
// is an integer (the divided differences of a polynomial with integer coefficients are
// integers) and the seven-point interpolation returns the polynomial bit for bit; on Julian
// dates, with their grain of about 40 us, it cannot.
TEST(RecordStreamFill, ReproducesAPolynomialOfDegreeSixOnExactTimes) {
    constexpr std::uint32_t kTopOfTheRange = 0xFFFFFFFFu - 65;  // 2094
    const PolynomialCase cases[] = {
        {"3 s gap inside the data", test::kTestBaseSeconds, 40000, {0, 1, 2, 3, 6, 7, 8, 9}},
        {"59 s gap inside the data", test::kTestBaseSeconds, 123, {0, 1, 2, 3, 62, 63, 64, 65}},
        {"59 s gap after the first record", test::kTestBaseSeconds, 65535, {0, 59, 60, 61, 62, 63, 64}},
        {"two gaps in one window: the second interpolates through the first's last fill",
         test::kTestBaseSeconds, 31000, {0, 1, 2, 3, 6, 7, 9, 10, 11, 12}},
        {"near 1958", 0, 7, {0, 1, 2, 3, 40, 41, 42}},
        {"near 2094", kTopOfTheRange, 65000, {0, 1, 2, 3, 62, 63, 64, 65}},
    };
    for (const PolynomialCase& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDirectory directory;
        PacketFileBuilder builder;
        for (std::uint32_t offset : c.offsets) {
            generator::NavSample sample;
            sample.seconds = c.firstSeconds + offset;
            sample.subseconds = c.subseconds;
            for (std::size_t k = 0; k < 10; ++k) sample.values[k] = static_cast<double>(sextic(offset) + 1000 * k);
            builder.nav(sample);
        }
        const StreamRun run = runStream(builder.writeTo(directory.file("pass.kov")));
        ASSERT_EQ(run.records.size(), std::size_t{c.offsets.back()} + 1 - c.offsets.front());
        for (std::size_t i = 0; i < run.records.size(); ++i) {
            const Handed& record = run.records[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(record.tag, (TimeTag{std::int64_t{c.firstSeconds} + std::int64_t(i), c.subseconds}));
            for (std::size_t k = 0; k < 10; ++k) {
                const double exact = static_cast<double>(sextic(std::int64_t(i)) + 1000 * std::int64_t(k));
                EXPECT_EQ(record.values[k], exact) << "channel " << k;
            }
        }
    }
}

struct StepCase {
    const char* name;
    TimeTag step;      // from each record to the next: (seconds, count difference)
    TimeTag stepBack;  // then this step, which keeps the count in range; none when zero
    std::uint16_t flagsBefore;
    std::size_t fills;
};

// Steps at the edge of a gap class, hundreds of them at different times of day and sub-second
// counts: the class comes from the tags, so it cannot depend on how each time rounds to a
// Julian date.
TEST(RecordStreamGaps, StepsAtTheThresholdsAreClassedOnTheirTags) {
    const StepCase cases[] = {
        {"exactly 60 s: short, 59 fills", {60, 0}, {0, 0}, kSgf, 59},
        {"60 s and one count: long", {60, 1}, {1, 65535}, kLgf, 0},
        {"60 s less one count: short, 59 fills", {60, 65535}, {1, 1}, kSgf, 59},
        {"1.1000008 s: short, one fill", {1, 6579}, {1, 65536 - 6579}, kSgf, 1},
        {"1.0999856 s: no gap", {1, 6578}, {1, 65536 - 6578}, 0, 0},
    };
    constexpr int kSteps = 300;
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A step of (s, d) adds s seconds and d counts (d above 32767 taken as d - 65536).
        const auto signedCount = [](std::uint16_t count) { return count > 32767 ? int(count) - 65536 : int(count); };
        TemporaryDirectory directory;
        PacketFileBuilder builder;
        std::uint32_t seconds = test::kTestBaseSeconds;
        int count = 20000;
        std::size_t packets = 0;
        for (int n = 0; n < kSteps; ++n) {
            builder.navAt(seconds - test::kTestBaseSeconds, static_cast<std::uint16_t>(count));
            seconds += static_cast<std::uint32_t>(c.step.seconds);
            count += signedCount(c.step.subsecondCount);
            builder.navAt(seconds - test::kTestBaseSeconds, static_cast<std::uint16_t>(count));
            seconds += static_cast<std::uint32_t>(c.stepBack.seconds);
            count += signedCount(c.stepBack.subsecondCount);
            packets += 2;
        }
        const StreamRun run = runStream(builder.writeTo(directory.file("pass.kov")));
        EXPECT_EQ(run.records.size(), packets + std::size_t{kSteps} * c.fills);
        std::size_t shortGaps = 0;
        std::size_t longGaps = 0;
        for (const Handed& record : run.records) {
            shortGaps += (record.flags & kSgf) != 0 ? 1 : 0;
            longGaps += (record.flags & kLgf) != 0 ? 1 : 0;
        }
        EXPECT_EQ(shortGaps, c.flagsBefore == kSgf ? std::size_t{kSteps} : 0u);
        EXPECT_EQ(longGaps, c.flagsBefore == kLgf ? std::size_t{kSteps} : 0u);
    }
    // The whole 32-bit range, from 1958 to 2094, is one long gap, not a step back.
    const StreamRun range = runTags({{0u - test::kTestBaseSeconds}, {0xFFFFFFFFu - test::kTestBaseSeconds}});
    ASSERT_EQ(range.records.size(), 2u);
    EXPECT_EQ(range.records[0].flags, kLgf);
    EXPECT_EQ(range.records[1].flags, kLgb);
}

TEST(RecordStreamRevolutions, EveryRecordReachesTheCutter) {
    generator::PassSettings settings;
    settings.durationSeconds = 3 * 6000;  // about three revolutions
    settings.gaps = {{1000, 30}, {9000, 200}};
    TemporaryDirectory directory;
    const auto file = test::writeGeneratedPass(directory.file("pass.kov"), settings);
    const StreamRun run = runStream(file);
    ASSERT_FALSE(run.records.empty());
    EXPECT_EQ(run.records.size(), run.recordCount);
    // An entry at the first record and at every record with z >= 0 after a negative z.
    std::size_t expectedEntries = 1;
    for (std::size_t i = 1; i < run.records.size(); ++i) {
        if (run.records[i].values[2] >= 0.0 && run.records[i - 1].values[2] < 0.0) ++expectedEntries;
    }
    EXPECT_GE(expectedEntries, 3u);
    ASSERT_EQ(run.pass.size(), expectedEntries);
    EXPECT_EQ(run.pass.front().record.julianDate(), run.records.front().julianDate);
    EXPECT_EQ(run.pass.back().lastTime, run.records.back().julianDate);
    EXPECT_EQ(run.records.size(), 18000u - 29u - 199u + 29u);  // the short gap is filled
}

TEST(NevilleInterpolator, RecursionAsWritten) {
    NevilleInterpolator channel;
    EXPECT_EQ(channel.evaluate(1.0), 0.0);
    // Small integers keep every operation exact: the parabola through 0, 1, 4 at 3 is 9.
    channel.addPoint(0.0, 0.0);
    channel.addPoint(1.0, 1.0);
    channel.addPoint(2.0, 4.0);
    EXPECT_EQ(channel.evaluate(3.0), 9.0);
    EXPECT_EQ(channel.evaluate(1.0), 1.0);
    // Out of order points give the same polynomial.
    NevilleInterpolator shuffled;
    shuffled.addPoint(2.0, 4.0);
    shuffled.addPoint(0.0, 0.0);
    shuffled.addPoint(1.0, 1.0);
    EXPECT_EQ(shuffled.evaluate(-2.0), 4.0);

    // Two points: one step of the recursion, bit for bit.
    const double x1 = 2452850.5, x2 = 2452850.5000115740, y1 = 7012345.125, y2 = 7012001.75;
    const double x = 2452850.50000463;
    NevilleInterpolator line;
    line.addPoint(x1, y1);
    line.addPoint(x2, y2);
    EXPECT_EQ(line.evaluate(x), (y1 * (x2 - x) + y2 * (x - x1)) / (x2 - x1));

    NevilleInterpolator full;
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(full.addPoint(i, i));
    EXPECT_FALSE(full.addPoint(7.0, 7.0));
    EXPECT_EQ(full.pointCount(), 7u);
    full.clear();
    EXPECT_EQ(full.pointCount(), 0u);
}

}  // namespace
}  // namespace kova
