// Whole kova runs in-process on generated passes: the files' sizes, headers, records,
// flags and orbit metadata agree with each other and with the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/big_endian.h"
#include "generator/pass_time.h"
#include "packets/nav_record.h"
#include "tests/e2e/run_fixture.h"
#include "tests/support/packet_file_builder.h"
#include "time/time_scales.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {
namespace fs = std::filesystem;
namespace th = toolkit_header;
namespace eh = ephemeris_header;
namespace om = orbit_metadata_record;

constexpr std::size_t kRecordsStart = kFileHeaderSize;
constexpr double kNodeTimeNotSet = -211592606427.0;  // Julian date 0 in TAI93 seconds

generator::PassSettings twoHourPass() {
    generator::PassSettings settings;
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = 7200;
    settings.gaps = {{1800, 5}, {3600, 90}};
    return settings;
}

std::size_t recordOffset(std::size_t index) { return kRecordsStart + 64 * index; }

class WholeRun : public ::testing::Test {
protected:
    std::vector<std::string> words(std::vector<std::string> extra = {}) const {
        std::vector<std::string> all{"-packetfile", dir.file("pass.kov").string()};
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    }
    std::vector<std::uint8_t> ephemeris() const { return readBytes(dir.file("pass.eph")); }
    std::vector<std::uint8_t> attitude() const { return readBytes(dir.file("pass.att")); }

    TemporaryDirectory dir;
};

