#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <thread>
#include <vector>

#include "spice/ephemeris_time.h"
#include "spice/naif_ids.h"
#include "spice/spice_export.h"
#include "spice/tag_text.h"
#include "tests/spice/daf_reader.h"
#include "tests/spice/synthetic_pass.h"

namespace kova {
namespace {

using test::DafReader;
using test::passRecord;
using test::passTag;
using test::StringSink;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A pass with every kind of record the kernels leave out, and the stretch boundaries:
// A: 1 s steps, four fill records, a repeated and an earlier tag, a state with a NaN, a zero
//    quaternion and one with an infinite component;
// a lone record 120 s later; B 61 s after it, steps of 0.608 and 0.392 s, and a last step of
//    exactly 60.0 s (the same stretch); C one count later than 60 s (a new stretch).
struct Pass {
    std::vector<SpiceInputRecord> records;
    std::vector<SpiceInputRecord> exported;
    std::vector<std::vector<std::size_t>> stretches;  // indices into exported
    std::vector<std::pair<std::uint64_t, std::string>> leftOut;
};

Pass makePass() {
    Pass pass;
    std::uint64_t number = 0;
    auto give = [&](SpiceInputRecord record, const char* reason = nullptr) {
        record.recordNumber = number++;
        pass.records.push_back(record);
        if (reason != nullptr) {
            pass.leftOut.emplace_back(record.recordNumber, reason);
        } else {
            pass.exported.push_back(record);
            pass.stretches.back().push_back(pass.exported.size() - 1);
        }
    };
    pass.stretches.emplace_back();
    for (std::int64_t s = 0; s < 250; ++s) {
        SpiceInputRecord record = passRecord(0, passTag(s), s >= 10 && s < 14 ? kFillRecordFlag : 0);
        if (s == 40) {
            record.velocity[1] = kNaN;
            give(record, "not finite");
        } else if (s == 50) {
            record.quaternion = {0, 0, 0, 0};
            give(record, "zero quaternion");
        } else if (s == 60) {
            record.quaternion[2] = -kInfinity;
            give(record, "not finite");
        } else {
            give(record);
        }
        if (s == 20) give(passRecord(0, passTag(20)), "repeated or earlier tag");
        if (s == 30) give(passRecord(0, passTag(25, 7)), "repeated or earlier tag");
    }
    give(passRecord(0, passTag(369)), "single-record stretch");
    pass.stretches.emplace_back();
    for (std::int64_t k = 0; k < 20; ++k) {
        give(passRecord(0, passTag(430 + k)));
        give(passRecord(0, passTag(430 + k, 40000)));
    }
    give(passRecord(0, passTag(449 + 60, 40000)));
    pass.stretches.emplace_back();
    give(passRecord(0, passTag(449 + 120, 40001)));
    give(passRecord(0, passTag(449 + 121)));
    give(passRecord(0, passTag(449 + 122)));
    return pass;
}

struct Kernels {
    DafReader spk, ck;
    std::string sclk, fk, comments;
};

Kernels writePass(const Pass& pass) {
    SpiceKernelSet set(test::maruSettings(), pass.records.size());
    for (const SpiceInputRecord& record : pass.records) set.add(record);
    EXPECT_TRUE(set.finish()) << set.error();
    StringSink spk, ck, sclk, fk;
    EXPECT_TRUE(set.writeSpk(spk)) << set.error();
    EXPECT_TRUE(set.writeCk(ck)) << set.error();
    set.writeSclk(sclk);
    set.writeFk(fk);
    Kernels kernels;
    EXPECT_TRUE(kernels.spk.parse(spk.bytes)) << kernels.spk.error();
    EXPECT_TRUE(kernels.ck.parse(ck.bytes)) << kernels.ck.error();
    kernels.sclk = sclk.bytes;
    kernels.fk = fk.bytes;
    kernels.comments = set.comments();
    return kernels;
}

std::array<double, 4> spiceQuaternionOf(const SpiceInputRecord& record) {
    const auto& q = record.quaternion;
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    return {q[3] / norm, -q[0] / norm, -q[1] / norm, -q[2] / norm};
}

TEST(KernelRoundTrip, EveryStretchIsASegmentAndEveryRecordComesBack) {
    const Pass pass = makePass();
    const Kernels kernels = writePass(pass);
    ASSERT_EQ(kernels.spk.arrays.size(), pass.stretches.size());
    ASSERT_EQ(kernels.ck.arrays.size(), pass.stretches.size());
    for (std::size_t k = 0; k < pass.stretches.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "stretch " << k);
        const std::vector<std::size_t>& stretch = pass.stretches[k];
        const test::DafArrayEntry& spkEntry = kernels.spk.arrays[k];
        const test::DafArrayEntry& ckEntry = kernels.ck.arrays[k];
        const TimeTag first = pass.exported[stretch.front()].tag;
        const TimeTag last = pass.exported[stretch.back()].tag;
        EXPECT_EQ(spkEntry.doubles[0], ephemerisTimeFromTag(first));
        EXPECT_EQ(spkEntry.doubles[1], ephemerisTimeFromTag(last));
        EXPECT_EQ((std::array<std::int32_t, 4>{spkEntry.integers[0], spkEntry.integers[1], spkEntry.integers[2],
                                               spkEntry.integers[3]}),
                  (std::array<std::int32_t, 4>{-190957, 399, 1, 13}));
        EXPECT_EQ(ckEntry.doubles[0], static_cast<double>(clockTicksFromTag(first)));
        EXPECT_EQ(ckEntry.doubles[1], static_cast<double>(clockTicksFromTag(last)));
        EXPECT_EQ((std::array<std::int32_t, 4>{ckEntry.integers[0], ckEntry.integers[1], ckEntry.integers[2],
                                               ckEntry.integers[3]}),
                  (std::array<std::int32_t, 4>{-190957000, 1, 3, 0}));

        const std::vector<double> spk = kernels.spk.arrayWords(spkEntry);
        const std::vector<double> ck = kernels.ck.arrayWords(ckEntry);
        ASSERT_EQ(spk.back(), static_cast<double>(stretch.size()));
        ASSERT_EQ(ck.back(), static_cast<double>(stretch.size()));
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            const SpiceInputRecord& record = pass.exported[stretch[i]];
            SCOPED_TRACE(clockString(record.tag));
            // The array's epoch and clock time lead back to the tag.
            EXPECT_EQ(test::tagFromEphemerisTime(spk[6 * stretch.size() + i]), record.tag);
            EXPECT_EQ(test::tagFromTicks(ck[4 * stretch.size() + i]), record.tag);

            const auto state = test::spkType13State(spk, ephemerisTimeFromTag(record.tag));
            ASSERT_TRUE(state.has_value());
            const std::array<double, 6> expected = {record.position[0] / 1000, record.position[1] / 1000,
                                                    record.position[2] / 1000, record.velocity[0] / 1000,
                                                    record.velocity[1] / 1000, record.velocity[2] / 1000};
            for (int j = 0; j < 6; ++j) {
                const double scale = j < 3 ? 7000.0 : 7.5;
                EXPECT_NEAR((*state)[j], expected[j], 1e-9 * scale) << j;
            }
            const auto quaternion = test::ckType3Quaternion(ck, static_cast<double>(clockTicksFromTag(record.tag)));
            ASSERT_TRUE(quaternion.has_value());
            const std::array<double, 4> expectedQuaternion = spiceQuaternionOf(record);
            for (int j = 0; j < 4; ++j) EXPECT_NEAR((*quaternion)[j], expectedQuaternion[j], 1e-12) << j;
        }
    }
}

