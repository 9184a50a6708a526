// kovaexport's SPICE kernels: the options it takes and refuses, the kernels of a generated
// pass read back against kova's own ephemeris file of the pass, and a failed kernel that
// leaves no file of the run behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "core/big_endian.h"
#include "export/export_run.h"
#include "export/export_options.h"
#include "generator/element_set.h"
#include "generator/pass_time.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "spice/ephemeris_time.h"
#include "spice/naif_ids.h"
#include "tests/export/message_reader.h"
#include "tests/spice/daf_reader.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"
#include "toolkit/record_stream.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSpiceCreationDate = "2026-12-09T10:00:00";

bool spiceErrorStartsWith(const RunOutput& run, const std::string& problem) {
    return run.err.rfind("kovaexport: " + problem, 0) == 0;
}

TEST(SpiceCommandLine, MalformedKernelOptionsEndWithStatus2AndTheUsageLine) {
    struct Case {
        std::vector<std::string> arguments;
        std::string problem;
    };
    const std::string fromPackets = "SPICE kernels are made from a packet file";
    const std::string needsClock = "a CK is read through its clock kernel";
    const std::string badId = "--naif-id '";
    const Case cases[] = {
        {{"--from-ephemeris", "a.eph", "--spice"}, fromPackets},
        {{"--from-ephemeris", "a.eph", "--spk", "a.bsp"}, fromPackets},
        {{"--from-ephemeris", "a.eph", "--naif-id", "-5"}, fromPackets},
        {{"a.kov", "--ck", "a.bc"}, needsClock},
        {{"a.kov", "--ck", "a.bc", "--spk", "a.bsp", "--fk", "a.tf"}, needsClock},
        {{"a.kov", "--spice", "--naif-id", "0"}, badId},
        {{"a.kov", "--spice", "--naif-id", "1"}, badId},
        {{"a.kov", "--spice", "--naif-id", "-2147484"}, badId},
        {{"a.kov", "--spice", "--naif-id", "-1.5"}, badId},
        {{"a.kov", "--spice", "--naif-id", " -5"}, badId},
        {{"a.kov", "--spice", "--naif-id", "-5x"}, badId},
        {{"a.kov", "--spice", "--naif-id="}, badId},
        {{"a.kov", "--naif-id", "-5"}, "--naif-id is the spacecraft ID of SPICE kernels"},
        {{"a.kov", "--spice=yes"}, "--spice takes no value"},
        {{"a.kov", "--spk"}, "--spk needs a value"},
        {{"a.kov", "--sclk="}, "--sclk needs a non-empty value"},
    };
    for (const Case& c : cases) {
        const RunOutput run = runKovaExport(c.arguments);
        EXPECT_EQ(run.status, kExportBadCommandLine) << c.problem;
        EXPECT_TRUE(spiceErrorStartsWith(run, c.problem)) << run.err;
        EXPECT_NE(run.err.find(kExportUsage), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // The ends of the range are taken.
    for (const char* id : {"-1", "-2147483"}) {
        EXPECT_EQ(runKovaExport({"absent.kov", "--spice", "--naif-id", id}).status, kExportFailed) << id;
    }
}

TEST(SpiceCommandLine, KernelNamesFromThePacketFileOrTheirOptions) {
    ExportOptions options;
    options.packetFile = "dir.kov/pass.kov.v2";
    options.spice = true;
    options.ckFile = "att.bc";
    const KernelNames names = kernelNamesOf(options);
    EXPECT_EQ(names.spk, "dir.kov/pass.bsp");
    EXPECT_EQ(names.ck, "att.bc");
    EXPECT_EQ(names.sclk, "dir.kov/pass.tsc");
    EXPECT_EQ(names.fk, "dir.kov/pass.tf");
    options.spice = false;
    const KernelNames single = kernelNamesOf(options);
    EXPECT_EQ(single.spk + single.sclk + single.fk, "");
    EXPECT_EQ(single.ck, "att.bc");
}

// A generated pass with a filled short gap, a repeated tag, a long gap, and a record alone
// between two long gaps (a stretch of one).
class SpiceExport : public ::testing::Test {
protected:
    void SetUp() override {
        settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
        settings.durationSeconds = 400;
        settings.gaps = {{50, 5}, {150, 90}, {240, 70}};
        settings.duplicates = {20};
        writeGeneratedPass(dir.file("pass.kov"), settings);
        std::ofstream norad(dir.file("norad.tle"));
        generator::writeNoradFile(norad, settings.elementSet);
    }
    std::string path(const std::string& name) const { return dir.file(name).string(); }
    RunOutput exportPass(std::vector<std::string> extra) const {
        std::vector<std::string> arguments{path("pass.kov"), "--norad", path("norad.tle"), "--creation-date",
                                           kSpiceCreationDate};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runKovaExport(arguments);
    }
    DafReader readKernel(const std::string& name) const {
        DafReader reader;
        const std::vector<std::uint8_t> bytes = readBytes(dir.file(name));
        EXPECT_TRUE(reader.parse(std::string(bytes.begin(), bytes.end()))) << reader.error();
        return reader;
    }

    generator::PassSettings settings;
    TemporaryDirectory dir;
};

// One record kova wrote: its values from kova's ephemeris file, its tag and quaternion from
// the record stream kova runs.
struct WrittenRecord {
    TimeTag tag;
    std::array<double, 6> state{};
    std::array<double, 4> quaternion{};
    bool fill = false;
};

std::vector<WrittenRecord> recordsKovaWrote(const fs::path& packets, const fs::path& eph) {
    const std::vector<std::uint8_t> bytes = readBytes(eph);
    const std::uint32_t count = be::loadU32(bytes.data() + toolkit_header::kRecordCount);
    std::vector<WrittenRecord> records(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = bytes.data() + kFileHeaderSize + 64 * std::size_t{i};
        for (std::size_t k = 0; k < 3; ++k) {
            records[i].state[k] = be::loadF64(e + ephemeris_record::kPosition + 8 * k);
            records[i].state[3 + k] = be::loadF64(e + ephemeris_record::kVelocity + 8 * k);
        }
        records[i].fill = (be::loadU32(e + ephemeris_record::kQaFlags) & (1u << qa_flags::kRep)) != 0;
    }
    PacketFile file(packets.string(), kNavApid);
    NavRecordStream stream(file, kNavPacketSize);
    std::size_t n = 0;
    for (const NavRecord* record = stream.next(); record != nullptr && n < count; record = stream.next(), ++n) {
        records[n].tag = stream.currentTag();
        records[n].quaternion = record->attitude();
    }
    EXPECT_EQ(n, count);
    return records;
}

TEST_F(SpiceExport, EveryRecordKovaWritesComesBackOnItsTag) {
    ASSERT_EQ(runKovaProgram({"-packetfile", path("pass.kov")}).status, 0);
    const std::vector<WrittenRecord> records = recordsKovaWrote(dir.file("pass.kov"), dir.file("pass.eph"));
    const RunOutput run = exportPass({"--spice"});
    ASSERT_EQ(run.status, kExportSucceeded) << run.err;
    EXPECT_FALSE(fs::exists(dir.file("pass.oem")));
    EXPECT_FALSE(fs::exists(dir.file("pass.aem")));

    // The rules in their plainest form: increasing tags, stretches cut at steps over 60 s,
    // stretches of one left out.
    std::vector<std::vector<std::size_t>> stretches;
    std::vector<std::string> leftOut;
    std::size_t fills = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TimeTag& tag = records[i].tag;
        if (!stretches.empty()) {
            const TimeTag& last = records[stretches.back().back()].tag;
            if (!(last < tag)) {
                leftOut.push_back("left out: record " + std::to_string(i) + " at ");
                continue;
            }
            const double step = static_cast<double>(tag.seconds) - static_cast<double>(last.seconds) +
                                (static_cast<double>(tag.subsecondCount) - static_cast<double>(last.subsecondCount)) * 1.52e-05;
            if (step <= 60.0) {
                stretches.back().push_back(i);
                continue;
            }
        }
        stretches.push_back({i});
    }
    std::erase_if(stretches, [&](const std::vector<std::size_t>& stretch) {
        if (stretch.size() == 1) leftOut.push_back("left out: record " + std::to_string(stretch[0]) + " at ");
        return stretch.size() == 1;
    });
    ASSERT_EQ(stretches.size(), 2u);
    ASSERT_EQ(leftOut.size(), 2u);  // the repeated tag and the lone record

    const DafReader spk = readKernel("pass.bsp");
    const DafReader ck = readKernel("pass.bc");
    ASSERT_EQ(spk.arrays.size(), stretches.size());
    ASSERT_EQ(ck.arrays.size(), stretches.size());
    std::size_t exported = 0;
    for (std::size_t s = 0; s < stretches.size(); ++s) {
        const std::vector<double> states = spk.arrayWords(spk.arrays[s]);
        const std::vector<double> attitude = ck.arrayWords(ck.arrays[s]);
        EXPECT_EQ(spk.arrays[s].integers[0], spacecraftIdFromNorad(settings.elementSet.catalogueNumber));
        EXPECT_EQ(states.back(), static_cast<double>(stretches[s].size()));
        for (std::size_t i : stretches[s]) {
            const WrittenRecord& record = records[i];
            SCOPED_TRACE(testing::Message() << "record " << i);
            fills += record.fill ? 1 : 0;
            ++exported;
            const auto state = spkType13State(states, ephemerisTimeFromTag(record.tag));
            ASSERT_TRUE(state.has_value());
            for (std::size_t k = 0; k < 6; ++k) {
                const double expected = record.state[k] / 1000;
                EXPECT_NEAR((*state)[k], expected, 1e-9 * std::fabs(expected)) << k;
            }
            const auto q = ckType3Quaternion(attitude, static_cast<double>(clockTicksFromTag(record.tag)));
            ASSERT_TRUE(q.has_value());
            const auto& p = record.quaternion;
            const double norm = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2] + p[3] * p[3]);
            const std::array<double, 4> expected = {p[3] / norm, -p[0] / norm, -p[1] / norm, -p[2] / norm};
            for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR((*q)[k], expected[k], 1e-12) << k;
        }
    }
    EXPECT_GT(fills, 0u);
    std::size_t named = 0;
    for (const std::string& line : spk.comments) {
        for (const std::string& start : leftOut) named += line.rfind(start, 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(named, leftOut.size());
    const std::string counts = "records exported: " + std::to_string(exported) + ", fill records: " +
                               std::to_string(fills) + ", segments: 2, records left out: 2";
    EXPECT_NE(std::find(spk.comments.begin(), spk.comments.end(), counts), spk.comments.end()) << counts;
    const std::string summary = "kovaexport: SPK " + path("pass.bsp") + ": 2 segments, " + std::to_string(exported) +
                                " records, 2 left out\n";
    EXPECT_NE(run.out.find(summary), std::string::npos) << run.out;
    EXPECT_TRUE(fs::exists(dir.file("pass.tsc")));
    EXPECT_TRUE(fs::exists(dir.file("pass.tf")));
}

// Kernels fed from the messages' first pass are the kernels of a run that reads the records
// once, and the messages are those of a run without kernels.
TEST_F(SpiceExport, KernelsBesideMessagesAreTheSameBytes) {
    ASSERT_EQ(exportPass({"--spice"}).status, kExportSucceeded);
    for (const char* name : {"pass.bsp", "pass.bc", "pass.tsc", "pass.tf"}) fs::rename(dir.file(name), dir.file(std::string("alone.") + name));
    ASSERT_EQ(exportPass({"--oem", path("plain.oem"), "--aem", path("plain.aem")}).status, kExportSucceeded);
    const RunOutput both = exportPass({"--spice", "--oem", path("both.oem"), "--aem", path("both.aem")});
    ASSERT_EQ(both.status, kExportSucceeded) << both.err;
    for (const char* name : {"pass.bsp", "pass.bc", "pass.tsc", "pass.tf"}) {
        EXPECT_EQ(readBytes(dir.file(name)), readBytes(dir.file(std::string("alone.") + name))) << name;
    }
    EXPECT_EQ(readBytes(dir.file("both.oem")), readBytes(dir.file("plain.oem")));
    EXPECT_EQ(readBytes(dir.file("both.aem")), readBytes(dir.file("plain.aem")));
    // Only the OEM named: no AEM beside the kernels.
    ASSERT_EQ(exportPass({"--spk", path("one.bsp"), "--oem", path("one.oem")}).status, kExportSucceeded);
    EXPECT_EQ(readBytes(dir.file("one.bsp")), readBytes(dir.file("pass.bsp")));
    EXPECT_FALSE(fs::exists(dir.file("pass.aem")));
}

TEST_F(SpiceExport, AKernelThatFailsOnAFullDeviceLeavesNoFileOfTheRun) {
    writeText(dir.file("pass.oem"), "earlier OEM\n");
    fs::create_directory(dir.file("folder.bsp"));
    for (const std::string& spk : {std::string("/dev/full"), path("folder.bsp")}) {
        const RunOutput run = exportPass({"--spice", "--spk", spk, "--oem", path("pass.oem")});
        EXPECT_EQ(run.status, kExportFailed) << spk;
        EXPECT_NE(run.err.find(spk), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(readText(dir.file("pass.oem")), "earlier OEM\n");
        for (const char* name : {"pass.bc", "pass.tsc", "pass.tf", "pass.bsp"}) EXPECT_FALSE(fs::exists(dir.file(name))) << name;
    }
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 4u);  // pass.kov, norad.tle, pass.oem, folder.bsp: no temporary file left
}

// A pass long enough for the kernels to be written while its records are read (from the 16384th
// record on): through pipes, which take the kernels only at the end, the same bytes.
TEST_F(SpiceExport, KernelsWrittenWhileTheRecordsComeAreThoseWrittenAtTheEnd) {
    settings.durationSeconds = 40000;
    settings.gaps = {{9000, 5}, {20000, 90}};
    writeGeneratedPass(dir.file("long.kov"), settings);
    const auto exportLong = [this](std::vector<std::string> kernels) {
        std::vector<std::string> arguments{path("long.kov"), "--norad", path("norad.tle")};
        arguments.insert(arguments.end(), kernels.begin(), kernels.end());
        return runKovaExport(arguments);
    };
    ASSERT_EQ(exportLong({"--spice"}).status, kExportSucceeded);
    ASSERT_EQ(::mkfifo(path("spk.fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("ck.fifo").c_str(), 0600), 0);
    std::string spk, ck;
    const auto drain = [](const std::string& fifo, std::string& bytes) {
        std::ifstream in(fifo, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    std::thread spkReader(drain, path("spk.fifo"), std::ref(spk));
    std::thread ckReader(drain, path("ck.fifo"), std::ref(ck));
    const RunOutput piped = exportLong({"--spk", path("spk.fifo"), "--ck", path("ck.fifo"), "--sclk", path("piped.tsc")});
    spkReader.join();
    ckReader.join();
    ASSERT_EQ(piped.status, kExportSucceeded) << piped.err;
    const std::vector<std::uint8_t> spkFile = readBytes(dir.file("long.bsp"));
    const std::vector<std::uint8_t> ckFile = readBytes(dir.file("long.bc"));
    EXPECT_GT(spkFile.size(), 2000000u);
    EXPECT_TRUE(std::string(spkFile.begin(), spkFile.end()) == spk);
    EXPECT_TRUE(std::string(ckFile.begin(), ckFile.end()) == ck);
    EXPECT_EQ(readKernel("long.bsp").arrays.size(), 2u);
}

// A disk that fills while the kernels are written with the records (here a limit on the
// size of files): the run fails, naming the SPK and why, and leaves no file of its own.
TEST_F(SpiceExport, ADiskThatFillsWhileTheKernelsAreWrittenLeavesNoFileOfTheRun) {
    settings.durationSeconds = 40000;
    settings.gaps = {};
    writeGeneratedPass(dir.file("long.kov"), settings);
    writeText(dir.file("long.bc"), "earlier CK\n");
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit before = limit;
    limit.rlim_cur = 1 << 20;  // the SPK passes it a third of the way through the pass
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const RunOutput run = runKovaExport({path("long.kov"), "--norad", path("norad.tle"), "--spice"});
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_NE(run.err.find("SPK file " + path("long.bsp")), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(std::strerror(EFBIG)), std::string::npos) << run.err;
    EXPECT_EQ(readText(dir.file("long.bc")), "earlier CK\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"long.bc", "long.kov", "norad.tle", "pass.kov"}));
}

TEST_F(SpiceExport, RunsWithoutASpacecraftIdOrAStretchAreRefusedWithTheirRemedy) {
    const RunOutput noNorad = runKovaExport({path("pass.kov"), "--spice"});
    EXPECT_EQ(noNorad.status, kExportFailed);
    EXPECT_TRUE(spiceErrorStartsWith(noNorad, "no spacecraft ID")) << noNorad.err;
    EXPECT_NE(noNorad.err.find("--naif-id"), std::string::npos);

    // An extended catalogue number gives no ID; --naif-id does.
    std::string tle = readText(dir.file("norad.tle"));
    const std::string line1 = std::to_string(settings.elementSet.catalogueNumber);
    ASSERT_EQ(line1.size(), 5u);
    for (std::size_t at = tle.find(line1); at != std::string::npos; at = tle.find(line1, at + 1)) tle[at] = 'A';
    writeText(dir.file("extended.tle"), tle);
    const RunOutput extended = runKovaExport({path("pass.kov"), "--norad", path("extended.tle"), "--spice"});
    EXPECT_EQ(extended.status, kExportFailed) << extended.err;
    EXPECT_NE(extended.err.find("five-digit catalogue number"), std::string::npos) << extended.err;
    const RunOutput given = runKovaExport({path("pass.kov"), "--norad", path("extended.tle"), "--spice", "--naif-id", "-77"});
    EXPECT_EQ(given.status, kExportSucceeded) << given.err;
    EXPECT_EQ(readKernel("pass.bsp").arrays.at(0).integers[0], -77);
    EXPECT_NE(given.out.find("frame MARU_BUS (-77000)"), std::string::npos) << given.out;

    // Navigation packets more than 60 s apart: no stretch of two.
    PacketFileBuilder sparse;
    sparse.navAt(0).navAt(61).navAt(200);
    sparse.writeTo(dir.file("sparse.kov"));
    const RunOutput lone = runKovaExport({path("sparse.kov"), "--spice", "--naif-id", "-5"});
    EXPECT_EQ(lone.status, kExportFailed);
    EXPECT_TRUE(spiceErrorStartsWith(lone, "no stretch of two or more records")) << lone.err;
    EXPECT_FALSE(fs::exists(dir.file("sparse.bsp")));
}

}  // namespace
}  // namespace kova::test
