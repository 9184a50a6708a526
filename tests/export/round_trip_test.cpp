// Whole exports read back and compared with the toolkit files kova writes for the same packet
// file: every epoch is the record's time to the microsecond, every state the record's value in
// km and km/s to the printed digit, every quaternion turns the body axes as the packet
// quaternion does; segments end at long gaps, fills are kept and named, duplicates and
// backward steps are left out and named; the acceptance checker takes every file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/big_endian.h"
#include "export/kvn_text.h"
#include "generator/element_set.h"
#include "generator/pass_time.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "tests/export/message_reader.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "time/time_scales.h"
#include "toolkit/attitude_angles.h"
#include "toolkit/layout.h"
#include "toolkit/record_stream.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCreationDate = "2026-12-09T10:00:00";
constexpr std::uint16_t kFilledFlag = 1u << qa_flags::kRep;
constexpr const char* kLongGapComment = "Follows a long gap: no interpolation across the previous segment.";

// One record as kova wrote it, with the quaternion of the stream record it came from.
struct KovaRecord {
    double time = 0.0;
    std::array<double, 3> position{};
    std::array<double, 3> velocity{};
    std::array<double, 3> angles{};
    std::uint16_t flags = 0;
    std::array<double, 4> quaternion{};
};

std::vector<KovaRecord> kovaRecords(const fs::path& packets, const fs::path& eph, const fs::path& att,
                                    std::uint32_t packetSize) {
    const std::vector<std::uint8_t> ephBytes = readBytes(eph);
    const std::vector<std::uint8_t> attBytes = readBytes(att);
    const std::uint32_t count = be::loadU32(ephBytes.data() + toolkit_header::kRecordCount);
    std::vector<KovaRecord> records(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = ephBytes.data() + kFileHeaderSize + 64 * std::size_t{i};
        const std::uint8_t* a = attBytes.data() + kFileHeaderSize + 64 * std::size_t{i};
        KovaRecord& record = records[i];
        record.time = be::loadF64(e + ephemeris_record::kTime);
        for (std::size_t k = 0; k < 3; ++k) {
            record.position[k] = be::loadF64(e + ephemeris_record::kPosition + 8 * k);
            record.velocity[k] = be::loadF64(e + ephemeris_record::kVelocity + 8 * k);
            record.angles[k] = be::loadF64(a + attitude_record::kAngles + 8 * k);
        }
        record.flags = static_cast<std::uint16_t>(be::loadU32(e + ephemeris_record::kQaFlags));
    }
    // The quaternions are not in the toolkit files: they come from the same stream kova runs.
    // That they are kova's is shown by the attitude angles they give, compared bit for bit.
    PacketFile file(packets.string(), kNavApid);
    NavRecordStream stream(file, packetSize);
    std::size_t n = 0;
    for (const NavRecord* record = stream.next(); record != nullptr; record = stream.next(), ++n) {
        EXPECT_LT(n, records.size());
        if (n >= records.size()) break;
        records[n].quaternion = record->attitude();
        EXPECT_EQ(attitudeAngles(*record), records[n].angles) << "record " << n;
    }
    EXPECT_EQ(n, records.size());
    return records;
}

// The rotation matrix of a quaternion (scalar last) divided by its squared norm.
std::array<double, 9> rotationOf(const std::array<double, 4>& q) {
    const double n = q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3];
    const auto [a, b, c, d] = q;
    return {(a * a - b * b - c * c + d * d) / n, 2 * (a * b + c * d) / n, 2 * (a * c - b * d) / n,
            2 * (a * b - c * d) / n, (-a * a + b * b - c * c + d * d) / n, 2 * (b * c + a * d) / n,
            2 * (a * c + b * d) / n, 2 * (b * c - a * d) / n, (-a * a - b * b + c * c + d * d) / n};
}

struct Expected {
    std::vector<std::size_t> exported;              // record numbers, in order
    std::vector<std::size_t> segmentStarts;         // positions in `exported`
    std::vector<std::size_t> leftOut;
};

// The rules of the reference, applied to kova's records the simplest way.
Expected expectedExport(const std::vector<KovaRecord>& records) {
    Expected expected;
    std::string last;
    bool breakPending = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].flags & (1u << qa_flags::kLgb)) breakPending = true;
        std::int64_t microseconds = 0;
        EXPECT_TRUE(kvn::microsecondsSince1993(records[i].time, microseconds));
        char text[kvn::kEpochTextSize];
        kvn::writeEpoch(text, microseconds);
        const std::string epoch(text, sizeof text);
        if (!last.empty() && epoch <= last) {
            expected.leftOut.push_back(i);
        } else {
            if (expected.exported.empty() || breakPending) expected.segmentStarts.push_back(expected.exported.size());
            breakPending = false;
            expected.exported.push_back(i);
            last = epoch;
        }
        if (records[i].flags & (1u << qa_flags::kLgf)) breakPending = true;
    }
    return expected;
}