// Between two records the SPK's cubic stays on the orbit and the CK turns at the constant rate.
TEST(KernelRoundTrip, BetweenRecords) {
    const Pass pass = makePass();
    const Kernels kernels = writePass(pass);
    const std::vector<double> spk = kernels.spk.arrayWords(kernels.spk.arrays[0]);
    const std::vector<double> ck = kernels.ck.arrayWords(kernels.ck.arrays[0]);
    for (std::int64_t s : {0, 100, 248}) {
        const TimeTag a = passTag(s), b = passTag(s + 1);
        const double et = 0.5 * (ephemerisTimeFromTag(a) + ephemerisTimeFromTag(b));
        const auto state = test::spkType13State(spk, et);
        ASSERT_TRUE(state.has_value());
        const std::array<double, 6> truth = test::passStateKm(static_cast<double>(s) + 0.5);
        for (int j = 0; j < 3; ++j) EXPECT_NEAR((*state)[j], truth[j], 1e-6) << s;  // 1 mm
        for (int j = 3; j < 6; ++j) EXPECT_NEAR((*state)[j], truth[j], 1e-8) << s;

        const double ticks = 0.5 * static_cast<double>(clockTicksFromTag(a) + clockTicksFromTag(b));
        const auto quaternion = test::ckType3Quaternion(ck, ticks);
        ASSERT_TRUE(quaternion.has_value());
        const std::array<double, 4> q = test::passNavigationQuaternion(static_cast<double>(s) + 0.5);
        const std::array<double, 4> truthQuaternion = {q[3], -q[0], -q[1], -q[2]};
        for (int j = 0; j < 4; ++j) EXPECT_NEAR((*quaternion)[j], truthQuaternion[j], 1e-12) << s;
    }
}