TEST_F(WholeRun, FilesAgreeWithEachOtherAndWithTheGaps) {
    const generator::PassSettings settings = twoHourPass();
    writePassAndNorad(dir, settings);
    const RunOutput run = runKovaInProcess(words({"-noradfile", dir.file("norad.tle").string()}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    // 7200 packets, 4 left out in the short gap (refilled) and 89 in the long one.
    const std::uint32_t records = 7200 - 4 - 89 + 4;
    const auto eph = ephemeris();
    const auto att = attitude();
    ASSERT_EQ(att.size(), kRecordsStart + 64 * records);
    ASSERT_GT(eph.size(), att.size());
    const std::size_t metadataBytes = eph.size() - att.size();
    ASSERT_EQ(metadataBytes % om::kSize, 0u);
    const std::size_t revolutions = metadataBytes / om::kSize;
    EXPECT_GE(revolutions, 2u);  // two hours hold at least one northward crossing

    EXPECT_EQ(std::memcmp(eph.data(), att.data(), th::kSize), 0) << "common headers differ";
    EXPECT_EQ(u32At(eph, th::kRecordCount), records);
    EXPECT_EQ(u32At(eph, th::kUniversalRefs), 0u);

    for (std::size_t i = 0; i < records; ++i) {
        ASSERT_EQ(f64At(eph, recordOffset(i)), f64At(att, recordOffset(i))) << i;
        ASSERT_EQ(u32At(eph, recordOffset(i) + 56), u32At(att, recordOffset(i) + 56)) << i;
    }
    // Real records keep their own time tags; fills follow the record before the gap.
    const auto timeOf = [&](std::uint32_t offsetSeconds) {
        return tai93FromJulianDate(julianDateFromTai58(settings.startSeconds + offsetSeconds, 0));
    };
    EXPECT_EQ(f64At(eph, recordOffset(0)), timeOf(0));
    EXPECT_EQ(u32At(eph, recordOffset(1800) + 56), 0x0100u);  // sgf
    for (std::size_t fill = 1801; fill <= 1804; ++fill) {
        EXPECT_EQ(u32At(eph, recordOffset(fill) + 56), 0x0020u) << fill;  // rep
    }
    EXPECT_EQ(u32At(eph, recordOffset(1805) + 56), 0x0080u);  // sgb
    EXPECT_EQ(f64At(eph, recordOffset(1805)), timeOf(1805));
    EXPECT_EQ(u32At(eph, recordOffset(3600) + 56), 0x0200u);  // lgf
    EXPECT_EQ(u32At(eph, recordOffset(3601) + 56), 0x0040u);  // lgb
    EXPECT_EQ(f64At(eph, recordOffset(3601)), timeOf(3690));

    // One metadata record per revolution, consecutive orbit numbers, node times in order.
    const std::size_t metadataStart = att.size();
    const std::uint32_t beginOrbit = u32At(eph, th::kSize + eh::kBeginOrbit);
    const std::uint32_t endOrbit = u32At(eph, th::kSize + eh::kEndOrbit);
    EXPECT_GT(beginOrbit, 0u);
    EXPECT_EQ(u32At(eph, metadataStart + om::kOrbitNumber), beginOrbit);
    for (std::size_t k = 1; k < revolutions; ++k) {
        const std::size_t at = metadataStart + om::kSize * k;
        EXPECT_EQ(u32At(eph, at), beginOrbit + k);
        EXPECT_LT(f64At(eph, at - om::kSize + om::kAscendingNodeTime), f64At(eph, at + om::kAscendingNodeTime));
        EXPECT_LT(f64At(eph, at + om::kAscendingNodeTime), f64At(eph, at + om::kDescendingNodeTime));
    }
    EXPECT_EQ(u32At(eph, th::kSize + eh::kOrbitCount), endOrbit - beginOrbit == 0 ? 1 : endOrbit - beginOrbit);
    // The header elements describe the element set's orbit (a near 7080 km, near-circular).
    EXPECT_NEAR(f64At(eph, th::kSize + eh::kKeplerElements), 7.08e6, 2e4);
    EXPECT_LT(f64At(eph, th::kSize + eh::kKeplerElements + 8), 0.01);
}

TEST_F(WholeRun, ListingSwitchAddsTheClosingLineOnly) {
    writePassAndNorad(dir, twoHourPass());
    const RunOutput quiet = runKovaInProcess(words());
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    const std::string name = dir.file("pass").string();
    EXPECT_EQ(quiet.out.substr(quiet.out.find('\n') + 1),
              "\nPacket file:" + name + ".kov\nEphemeris file:" + name + ".eph\nAttitude file:" + name + ".att\n");
    const RunOutput listed = runKovaInProcess(words({"-listconfig", "yes"}));
    ASSERT_EQ(listed.status, 0);
    EXPECT_TRUE(listed.out.ends_with("\nnormal termination\n\n"));
}

TEST_F(WholeRun, WithoutElementSetOrbitNumbersAndNodesAreNotSet) {
    writePassAndNorad(dir, twoHourPass());
    const RunOutput run = runKovaInProcess(words({"-diag_2", "yes"}));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto eph = ephemeris();
    const auto att = attitude();
    EXPECT_EQ(u32At(eph, th::kSize + eh::kBeginOrbit), 0u);
    EXPECT_EQ(u32At(eph, th::kSize + eh::kEndOrbit), 0u);
    EXPECT_EQ(u32At(eph, th::kSize + eh::kOrbitCount), 1u);
    for (std::size_t at = att.size(); at < eph.size(); at += om::kSize) {
        EXPECT_EQ(u32At(eph, at + om::kOrbitNumber), 0u);
        EXPECT_EQ(f64At(eph, at + om::kAscendingNodeTime), kNodeTimeNotSet);
        EXPECT_EQ(f64At(eph, at + om::kDescendingNodeTime), kNodeTimeNotSet);
        EXPECT_EQ(f64At(eph, at + om::kDescendingNodeLongitude), 0.0);
    }
    // The header elements still come from the first record's state.
    EXPECT_NEAR(f64At(eph, th::kSize + eh::kKeplerElements), 7.08e6, 2e4);
    // One diagnostic block per revolution.
    const std::size_t revolutions = (eph.size() - att.size()) / om::kSize;
    EXPECT_NE(run.err.find("\ndiag_2 SatPass[" + std::to_string(revolutions - 1) + "]\n"), std::string::npos);
    EXPECT_EQ(run.err.find("\ndiag_2 SatPass[" + std::to_string(revolutions) + "]\n"), std::string::npos);

    // Only exactly "yes" switches the report on.
    for (const char* value : {"Yes", "yes ", "YES", "no", ""}) {
        const RunOutput other = runKovaInProcess(words({"-diag_2", value}));
        ASSERT_EQ(other.status, 0) << other.err;
        EXPECT_EQ(other.err.find("diag_2"), std::string::npos) << '"' << value << '"';
    }
}

TEST_F(WholeRun, ReadErrorDuringThePassKeepsTheHeadersWrittenAtOpen) {
    PacketFileBuilder builder;
    for (std::uint32_t t = 0; t < 20; ++t) builder.navAt(t);
    builder.navOfSize(130, smoothSample(kTestBaseSeconds + 20));  // wrong length
    for (std::uint32_t t = 21; t < 30; ++t) builder.navAt(t);
    builder.writeTo(dir.file("pass.kov"));
    const RunOutput run = runKovaInProcess(words());
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.err.rfind("\nPacket File read error\n\npacket index = 20\npacket_ver. = 0\npacket_APID = 957", 0), 0u)
        << run.err;
    const auto eph = ephemeris();
    const auto att = attitude();
    EXPECT_EQ(u32At(eph, th::kRecordCount), 0u);
    EXPECT_EQ(u32At(att, th::kRecordCount), 0u);
    // Every record handed to the writers before the stop reached the files.
    EXPECT_GT(att.size(), kRecordsStart);
    EXPECT_EQ((att.size() - kRecordsStart) % 64, 0u);
    EXPECT_EQ(eph.size(), att.size());
}

TEST_F(WholeRun, OneNavigationPacketIsAnEmptyFile) {
    PacketFileBuilder builder;
    builder.other(100, 40).navAt(0).other(101, 300);
    builder.writeTo(dir.file("pass.kov"));
    const RunOutput run = runKovaInProcess(words());
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.err, "\nPacket File Empty\n");
    EXPECT_FALSE(fs::exists(dir.file("pass.eph")));
}