struct Outcome {
    std::vector<KovaRecord> records;
    Message oem;
    Message aem;
};

class RoundTrip : public ::testing::Test {
protected:
    // kova and kovaexport on pass.kov in `dir`; every check that does not depend on the case.
    Outcome exportAndCompare(const std::string& satellite = "MARU", std::uint32_t packetSize = kNavPacketSize) {
        Outcome outcome;
        const ProgramRun kova = runKovaProgram({"-packetfile", dir.file("pass.kov").string(), "-noradsatname", satellite});
        EXPECT_EQ(kova.status, 0) << kova.err;
        const ProgramRun run = runKovaExport({dir.file("pass.kov").string(), "--satellite", satellite,
                                              "--creation-date", kCreationDate});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        for (const std::string& verdict : checkerVerdicts({dir.file("pass.oem"), dir.file("pass.aem")})) {
            EXPECT_EQ(verdict.substr(0, 3), "OK ") << verdict;
        }
        outcome.records = kovaRecords(dir.file("pass.kov"), dir.file("pass.eph"), dir.file("pass.att"), packetSize);
        outcome.oem = readMessage(dir.file("pass.oem"));
        outcome.aem = readMessage(dir.file("pass.aem"));
        compare(outcome);
        return outcome;
    }

    void compare(const Outcome& outcome) {
        const Expected expected = expectedExport(outcome.records);
        for (const Message* message : {&outcome.oem, &outcome.aem}) {
            const bool oem = message == &outcome.oem;
            SCOPED_TRACE(oem ? "OEM" : "AEM");
            ASSERT_EQ(message->segments.size(), expected.segmentStarts.size());
            std::size_t position = 0;
            for (std::size_t s = 0; s < message->segments.size(); ++s) {
                const MessageSegment& segment = message->segments[s];
                ASSERT_EQ(position, expected.segmentStarts[s]);
                ASSERT_FALSE(segment.lines.empty());
                EXPECT_EQ(segment.meta.at("START_TIME"), segment.lines.front().epoch);
                EXPECT_EQ(segment.meta.at("STOP_TIME"), segment.lines.back().epoch);
                EXPECT_EQ(segment.meta.at("TIME_SYSTEM"), "TAI");
                EXPECT_EQ(segment.meta.count("INTERPOLATION_DEGREE"), segment.lines.size() > 1 ? 1u : 0u);
                for (const DataLine& line : segment.lines) {
                    ASSERT_LT(position, expected.exported.size());
                    const std::size_t index = expected.exported[position++];
                    const KovaRecord& record = outcome.records[index];
                    // Rounded to 1 us, then read back through a double near 1e9 s (ulp 1.2e-7 s).
                    EXPECT_NEAR(tai93FromEpochText(line.epoch), record.time, 0.5e-6 + 2.5e-7) << line.epoch;
                    if (oem) {
                        checkState(line, record);
                    } else {
                        checkAttitude(line, record);
                    }
                    if (record.flags & kFilledFlag) {
                        EXPECT_TRUE(namedAsFilled(segment, line.epoch)) << line.epoch;
                    }
                }
            }
            EXPECT_EQ(position, expected.exported.size());
            for (std::size_t index : expected.leftOut) {
                const std::string name = "Left out: record " + std::to_string(index) + " at ";
                bool named = false;
                for (const MessageSegment& segment : message->segments) {
                    for (const std::string& comment : segment.comments) named = named || comment.rfind(name, 0) == 0;
                }
                EXPECT_TRUE(named) << "record " << index;
            }
        }
    }

    static void checkState(const DataLine& line, const KovaRecord& record) {
        ASSERT_EQ(line.values.size(), 6u);
        for (std::size_t k = 0; k < 3; ++k) {
            // Half a unit of the last printed digit, and the parse of the text (ulp 1e-12 km).
            EXPECT_NEAR(line.values[k], record.position[k] / 1000.0, 0.5e-9 + 1e-12) << line.fields[k];
            EXPECT_NEAR(line.values[3 + k], record.velocity[k] / 1000.0, 0.5e-12 + 1e-15) << line.fields[3 + k];
        }
    }