// The records left out are named in record order with their reasons, the segments with their
// clock texts (which give the tags' ticks), and the text kernels carry the same lines.
TEST(KernelRoundTrip, CommentsNameSegmentsAndRecordsLeftOut) {
    const Pass pass = makePass();
    const Kernels kernels = writePass(pass);
    EXPECT_EQ(kernels.spk.comments, kernels.ck.comments);
    std::vector<std::string> leftOutLines, segmentLines;
    for (const std::string& line : kernels.spk.comments) {
        if (line.rfind("left out: ", 0) == 0) leftOutLines.push_back(line);
        if (line.rfind("segment ", 0) == 0) segmentLines.push_back(line);
    }
    ASSERT_EQ(leftOutLines.size(), pass.leftOut.size());
    for (std::size_t i = 0; i < pass.leftOut.size(); ++i) {
        const auto& [number, reason] = pass.leftOut[i];
        EXPECT_EQ(leftOutLines[i], "left out: record " + std::to_string(number) + " at " +
                                       clockString(pass.records[number].tag) + ": " + reason);
    }
    ASSERT_EQ(segmentLines.size(), pass.stretches.size());
    for (std::size_t k = 0; k < pass.stretches.size(); ++k) {
        // "segment k of n: 1/S.T to 1/S.T, N records, F fill records"
        std::istringstream in(segmentLines[k].substr(segmentLines[k].find(": ") + 2));
        std::string firstText, to, lastText;
        in >> firstText >> to >> lastText;
        auto ticksOf = [](const std::string& text) {
            const std::size_t dot = text.find('.');
            return std::stoll(text.substr(2, dot - 2)) * 10000000 + std::stoll(text.substr(dot + 1, 7));
        };
        EXPECT_EQ(ticksOf(firstText), static_cast<std::int64_t>(kernels.ck.arrays[k].doubles[0]));
        EXPECT_EQ(ticksOf(lastText.substr(0, lastText.size() - 1)),
                  static_cast<std::int64_t>(kernels.ck.arrays[k].doubles[1]));
    }
    EXPECT_NE(segmentLines[0].find(", 247 records, 4 fill records"), std::string::npos) << segmentLines[0];
    EXPECT_NE(kernels.comments.find("records exported: 291, fill records: 4, segments: 3, records left out: 6\n"),
              std::string::npos);
    EXPECT_NE(kernels.comments.find("span (TAI): 2003-07-30T12:00:00.0000000 to 2003-07-30T12:09:31.0000000\n"),
              std::string::npos);
    for (const std::string* text : {&kernels.sclk, &kernels.fk}) {
        const std::size_t data = text->find("\\begindata\n");
        ASSERT_NE(data, std::string::npos);
        EXPECT_NE(text->substr(0, data).find(kernels.comments), std::string::npos);
    }
}