TEST_F(WholeRun, WidePacketNameRejectsNarrowPackets) {
    PacketFileBuilder builder;
    for (std::uint32_t t = 0; t < 3; ++t) builder.navAt(t);
    builder.writeTo(dir.file("pass.kov"));
    const RunOutput run = runKovaInProcess(words({"-noradsatname", "SELA"}));
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.err.rfind("\nPacket File Read Error\n\nBegin Packet is:\n\npacket_ver. = 0", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("\nEnd   Packet is:\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("pass.eph")));
}

TEST_F(WholeRun, OutputInMissingDirectoryStopsBeforeTheAttitudeFile) {
    writePassAndNorad(dir, twoHourPass());
    const std::string missing = dir.file("nodir/x.eph").string();
    const RunOutput run = runKovaInProcess(words({"-ephemerisfile", missing}));
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.err, "\nFile Open failed for ephemeris file:  " + missing + "\n");
    EXPECT_FALSE(fs::exists(dir.file("pass.att")));
}

TEST_F(WholeRun, OutputsNeverOverwriteInputsOrEachOther) {
    writePassAndNorad(dir, twoHourPass());
    const auto packetBytes = readBytes(dir.file("pass.kov"));
    const std::string sameAsPacket = (dir.path() / "." / "pass.kov").string();

    const RunOutput eph = runKovaInProcess(words({"-ephemerisfile", sameAsPacket}));
    EXPECT_EQ(eph.status, -1);
    EXPECT_EQ(eph.err, "\nFile Open failed for ephemeris file:  " + sameAsPacket +
                           "\nit names the same file as the packet file\n");
    EXPECT_EQ(readBytes(dir.file("pass.kov")), packetBytes);

    const std::string norad = dir.file("norad.tle").string();
    const RunOutput att = runKovaInProcess(words({"-noradfile", norad, "-attitudefile", norad}));
    EXPECT_EQ(att.status, -1);
    EXPECT_EQ(att.err, "\nFile Open failed for attitude file:  " + norad +
                           "\nit names the same file as the norad file\n");
    EXPECT_GT(fs::file_size(norad), 0u);

    const std::string both = dir.file("both.out").string();
    const RunOutput same = runKovaInProcess(words({"-ephemerisfile", both, "-attitudefile", both}));
    EXPECT_EQ(same.status, -1);
    EXPECT_EQ(same.err, "\nFile Open failed for attitude file:  " + both +
                            "\nit names the same file as the ephemeris file\n");
}

TEST_F(WholeRun, FullDiskIsAFailureNotASuccess) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    writePassAndNorad(dir, twoHourPass());
    const RunOutput eph = runKovaInProcess(words({"-ephemerisfile", "/dev/full"}));
    EXPECT_EQ(eph.status, -1);
    EXPECT_EQ(eph.err, "\nFile Write failed for ephemeris file:  /dev/full\n");
    const RunOutput att = runKovaInProcess(words({"-attitudefile", "/dev/full"}));
    EXPECT_EQ(att.status, -1);
    EXPECT_EQ(att.err, "\nFile Write failed for attitude file:  /dev/full\n");
}