    static void checkAttitude(const DataLine& line, const KovaRecord& record) {
        ASSERT_EQ(line.values.size(), 4u);
        const std::array<double, 4> written{line.values[0], line.values[1], line.values[2], line.values[3]};
        const double norm = std::sqrt(written[0] * written[0] + written[1] * written[1] + written[2] * written[2] +
                                      written[3] * written[3]);
        EXPECT_NEAR(norm, 1.0, 1e-14);
        const std::array<double, 9> fromMessage = rotationOf(written);
        const std::array<double, 9> fromPacket = rotationOf(record.quaternion);
        // Each component printed to 1e-15; a matrix element sums products of two of them.
        for (std::size_t k = 0; k < 9; ++k) EXPECT_NEAR(fromMessage[k], fromPacket[k], 1e-14) << k;
    }

    static bool namedAsFilled(const MessageSegment& segment, const std::string& epoch) {
        const std::string prefix = "Filled by interpolation (short gap): ";
        for (const std::string& comment : segment.comments) {
            if (comment.rfind(prefix, 0) != 0) continue;
            const std::string first = comment.substr(prefix.size(), kvn::kEpochTextSize);
            const std::size_t to = comment.find(" to ");
            const std::string last = to == std::string::npos ? first : comment.substr(to + 4, kvn::kEpochTextSize);
            if (first <= epoch && epoch <= last) return true;
        }
        return false;
    }

    TemporaryDirectory dir;
};

generator::PassSettings passWith(std::uint32_t duration, std::vector<generator::PassGap> gaps) {
    generator::PassSettings settings;
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = duration;
    settings.gaps = std::move(gaps);
    return settings;
}

TEST_F(RoundTrip, GapsOfEveryClassDuplicatesAndOtherApids) {
    // 2 s and 5 s: filled; 59 s: the longest short gap (58 fills); 61 s and 600 s: long.
    generator::PassSettings settings = passWith(7200, {{1000, 2}, {2000, 5}, {3000, 59}, {4000, 61}, {5000, 600}});
    settings.duplicates = {100, 2500, 6500};
    settings.otherPacketsPerNavPacket = 1;
    writeGeneratedPass(dir.file("pass.kov"), settings);
    const Outcome outcome = exportAndCompare();
    EXPECT_EQ(outcome.oem.segments.size(), 3u);
    EXPECT_EQ(outcome.oem.segments[1].comments.front(), kLongGapComment);
    EXPECT_EQ(outcome.aem.segments[0].meta.at("INTERPOLATION_DEGREE"), "5");
    std::size_t filled = 0;
    for (const KovaRecord& record : outcome.records) filled += (record.flags & kFilledFlag) != 0;
    EXPECT_EQ(filled, 1u + 4u + 58u);
}

TEST_F(RoundTrip, WidePacketsOfTheSatelliteThatHasThem) {
    generator::PassSettings settings = passWith(600, {{200, 3}, {400, 100}});
    settings.packetSize = kWideNavPacketSize;
    writeGeneratedPass(dir.file("pass.kov"), settings);
    const Outcome outcome = exportAndCompare("SELA", kWideNavPacketSize);
    EXPECT_EQ(outcome.aem.segments.size(), 2u);
}

TEST_F(RoundTrip, ARecordBetweenTwoLongGapsIsASegmentOfItsOwnWithoutInterpolation) {
    writeGeneratedPass(dir.file("pass.kov"), passWith(400, {{100, 90}, {190, 90}}));
    const Outcome outcome = exportAndCompare();
    ASSERT_EQ(outcome.oem.segments.size(), 3u);
    EXPECT_EQ(outcome.oem.segments[1].lines.size(), 1u);
    EXPECT_EQ(outcome.oem.segments[1].meta.count("INTERPOLATION"), 0u);
    EXPECT_EQ(outcome.aem.segments[1].meta.count("INTERPOLATION_METHOD"), 0u);
}

TEST_F(RoundTrip, APassThatIsOneLongGapAfterAnother) {
    std::vector<generator::PassGap> gaps;
    for (std::uint32_t start = 0; start < 1400; start += 70) gaps.push_back({start, 70});
    writeGeneratedPass(dir.file("pass.kov"), passWith(1401, gaps));
    const Outcome outcome = exportAndCompare();
    EXPECT_EQ(outcome.oem.segments.size(), 21u);
    for (const MessageSegment& segment : outcome.aem.segments) EXPECT_EQ(segment.lines.size(), 1u);
}