// The quaternion of the packets, q4 scalar last, becomes the conjugate with the scalar first,
// normalised: its C-matrix is the navigation attitude matrix.
TEST(KernelRoundTrip, QuaternionTestVectors) {
    const double h = 0.70710678118654752;
    const struct {
        std::array<double, 4> navigation;
        std::array<double, 4> spice;
    } cases[] = {
        {{0, 0, h, h}, {h, 0, 0, -h}},
        {{0.1, -0.3, 0.5, 0.8}, {0.80403025, -0.10050378, 0.30151134, -0.50251891}},
        {{0, 0, 0, -2}, {-1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SpiceKernelSet set(test::maruSettings(), 2);
        for (std::int64_t s = 0; s < 2; ++s) {
            SpiceInputRecord record = passRecord(static_cast<std::uint64_t>(s), passTag(s));
            record.quaternion = c.navigation;
            set.add(record);
        }
        ASSERT_TRUE(set.finish());
        StringSink sink;
        ASSERT_TRUE(set.writeCk(sink));
        DafReader ck;
        ASSERT_TRUE(ck.parse(sink.bytes));
        const std::vector<double> words = ck.arrayWords(ck.arrays[0]);
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(words[static_cast<std::size_t>(j)], c.spice[j], 5e-9);
    }
    // +90 degrees about Z: the body's x axis is J2000's y.
    const auto c = test::cMatrixOfQuaternion({h, 0, 0, -h});
    const std::array<std::array<double, 3>, 3> expected = {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(c[i][j], expected[i][j], 1e-15);
    }
}

// Nothing to write: no stretch of two records, or no valid spacecraft ID. The message names
// what to do.
TEST(KernelRoundTrip, RefusalsNameTheRemedy) {
    auto zeroQuaternion = [](std::int64_t s) {
        SpiceInputRecord record = passRecord(0, passTag(s));
        record.quaternion = {0, 0, 0, 0};
        return record;
    };
    const struct {
        const char* name;
        std::vector<SpiceInputRecord> records;
        std::int32_t spacecraftId;
        const char* message;
    } cases[] = {
        {"no records", {}, -190957, "use a packet file of a longer pass"},
        {"one record", {passRecord(0, passTag(0))}, -190957, "no stretch of two or more records"},
        {"61 s apart", {passRecord(0, passTag(0)), passRecord(1, passTag(61))}, -190957, "2 records, 2 left out"},
        {"repeated", {passRecord(0, passTag(5)), passRecord(1, passTag(5))}, -190957, "no stretch of two"},
        {"zero quaternions", {zeroQuaternion(0), zeroQuaternion(1)}, -190957, "no stretch of two"},
        {"ID zero", {passRecord(0, passTag(0)), passRecord(1, passTag(1))}, 0, "give --naif-id"},
        {"ID too low", {passRecord(0, passTag(0)), passRecord(1, passTag(1))}, -2147484, "give --naif-id"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SpiceKernelSettings settings = test::maruSettings();
        settings.spacecraftId = c.spacecraftId;
        SpiceKernelSet set(settings, 0);
        for (const SpiceInputRecord& record : c.records) set.add(record);
        EXPECT_FALSE(set.finish());
        EXPECT_NE(set.error().find(c.message), std::string::npos) << set.error();
        StringSink sink;
        EXPECT_FALSE(set.writeSpk(sink));
        EXPECT_TRUE(sink.bytes.empty());
    }
    // Without the states kept there is no SPK, and the CK still comes.
    SpiceKernelSettings settings = test::maruSettings();
    settings.keepStates = false;
    SpiceKernelSet set(settings, 2);
    set.add(passRecord(0, passTag(0)));
    set.add(passRecord(1, passTag(1)));
    ASSERT_TRUE(set.finish());
    StringSink spk, ck;
    EXPECT_FALSE(set.writeSpk(spk));
    EXPECT_TRUE(set.writeCk(ck));
    EXPECT_EQ(ck.bytes.size(), 5120u);
}

// The held records grow past their first capacity without a count hint (and past a hint too
// small), and the kernels are the same bytes as with an exact hint.
TEST(KernelRoundTrip, SameBytesWhateverTheCountHint) {
    std::string reference;
    for (const std::size_t hint : {std::size_t{10000}, std::size_t{0}, std::size_t{3}}) {
        SpiceKernelSet set(test::maruSettings(), hint);
        for (std::int64_t s = 0; s < 10000; ++s) set.add(passRecord(static_cast<std::uint64_t>(s), passTag(s + s / 3000 * 100)));
        ASSERT_TRUE(set.finish());
        StringSink spk, ck;
        ASSERT_TRUE(set.writeSpk(spk));
        ASSERT_TRUE(set.writeCk(ck));
        EXPECT_EQ(set.segments().size(), 4u);
        if (reference.empty()) reference = spk.bytes + ck.bytes;
        EXPECT_TRUE(spk.bytes + ck.bytes == reference) << "hint " << hint;
        EXPECT_LE(spk.writes, 2u);  // blocks of a megabyte, not one per record
    }
}

// Epochs computed ahead in slices, on threads at once as kovaexport does, give the SPK the
// epochs it computes alone: every slice boundary, more slices than records, a slice left out.
TEST(KernelRoundTrip, EpochsComputedAheadInSlicesAreTheEpochsOfTheSpk) {
    const auto spkOf = [](std::size_t parts, std::size_t skipped) {
        SpiceKernelSet set(test::maruSettings(), 0);
        for (std::int64_t s = 0; s < 1001; ++s) set.add(passRecord(static_cast<std::uint64_t>(s), passTag(s, 17)));
        EXPECT_TRUE(set.finish());
        std::vector<std::thread> threads;
        for (std::size_t part = 0; part < parts; ++part) {
            if (part == skipped) continue;
            if (parts <= 4) threads.emplace_back([&set, part, parts] { set.prepareEpochs(part, parts); });
            else set.prepareEpochs(part, parts);
        }
        for (std::thread& thread : threads) thread.join();
        StringSink spk;
        EXPECT_TRUE(set.writeSpk(spk));
        return spk.bytes;
    };
    const std::string alone = spkOf(0, 0);
    EXPECT_TRUE(spkOf(2, 2) == alone);
    EXPECT_TRUE(spkOf(3, 3) == alone);
    EXPECT_TRUE(spkOf(1500, 1500) == alone);  // most slices empty
    EXPECT_TRUE(spkOf(3, 1) == alone);        // one slice never computed: the SPK computes them all
}

// Stretches long enough for their held values to go to the file straight from memory, beside
// a short one that goes through the writer's buffer: every state and quaternion where it
// belongs, in order.
TEST(KernelRoundTrip, LongStretchesWrittenFromTheHeldValuesComeBackWhole) {
    constexpr std::int64_t kLong = 40000;  // 240,000 state words: several blocks of 4 MiB
    SpiceKernelSet set(test::maruSettings(), 0);
    std::vector<SpiceInputRecord> given;
    for (std::int64_t s = 0; s < kLong + 5; ++s) {
        given.push_back(passRecord(static_cast<std::uint64_t>(s), passTag(s < kLong ? s : s + 100)));
        set.add(given.back());
    }
    ASSERT_TRUE(set.finish());
    StringSink spkBytes, ckBytes;
    ASSERT_TRUE(set.writeSpk(spkBytes));
    ASSERT_TRUE(set.writeCk(ckBytes));
    test::DafReader spk, ck;
    ASSERT_TRUE(spk.parse(spkBytes.bytes)) << spk.error();
    ASSERT_TRUE(ck.parse(ckBytes.bytes)) << ck.error();
    ASSERT_EQ(spk.arrays.size(), 2u);
    std::size_t record = 0;
    for (std::size_t k = 0; k < 2; ++k) {
        const std::vector<double> states = spk.arrayWords(spk.arrays[k]);
        const std::vector<double> quaternions = ck.arrayWords(ck.arrays[k]);
        const auto count = static_cast<std::size_t>(states.back());
        for (std::size_t i = 0; i < count; ++i, ++record) {
            const SpiceInputRecord& in = given[record];
            ASSERT_EQ(states[6 * i], in.position[0] / 1000.0) << record;
            ASSERT_EQ(states[6 * i + 5], in.velocity[2] / 1000.0) << record;
            ASSERT_EQ(quaternions[4 * i + 1], -in.quaternion[0] / std::sqrt(in.quaternion[0] * in.quaternion[0] +
                                                                           in.quaternion[1] * in.quaternion[1] +
                                                                           in.quaternion[2] * in.quaternion[2] +
                                                                           in.quaternion[3] * in.quaternion[3]))
                << record;
        }
    }
    EXPECT_EQ(record, given.size());
}

}  // namespace
}  // namespace kova
