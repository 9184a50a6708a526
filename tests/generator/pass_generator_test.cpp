#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <vector>

#include "core/constants.h"
#include "generator/kovagen_options.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "orbit/constants.h"
#include "orbit/orbit_model.h"
#include "orbit/tle.h"
#include "packets/nav_record.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"

namespace kova::generator {
namespace {

using test::TemporaryDirectory;

struct Decoded {
    std::vector<NavRecord> records;
    std::int32_t indexed = 0;
};

Decoded decodeAll(const std::filesystem::path& file, std::uint32_t packetSize) {
    Decoded decoded;
    PacketFile packets(file.string(), kNavApid);
    EXPECT_TRUE(packets.good());
    decoded.indexed = packets.indexCount();
    NavRecord record(packetSize);
    for (std::int32_t i = 0; i < packets.indexCount(); ++i) {
        packets.readPacket(record, i);
        EXPECT_TRUE(packets.good()) << i;
        decoded.records.push_back(record);
    }
    return decoded;
}

double norm(const std::array<double, 3>& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

PassSettings twoRevolutions() {
    PassSettings settings;
    settings.startSeconds = defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = 12000;  // about two revolutions of 98.8 min
    return settings;
}

TEST(PassRoundTrip, DecodedOrbitIsPlausible) {
    const PassSettings settings = twoRevolutions();
    TemporaryDirectory directory;
    const Decoded decoded = decodeAll(test::writeGeneratedPass(directory.file("pass.kov"), settings), 126);
    ASSERT_EQ(decoded.records.size(), 12000u);

    const TwoBodyOrbit orbit(settings.elementSet);
    EXPECT_NEAR(orbit.semiMajorAxis(), 7.083e6, 5e3);
    const double a = orbit.semiMajorAxis();
    const double e = settings.elementSet.eccentricity;
    const double circularSpeed = std::sqrt(kEarthGm / a);
    int signChanges = 0;
    for (std::size_t i = 0; i < decoded.records.size(); ++i) {
        const NavRecord& record = decoded.records[i];
        ASSERT_EQ(record.timeTagSeconds(), settings.startSeconds + i);
        ASSERT_EQ(record.timeTagSubseconds(), 0);
        const double r = norm(record.position());
        ASSERT_GE(r, a * (1 - e) - 1.0);
        ASSERT_LE(r, a * (1 + e) + 1.0);
        ASSERT_NEAR(norm(record.velocity()), circularSpeed, circularSpeed * 2 * e);
        const auto q = record.attitude();
        ASSERT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0, 1e-11);
        if (i > 0) {
            const auto previous = decoded.records[i - 1].attitude();
            const double dot = q[0] * previous[0] + q[1] * previous[1] + q[2] * previous[2] + q[3] * previous[3];
            ASSERT_GT(dot, 0.999);  // no sign flips: every component is smooth
            if ((record.values()[2] >= 0) != (decoded.records[i - 1].values()[2] >= 0)) ++signChanges;
        }
        // Body rates: the orbital frame's turn about the anti-normal, seen in body axes.
        ASSERT_NEAR(record.attitudeRates()[1], -orbit.meanMotion(), 2e-6);
        ASSERT_LT(std::fabs(record.attitudeRates()[0]), 5e-6);
    }
    // z changes sign every half revolution.
    const double revolutions = 12000.0 / orbit.period();
    EXPECT_NEAR(signChanges, 2.0 * revolutions, 1.0);
    // The 98.2 degree orbit reaches z close to a sin(i).
    double maxZ = 0.0;
    for (const NavRecord& record : decoded.records) maxZ = std::max(maxZ, record.values()[2]);
    EXPECT_NEAR(maxZ, a * std::sin(98.2071 * kRadiansPerDegree), 2e4);
}

TEST(PassRoundTrip, AttitudeRelativeToTheOrbitalFrameIsTheKnownOffset) {
    PassSettings settings = twoRevolutions();
    settings.durationSeconds = 600;
    TemporaryDirectory directory;
    const Decoded decoded = decodeAll(test::writeGeneratedPass(directory.file("pass.kov"), settings), 126);
    for (const NavRecord& record : decoded.records) {
        const auto r = record.position();
        const auto v = record.velocity();
        const auto q = record.attitude();
        // Orbital frame rows: x along flight, y against the orbit normal, z to the centre.
        const std::array<double, 3> h = {r[1] * v[2] - r[2] * v[1], r[2] * v[0] - r[0] * v[2], r[0] * v[1] - r[1] * v[0]};
        const double hn = norm(h), rn = norm(r);
        const std::array<double, 3> zRow = {-r[0] / rn, -r[1] / rn, -r[2] / rn};
        const std::array<double, 3> yRow = {-h[0] / hn, -h[1] / hn, -h[2] / hn};
        const std::array<double, 3> xRow = {yRow[1] * zRow[2] - yRow[2] * zRow[1], yRow[2] * zRow[0] - yRow[0] * zRow[2],
                                            yRow[0] * zRow[1] - yRow[1] * zRow[0]};
        const std::array<std::array<double, 3>, 3> o = {xRow, yRow, zRow};
        const double q1 = q[0], q2 = q[1], q3 = q[2], q4 = q[3];
        const std::array<std::array<double, 3>, 3> qm = {
            std::array<double, 3>{q1 * q1 - q2 * q2 - q3 * q3 + q4 * q4, 2 * (q1 * q2 + q3 * q4), 2 * (q1 * q3 - q2 * q4)},
            std::array<double, 3>{2 * (q1 * q2 - q3 * q4), -q1 * q1 + q2 * q2 - q3 * q3 + q4 * q4, 2 * (q2 * q3 + q1 * q4)},
            std::array<double, 3>{2 * (q1 * q3 + q2 * q4), 2 * (q2 * q3 - q1 * q4), -q1 * q1 - q2 * q2 + q3 * q3 + q4 * q4}};
        auto a = [&](int i, int j) { return qm[i][0] * o[j][0] + qm[i][1] * o[j][1] + qm[i][2] * o[j][2]; };
        // Small-angle elements of A = Q O^T; the second-order terms are about 1e-6.
        ASSERT_NEAR(a(0, 1), settings.offsets.yaw, 2e-6);
        ASSERT_NEAR(a(1, 2), settings.offsets.roll, 2e-6);
        ASSERT_NEAR(a(2, 0), settings.offsets.pitch, 2e-6);
    }
}

TEST(PassRoundTrip, ModelNodesOfKovaMatchTheDataCrossings) {
    // The epoch is on the record time scale as kova reads it, so the orbit model's
    // ascending nodes fall on the equator crossings of the generated positions.
    const PassSettings settings = twoRevolutions();
    TemporaryDirectory directory;
    const Decoded decoded = decodeAll(test::writeGeneratedPass(directory.file("pass.kov"), settings), 126);
    TleRecord tle;
    parseTle(formatLine1(settings.elementSet), formatLine2(settings.elementSet), tle);
    ASSERT_TRUE(tle.valid);
    OrbitModel model(tle);
    ASSERT_TRUE(model.usable());
    const double period = 1.0 / (settings.elementSet.meanMotionRevsPerDay);  // days
    int crossings = 0;
    for (std::size_t i = 1; i < decoded.records.size(); ++i) {
        if (!(decoded.records[i].values()[2] >= 0.0 && decoded.records[i - 1].values()[2] < 0.0)) continue;
        ++crossings;
        const double crossing = decoded.records[i].julianDate();
        const double sinceReference = std::remainder(crossing - model.refNodeTime(), period) * 86400.0;
        EXPECT_NEAR(sinceReference, 0.0, 3.0) << "crossing " << crossings;
    }
    EXPECT_EQ(crossings, 2);
}

TEST(PassContent, GapsDuplicatesAndOtherPackets) {
    PassSettings settings;
    settings.startSeconds = test::kTestBaseSeconds;
    settings.startSubseconds = 4321;
    settings.durationSeconds = 400;
    settings.packetSize = 214;
    settings.gaps = {{100, 5}, {200, 90}, {390, 1}};
    settings.duplicates = {50, 150};
    settings.otherPacketsPerNavPacket = 2;
    settings.seed = 99;
    const std::vector<std::uint8_t> bytes = test::generatePassBytes(settings);

    // Walk the headers: only navigation packets of 214 bytes and other APIDs between them.
    std::map<int, int> apids;
    std::size_t offset = 0;
    while (offset + 6 <= bytes.size()) {
        const int apid = (bytes[offset] & 7) * 256 + bytes[offset + 1];
        const std::size_t size = 7 + bytes[offset + 4] * 256u + bytes[offset + 5];
        ASSERT_EQ(bytes[offset] >> 5, 0);
        if (apid == kNavApid) {
            ASSERT_EQ(size, 214u);
        }
        ++apids[apid];
        offset += size;
    }
    EXPECT_EQ(offset, bytes.size());
    const int navPackets = 400 - 4 - 89 + 2;
    EXPECT_EQ(apids[kNavApid], navPackets);
    int others = 0;
    for (const auto& [apid, count] : apids) others += apid == kNavApid ? 0 : count;
    EXPECT_EQ(others, 2 * navPackets);
    EXPECT_GE(apids.size(), 5u);

    TemporaryDirectory directory;
    test::writeBytes(directory.file("pass.kov"), bytes);
    const Decoded decoded = decodeAll(directory.file("pass.kov"), 214);
    ASSERT_EQ(decoded.records.size(), static_cast<std::size_t>(navPackets));
    std::vector<std::uint32_t> seconds;
    for (const NavRecord& record : decoded.records) {
        seconds.push_back(record.timeTagSeconds() - settings.startSeconds);
        EXPECT_EQ(record.timeTagSubseconds(), 4321);
    }
    EXPECT_EQ(seconds[50], 50u);
    EXPECT_EQ(seconds[51], 50u);  // written twice
    EXPECT_EQ(seconds[101], 100u);
    EXPECT_EQ(seconds[102], 105u);  // packets at 101 to 104 left out
    EXPECT_EQ(decoded.records[50].values(), decoded.records[51].values());
    EXPECT_EQ(decoded.records[50].sequenceCount() + 1, decoded.records[51].sequenceCount());
}

TEST(PassContent, Deterministic) {
    PassSettings settings;
    settings.startSeconds = test::kTestBaseSeconds;
    settings.durationSeconds = 300;
    settings.otherPacketsPerNavPacket = 1;
    const auto first = test::generatePassBytes(settings);
    EXPECT_EQ(test::generatePassBytes(settings), first);
    settings.seed = 2;
    EXPECT_NE(test::generatePassBytes(settings), first);
}

TEST(PassContent, RefusesAPassBeyondTheTimeTagRange) {
    PassSettings settings;
    settings.startSeconds = 0xFFFFFF00u;
    settings.durationSeconds = 0x200;
    EXPECT_THROW(PassGenerator{settings}, std::invalid_argument);
}

struct CommandLineRun {
    int status;
    std::string out;
    std::string err;
};

CommandLineRun kovagen(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = runKovagen(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(KovagenCommandLine, ErrorsGiveTheUsageAndStatusTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--duration", "10"},
        {"--out"},
        {"--out", "x.kov", "--packet-size", "128"},
        {"--out", "x.kov", "--start", "2003-07-30"},
        {"--out", "x.kov", "--gap", "10"},
        {"--out", "x.kov", "--gap", "10:0"},
        {"--out", "x.kov", "--duration", "-5"},
        {"--out", "x.kov", "--duration", "0"},
        {"--out", "x.kov", "--seed", "abc"},
        {"--out", "x.kov", "--colour", "blue"},
        {"x.kov"},
    };
    for (const auto& arguments : bad) {
        const CommandLineRun run = kovagen(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: kovagen --out FILE"), std::string::npos);
        EXPECT_EQ(run.err.rfind("kovagen: ", 0), 0u) << run.err;
    }
    const CommandLineRun help = kovagen({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--gap START:LENGTH"), std::string::npos);
    EXPECT_EQ(kovagen({"-h"}).out, help.out);
    const CommandLineRun version = kovagen({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("kovagen ", 0), 0u);
}

// The packet file and the element set appear together or not at all: a norad file that
// cannot be written leaves the packet file of an earlier run as it was.
TEST(KovagenCommandLine, BothFilesOrNeither) {
    TemporaryDirectory directory;
    const std::string packets = directory.file("pass.kov").string();
    test::writeText(packets, "an earlier pass");
    const CommandLineRun samePass = kovagen({"--out=" + packets, "--duration=60", "--norad", "/dev/null"});
    ASSERT_EQ(samePass.status, 0) << samePass.err;
    const std::vector<std::uint8_t> written = test::readBytes(packets);
    EXPECT_EQ(written.size(), 60u * 126);
    if (std::filesystem::is_character_file("/dev/full")) {
        const CommandLineRun full = kovagen({"--out", packets, "--duration", "90", "--norad", "/dev/full"});
        EXPECT_EQ(full.status, 1);
        EXPECT_EQ(full.err, "kovagen: cannot write the norad file /dev/full: No space left on device\n");
        EXPECT_EQ(test::readBytes(packets), written);
    }
}

TEST(KovagenCommandLine, WritesThePassAndTheElementSet) {
    TemporaryDirectory directory;
    const std::string packets = directory.file("pass.kov").string();
    const std::string norad = directory.file("norad.tle").string();
    const CommandLineRun run = kovagen({"--out", packets, "--norad", norad, "--start", "2003-07-30T12:00:00",
                                        "--duration", "120", "--packet-size", "214", "--gap", "10:5",
                                        "--duplicate", "3", "--other-apids", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("117 navigation packets of 214 bytes"), std::string::npos) << run.out;
    const std::string noradText = test::readText(norad);
    EXPECT_EQ(noradText.rfind("SELA\n1 ", 0), 0u) << noradText;  // 214-byte packets are read for SELA
    const Decoded decoded = decodeAll(packets, 214);
    ASSERT_EQ(decoded.records.size(), 117u);
    EXPECT_EQ(decoded.records.front().timeTagSeconds(), test::kTestBaseSeconds);

    // The norad file written feeds the next pass.
    const std::string again = directory.file("again.kov").string();
    const CommandLineRun second = kovagen({"--out", again, "--tle", norad, "--name", "SELA", "--start",
                                           "2003-07-30T12:00:00", "--duration", "120", "--gap", "10:5",
                                           "--duplicate", "3", "--other-apids", "1"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(test::readBytes(again), test::readBytes(packets));

    const CommandLineRun missing = kovagen({"--out", again, "--tle", norad, "--name", "MARU"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no element set named \"MARU\""), std::string::npos);
    const CommandLineRun unwritable = kovagen({"--out", directory.file("no/such/dir.kov").string()});
    EXPECT_EQ(unwritable.status, 1);
}

}  // namespace
}  // namespace kova::generator