TEST_F(RoundTrip, BackwardStepsAndRepeatsAreLeftOutAndNamed) {
    // 0 1 2 3 | back to 2 | 4 (a 2 s step from the 2: its fill at 3 repeats an epoch) 5 5 6 | 100 101
    PacketFileBuilder builder;
    for (std::uint32_t t : {0u, 1u, 2u, 3u, 2u, 4u, 5u, 5u, 6u, 100u, 101u}) builder.navAt(t);
    builder.other(100, 40);
    builder.writeTo(dir.file("pass.kov"));
    const Outcome outcome = exportAndCompare();
    EXPECT_EQ(outcome.records.size(), 12u);  // 11 real records and the fill at 3
    EXPECT_EQ(outcome.oem.segments.size(), 2u);
    EXPECT_EQ(outcome.oem.segments[0].lines.size(), 7u);  // 0 1 2 3 4 5 6
    std::size_t leftOut = 0;
    for (const std::string& comment : outcome.oem.segments[0].comments) leftOut += comment.rfind("Left out", 0) == 0;
    EXPECT_EQ(leftOut, 3u);  // the 2 after 3, the fill at 3, the second 5
}

// The shape of the reference's own example: the same epochs, fills, segments and metadata.
TEST_F(RoundTrip, EpochsAndSegmentsOfTheReferenceExample) {
    const auto tai58 = static_cast<std::uint32_t>((kvn::daysFromCivil(2025, 1, 1) - kvn::daysFromCivil(1958, 1, 1)) * 86400);
    PacketFileBuilder builder;
    for (std::uint32_t t : {0u, 1u, 2u, 3u, 4u, 7u, 8u, 130u, 131u, 132u, 133u}) builder.nav(smoothSample(tai58 + t));
    builder.writeTo(dir.file("pass.kov"));
    const Outcome outcome = exportAndCompare();
    const fs::path sample = fs::path(KOVA_SOURCE_DIR) / ".." / "shared" / "ccsds-samples" / "kova-shape";
    if (!fs::exists(sample)) GTEST_SKIP() << "no reference samples beside the source tree";
    for (const auto& [written, name] : {std::pair{&outcome.oem, "example.oem"}, std::pair{&outcome.aem, "example.aem"}}) {
        const Message reference = readMessage(sample / name);
        EXPECT_EQ(written->versionLine, reference.versionLine);
        EXPECT_EQ(written->header.at("CREATION_DATE"), reference.header.at("CREATION_DATE"));
        EXPECT_EQ(written->header.at("ORIGINATOR"), reference.header.at("ORIGINATOR"));
        ASSERT_EQ(written->segments.size(), reference.segments.size());
        for (std::size_t s = 0; s < reference.segments.size(); ++s) {
            EXPECT_EQ(written->segments[s].meta, reference.segments[s].meta) << name << " segment " << s;
            // The reference's AEM leaves the long-gap comment out; kovaexport writes it in both.
            std::vector<std::string> comments = written->segments[s].comments;
            if (written == &outcome.aem && s > 0) std::erase(comments, kLongGapComment);
            EXPECT_EQ(comments, reference.segments[s].comments) << name << " segment " << s;
            ASSERT_EQ(written->segments[s].lines.size(), reference.segments[s].lines.size());
            for (std::size_t n = 0; n < reference.segments[s].lines.size(); ++n) {
                EXPECT_EQ(written->segments[s].lines[n].epoch, reference.segments[s].lines[n].epoch);
            }
        }
    }
}

TEST_F(RoundTrip, TheOemFromTheEphemerisFileEqualsTheOemFromThePacketFile) {
    generator::PassSettings settings = passWith(3000, {{500, 4}, {1500, 300}});
    settings.duplicates = {700};
    writeGeneratedPass(dir.file("pass.kov"), settings);
    {
        std::ofstream norad(dir.file("norad.tle"));
        generator::writeNoradFile(norad, settings.elementSet);
    }
    ASSERT_EQ(runKovaProgram({"-packetfile", dir.file("pass.kov").string()}).status, 0);
    const std::vector<std::string> common{"--norad", dir.file("norad.tle").string(), "--creation-date", kCreationDate};
    std::vector<std::string> fromPackets{dir.file("pass.kov").string()};
    fromPackets.insert(fromPackets.end(), common.begin(), common.end());
    std::vector<std::string> fromEphemeris{"--from-ephemeris", dir.file("pass.eph").string(), "--oem",
                                           dir.file("eph.oem").string()};
    fromEphemeris.insert(fromEphemeris.end(), common.begin(), common.end());
    ASSERT_EQ(runKovaExport(fromPackets).status, 0);
    const ProgramRun run = runKovaExport(fromEphemeris);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readText(dir.file("eph.oem")), readText(dir.file("pass.oem")));
    EXPECT_FALSE(fs::exists(dir.file("pass.eph.aem")));
    const Message oem = readMessage(dir.file("eph.oem"));
    EXPECT_EQ(oem.segments[0].meta.at("OBJECT_ID"), "2002-901A");
    EXPECT_EQ(oem.segments[0].meta.at("OBJECT_NAME"), "KALPM1");
}

}  // namespace
}  // namespace kova::test