// A set that is found but unfit is used as before (archives hold sets with wrong checksums
// that were always used), and reported: one warning per problem, in a fixed order, before the
// element set's diagnostic print.
TEST_F(WholeRun, AnUnfitElementSetIsReportedAndUsed) {
    writePassAndNorad(dir, twoHourPass());
    writeText(dir.file("bad.tle"), "MARU\nfoo\nbar\n");
    const RunOutput run = runKovaInProcess(words({"-noradfile", dir.file("bad.tle").string(), "-diag_1", "yes"}));
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string warnings =
        "\nWarning: element set for MARU: line 1 unreadable\n"
        "\nWarning: element set for MARU: line 2 unreadable\n"
        "\nWarning: element set for MARU: line 1 checksum wrong\n"
        "\nWarning: element set for MARU: line 2 checksum wrong\n"
        "\nWarning: element set for MARU: no mean motion\n";
    const std::size_t at = run.err.find(warnings);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_LT(at, run.err.find("\ndiag_1 Beg Pkt"));

    const RunOutput sound = runKovaInProcess(words({"-noradfile", dir.file("norad.tle").string()}));
    EXPECT_EQ(sound.status, 0);
    EXPECT_EQ(sound.err.find("Warning"), std::string::npos) << sound.err;
}

// A packet of zeros (no position) gives NaN angles and elements; whatever sign the arithmetic
// gives them, the files hold the one quiet NaN and the report prints "nan".
TEST_F(WholeRun, EveryNaNIsTheOneQuietNaN) {
    PacketFileBuilder builder;
    for (std::uint32_t t = 0; t < 3; ++t) builder.nav(generator::NavSample{kTestBaseSeconds + t, 0, NavValues{}});
    builder.writeTo(dir.file("pass.kov"));
    const RunOutput run = runKovaInProcess(words({"-diag_2", "yes"}));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto att = attitude();
    const auto eph = ephemeris();
    constexpr std::uint64_t kQuietNan = 0x7FF8000000000000u;
    for (std::size_t record = 0; record < 3; ++record) {
        for (std::size_t angle = 0; angle < 3; ++angle) {
            EXPECT_EQ(be::loadU64(att.data() + recordOffset(record) + attitude_record::kAngles + 8 * angle), kQuietNan);
        }
    }
    EXPECT_EQ(be::loadU64(eph.data() + th::kSize + eh::kKeplerElements + 8), kQuietNan);  // eccentricity
    EXPECT_NE(run.err.find("nan"), std::string::npos);
    EXPECT_EQ(run.err.find("-nan"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace kova::test
