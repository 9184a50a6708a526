// kovaexport as a program: its command line and exit statuses, the names it derives and the
// ones it refuses, bad inputs reported as in kova, and failures that leave no file behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/big_endian.h"
#include "export/export_options.h"
#include "export/export_run.h"
#include "generator/element_set.h"
#include "generator/pass_time.h"
#include "tests/export/message_reader.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The files in a directory, by name.
std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct RefusedLine {
    std::vector<std::string> arguments;
    std::string problem;
};

TEST(ExportCommandLine, AMalformedCommandLineEndsWithStatus2AndTheUsageLine) {
    const RefusedLine cases[] = {
        {{}, "no packet file given"},
        {{"a.kov", "b.kov"}, "more than one packet file given"},
        {{"a.kov", "--oem"}, "--oem needs a value"},
        {{"--oem=", "a.kov"}, "--oem needs a non-empty value"},
        {{"--bogus", "a.kov"}, "unknown option --bogus"},
        {{"-packetfile", "a.kov"}, "unknown option -packetfile"},
        {{"--help=yes"}, "--help takes no value"},
        {{"--aem-version", "3.0", "a.kov"}, "--aem-version is 1.0 or 2.0, not '3.0'"},
        {{"--creation-date", "2026-02-29T00:00:00", "a.kov"}, "--creation-date needs a UTC epoch"},
        {{"--object-name", "   ", "a.kov"}, "--object-name needs a value of printable ASCII"},
        {{"--originator", "D\tB", "a.kov"}, "--originator needs a value of printable ASCII"},
        {{"--from-ephemeris", "a.eph", "a.kov"}, "a packet file and --from-ephemeris exclude each other"},
        {{"--from-ephemeris", "a.eph", "--aem", "a.aem"}, "an ephemeris file holds no attitude"},
        // A value of any length is bounded before it reaches a fixed-size text.
        {{"--creation-date", "2020-01-01T00:00:00." + std::string(70000, '9'), "a.kov"},
         "--creation-date is longer than 48 characters"},
    };
    for (const RefusedLine& c : cases) {
        const ProgramRun run = runKovaExport(c.arguments);
        EXPECT_EQ(run.status, kExportBadCommandLine) << c.problem;
        EXPECT_EQ(run.err.rfind("kovaexport: " + c.problem, 0), 0u) << run.err;
        EXPECT_TRUE(endsWith(run.err, std::string(kExportUsage) + "\n")) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(ExportCommandLine, HelpAndVersionGoToStandardOutput) {
    const ProgramRun help = runKovaExport({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(runKovaExport({"-h"}).out, help.out);
    for (const char* option : {"--oem", "--aem", "--from-ephemeris", "--norad", "--satellite", "--object-name",
                               "--object-id", "--originator", "--creation-date", "--aem-version", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const ProgramRun version = runKovaExport({"--version", "ignored.kov"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("kovaexport ", 0), 0u);

    // What never reached the standard output is a failure.
    std::ostringstream lost;
    lost.setstate(std::ios::badbit);
    std::ostringstream err;
    const char* argv[] = {"kovaexport", "--version"};
    EXPECT_EQ(runExport(2, argv, lost, err), kExportFailed);
    EXPECT_EQ(err.str(), "kovaexport: write failed for the standard output\n");
}

TEST(ExportCommandLine, CreationDatesInEitherCalendarForm) {
    for (const char* good : {"2026-12-09T10:00:00", "2024-02-29T23:59:60.5", "2026-343T10:00:00Z", "2024-366T00:00:00.000001"}) {
        EXPECT_TRUE(isCcsdsUtcEpoch(good)) << good;
    }
    for (const char* bad : {"2026-12-09", "2026-12-09 10:00:00", "2026-12-32T00:00:00", "2025-366T00:00:00",
                            "2026-12-09T24:00:00", "2026-12-09T12:00:60", "2026-12-09T10:00:00.", "26-12-09T10:00:00"}) {
        EXPECT_FALSE(isCcsdsUtcEpoch(bad)) << bad;
    }
    EXPECT_EQ(utcEpochText(0), "1970-01-01T00:00:00");
    EXPECT_EQ(utcEpochText(1796811600), "2026-12-09T10:20:00");
}

TEST(ExportNames, OutputNamesFollowKovasRule) {
    struct Case {
        const char* input;
        const char* output;
    };
    const Case cases[] = {{"pass.kov", "pass.oem"},     {"a.kov.bak", "a.oem"},   {".kov", ".kov.oem"},
                          {"pass", "pass.oem"},         {"x.kov.kov", "x.kov.oem"}, {"dir.kov/pass", "dir.oem"}};
    for (const Case& c : cases) EXPECT_EQ(derivedOutputName(c.input, ".kov", ".oem"), c.output) << c.input;
    EXPECT_EQ(derivedOutputName("archive/pass.eph", ".eph", ".oem"), "archive/pass.oem");
}

TEST(ExportNames, ObjectIdFromTheInternationalDesignator) {
    EXPECT_EQ(objectIdFromDesignator("98067A  "), "1998-067A");
    EXPECT_EQ(objectIdFromDesignator("02901A"), "2002-901A");
    EXPECT_EQ(objectIdFromDesignator("57001B"), "1957-001B");
    EXPECT_EQ(objectIdFromDesignator("56001ABC"), "2056-001ABC");
    for (const char* unfit : {"", "        ", "9806A", "98067a", "98067A1", "980 7A"}) {
        EXPECT_FALSE(objectIdFromDesignator(unfit).has_value()) << unfit;
    }
}

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
        settings.durationSeconds = 300;
        settings.gaps = {{100, 4}, {200, 70}};
        writeGeneratedPass(dir.file("pass.kov"), settings);
        std::ofstream norad(dir.file("norad.tle"));
        generator::writeNoradFile(norad, settings.elementSet);
    }
    std::string path(const char* name) const { return dir.file(name).string(); }
    ProgramRun exportPass(std::vector<std::string> extra = {}) const {
        std::vector<std::string> arguments{path("pass.kov"), "--creation-date", "2026-12-09T10:00:00"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runKovaExport(arguments);
    }
    std::vector<std::uint8_t> ephemerisFile() {
        EXPECT_EQ(runKovaProgram({"-packetfile", path("pass.kov")}).status, 0);
        return readBytes(dir.file("pass.eph"));
    }
    ProgramRun exportEphemeris(const std::vector<std::uint8_t>& bytes, std::vector<std::string> extra = {}) {
        writeBytes(dir.file("cut.eph"), bytes);
        std::vector<std::string> arguments{"--from-ephemeris", path("cut.eph")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runKovaExport(arguments);
    }

    generator::PassSettings settings;
    TemporaryDirectory dir;
};

TEST_F(ExportRunTest, WritesBothMessagesUnderTheDerivedNamesAndSaysWhat) {
    const ProgramRun run = exportPass({"--norad", path("norad.tle")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "kovaexport: OEM " + path("pass.oem") + ": 2 segments, 231 records, 0 left out\n" +
                           "kovaexport: AEM " + path("pass.aem") + ": 2 segments, 231 records, 0 left out\n");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"norad.tle", "pass.aem", "pass.kov", "pass.oem"}));
    const Message aem = readMessage(dir.file("pass.aem"));
    EXPECT_EQ(aem.versionLine, "CCSDS_AEM_VERS = 1.0");
    EXPECT_EQ(aem.segments[0].meta.at("OBJECT_ID"), "2002-901A");
    EXPECT_EQ(aem.segments[0].meta.at("ATTITUDE_DIR"), "A2B");
    EXPECT_EQ(aem.segments[0].meta.at("QUATERNION_TYPE"), "LAST");
}

TEST_F(ExportRunTest, Aem2HasNeitherDirectionNorQuaternionType) {
    ASSERT_EQ(exportPass({"--aem-version", "2.0", "--object-name", "Kalpa 1", "--object-id", "2002-901A",
                          "--originator", "Ground station DB"}).status, 0);
    const Message aem = readMessage(dir.file("pass.aem"));
    EXPECT_EQ(aem.versionLine, "CCSDS_AEM_VERS = 2.0");
    EXPECT_EQ(aem.header.at("ORIGINATOR"), "Ground station DB");
    EXPECT_EQ(aem.segments[1].meta.count("ATTITUDE_DIR"), 0u);
    EXPECT_EQ(aem.segments[1].meta.count("QUATERNION_TYPE"), 0u);
    EXPECT_EQ(aem.segments[1].meta.at("OBJECT_NAME"), "Kalpa 1");
    for (const std::string& verdict : checkerVerdicts({dir.file("pass.aem"), dir.file("pass.oem")})) {
        EXPECT_EQ(verdict.substr(0, 3), "OK ") << verdict;
    }
}

TEST_F(ExportRunTest, AnOutputThatNamesAnInputOrTheOtherOutputIsRefusedBeforeAnythingIsWritten) {
    const std::vector<std::uint8_t> packets = readBytes(dir.file("pass.kov"));
    fs::create_hard_link(dir.file("norad.tle"), dir.file("linked.tle"));
    const std::vector<std::vector<std::string>> refused = {
        {"--oem", path("pass.kov")},
        {"--aem", dir.path().string() + "/./pass.kov"},
        {"--oem", path("x.txt"), "--aem", path("x.txt")},
        {"--norad", path("norad.tle"), "--oem", path("linked.tle")},
    };
    for (const auto& extra : refused) {
        const ProgramRun run = exportPass(extra);
        EXPECT_EQ(run.status, kExportFailed) << extra[1];
        EXPECT_NE(run.err.find("names the same file as the"), std::string::npos) << run.err;
        EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"linked.tle", "norad.tle", "pass.kov"}));
        EXPECT_EQ(readBytes(dir.file("pass.kov")), packets);
    }
}

TEST_F(ExportRunTest, AnOutputInAMissingDirectoryFailsAndLeavesNoFile) {
    for (const char* option : {"--oem", "--aem"}) {
        const ProgramRun run = exportPass({option, path("missing/pass.out")});
        EXPECT_EQ(run.status, kExportFailed);
        EXPECT_NE(run.err.find("cannot create the"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;
        EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"norad.tle", "pass.kov"}));
    }
}

// Output names that denote a device, a FIFO or a symbolic link, or a file with its own mode:
// the device and the FIFO take the message as they are, the link keeps pointing at the new
// message, the file keeps its mode.
TEST_F(ExportRunTest, OutputsAreWrittenThroughWhatTheirNamesDenote) {
    const ProgramRun toNull = exportPass({"--oem", "/dev/null", "--aem", "/dev/null"});
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    ASSERT_EQ(::mkfifo(path("pass.fifo").c_str(), 0600), 0);
    std::string throughFifo;
    std::thread reader([&] { throughFifo = readText(dir.file("pass.fifo")); });
    fs::create_directory(dir.file("archive"));
    writeText(dir.file("archive/kept.aem"), "old");
    ::chmod(path("archive/kept.aem").c_str(), 0604);
    fs::create_symlink("archive/kept.aem", dir.file("link.aem"));
    const ProgramRun run = exportPass({"--oem", path("pass.fifo"), "--aem", path("link.aem")});
    reader.join();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(throughFifo.rfind("CCSDS_OEM_VERS", 0), 0u);
    EXPECT_TRUE(fs::is_fifo(dir.file("pass.fifo")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.aem")));
    EXPECT_EQ(readText(dir.file("archive/kept.aem")).rfind("CCSDS_AEM_VERS", 0), 0u);
    struct stat status {};
    ASSERT_EQ(::stat(path("archive/kept.aem").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"archive", "link.aem", "norad.tle", "pass.fifo", "pass.kov"}));
}

// The AEM fails after the OEM is complete: the OEM of an earlier run stays as it was.
TEST_F(ExportRunTest, AFailedMessageLeavesTheEarlierMessagesAsTheyWere) {
    if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    writeText(dir.file("pass.oem"), "a good earlier OEM");
    const ProgramRun run = exportPass({"--aem", "/dev/full"});
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_EQ(readText(dir.file("pass.oem")), "a good earlier OEM");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"norad.tle", "pass.kov", "pass.oem"}));
}

// A packet file name as long as a name may be, less its extension: the messages' names are as
// long, and their temporary names must not be longer.
TEST_F(ExportRunTest, APacketFileNameOfAnyValidLengthIsExported) {
    const std::string stem(246, 'p');
    fs::rename(dir.file("pass.kov"), dir.file(stem + ".kov"));
    const ProgramRun run = runKovaExport({path((stem + ".kov").c_str()), "--creation-date", "2026-12-09T10:00:00"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"norad.tle", stem + ".aem", stem + ".kov", stem + ".oem"}));
}

TEST_F(ExportRunTest, NoradFilesThatCannotServeAreErrors) {
    ProgramRun run = exportPass({"--norad", path("missing.tle")});
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_EQ(run.err, "kovaexport: cannot open the norad file " + path("missing.tle") + "\n");
    run = exportPass({"--norad", path("norad.tle"), "--satellite", "NOSUCH"});
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_EQ(run.err, "kovaexport: the norad file " + path("norad.tle") + " holds no element set under the name NOSUCH\n");
    run = exportPass({"--norad", dir.path().string()});
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"norad.tle", "pass.kov"}));
}

TEST_F(ExportRunTest, PacketFilesKovaWouldRefuseAreRefused) {
    struct Case {
        const char* name;
        PacketFileBuilder builder;
        const char* message;
    };
    std::vector<Case> cases;
    cases.push_back({"one.kov", PacketFileBuilder().navAt(0).other(100, 30), "holds fewer than two navigation packets"});
    cases.push_back({"short_last.kov", PacketFileBuilder().navAt(0).navAt(1).navOfSize(100, smoothSample(kTestBaseSeconds + 2)),
                     "is truncated or not 126 bytes long"});
    cases.push_back({"cut_last.kov", PacketFileBuilder().navAt(0).navAt(1).navAt(2).dropLast(10),
                     "is truncated or not 126 bytes long"});
    cases.push_back({"bad_middle.kov",
                     PacketFileBuilder().navAt(0).navAt(1).navOfSize(140, smoothSample(kTestBaseSeconds + 2)).navAt(3).navAt(4),
                     "packet file read error at packet index 2"});
    cases.push_back({"bad_header.kov", PacketFileBuilder().navAt(0).navAt(1).header(3, 957, 119), "cannot index the packet file"});
    for (Case& c : cases) {
        c.builder.writeTo(dir.file(c.name));
        const ProgramRun run = runKovaExport({path(c.name)});
        EXPECT_EQ(run.status, kExportFailed) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
        EXPECT_FALSE(fs::exists(derivedOutputName(path(c.name), ".kov", ".oem"))) << c.name;
    }
    const ProgramRun absent = runKovaExport({path("absent.kov")});
    EXPECT_EQ(absent.status, kExportFailed);
    EXPECT_EQ(absent.err, "kovaexport: cannot open the packet file " + path("absent.kov") + ": No such file or directory\n");
    const ProgramRun directory = runKovaExport({dir.path().string()});
    EXPECT_EQ(directory.status, kExportFailed);
    EXPECT_NE(directory.err.find("it is a directory"), std::string::npos) << directory.err;
    for (const std::string device : {"/dev/zero", "/dev/null"}) {
        const ProgramRun notAFile = runKovaExport({device, "--oem", path("d.oem"), "--aem", path("d.aem")});
        EXPECT_EQ(notAFile.status, kExportFailed) << device;
        EXPECT_NE(notAFile.err.find("it is not a regular file"), std::string::npos) << notAFile.err;
    }
    EXPECT_EQ(filesIn(dir.path()).size(), 2u + cases.size());
}

TEST_F(ExportRunTest, APassWithoutOneUsableQuaternionWritesNeitherMessage) {
    PacketFileBuilder builder;
    for (std::uint32_t t = 0; t < 5; ++t) {
        generator::NavSample sample = smoothSample(kTestBaseSeconds + t);
        for (std::size_t k = 6; k < 10; ++k) sample.values[k] = 0.0;
        builder.nav(sample);
    }
    builder.writeTo(dir.file("still.kov"));
    const ProgramRun run = runKovaExport({path("still.kov")});
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_EQ(run.err, "kovaexport: none of the 5 records has a usable time and quaternion: no AEM\n");
    EXPECT_FALSE(fs::exists(dir.file("still.oem")));
    EXPECT_FALSE(fs::exists(dir.file("still.aem")));
}

TEST_F(ExportRunTest, EphemerisFilesThatAreShortOrMalformedAreErrors) {
    const std::vector<std::uint8_t> whole = ephemerisFile();
    const auto withU32 = [&whole](std::size_t offset, std::uint32_t value) {
        std::vector<std::uint8_t> bytes = whole;
        be::storeU32(bytes.data() + offset, value);
        return bytes;
    };
    std::vector<std::uint8_t> wrongFrame = whole;
    wrongFrame[toolkit_header::kSize + ephemeris_header::kReferenceFrame] = 'B';
    std::vector<std::uint8_t> trailing = whole;
    trailing.push_back(0);
    const std::size_t recordsEnd = kFileHeaderSize + 64 * std::size_t{231};
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    const Case cases[] = {
        {std::vector<std::uint8_t>(whole.begin(), whole.begin() + 300), "shorter than the two header blocks"},
        {withU32(toolkit_header::kRecordCount, 0), "it holds no records"},
        {withU32(toolkit_header::kRecordCount, 100000), "shorter than its header says"},
        {std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(recordsEnd) - 1),
         "shorter than its header says"},
        {trailing, "are not whole orbit metadata records"},
        {wrongFrame, "its reference frame is 'B2000', not J2000"},
        {withU32(kFileHeaderSize + 64 * 7 + ephemeris_record::kQaFlags, 0x10000), "record 7 has a flag word"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = exportEphemeris(c.bytes);
        EXPECT_EQ(run.status, kExportFailed) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir.file("cut.oem"))) << c.message;
    }
    EXPECT_EQ(exportEphemeris(whole).status, 0);
}

TEST_F(ExportRunTest, EphemerisRecordsWithoutAFiniteTimeOrStateAreLeftOutAndNamed) {
    std::vector<std::uint8_t> bytes = ephemerisFile();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    be::storeF64(bytes.data() + kFileHeaderSize + 64 * 5 + ephemeris_record::kPosition + 8, nan);
    be::storeF64(bytes.data() + kFileHeaderSize + 64 * 9 + ephemeris_record::kTime,
                 std::numeric_limits<double>::infinity());
    const ProgramRun run = exportEphemeris(bytes, {"--creation-date", "2026-12-09T10:00:00"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Message oem = readMessage(dir.file("cut.oem"));
    ASSERT_GE(oem.segments[0].comments.size(), 2u);
    EXPECT_EQ(oem.segments[0].comments[0].substr(0, 50), "Left out: record 5 at 2003-07-30T03:10:42.000018: ");
    EXPECT_EQ(oem.segments[0].comments[0].substr(50), "its position or velocity is not finite");
    EXPECT_EQ(oem.segments[0].comments[1],
              "Left out: record 9: its time is not finite or lies outside the years 0000 to 9999");
    for (const std::string& verdict : checkerVerdicts({dir.file("cut.oem")})) EXPECT_EQ(verdict.substr(0, 3), "OK ") << verdict;
}

TEST_F(ExportRunTest, HeaderTextsThatCannotBeWrittenNeedTheirOption) {
    std::vector<std::uint8_t> bytes = ephemerisFile();
    bytes[toolkit_header::kSpacecraft + 1] = '\t';
    ProgramRun run = exportEphemeris(bytes);
    EXPECT_EQ(run.status, kExportFailed);
    EXPECT_NE(run.err.find("give --object-name"), std::string::npos) << run.err;
    run = exportEphemeris(bytes, {"--object-name", "KALPM1"});
    EXPECT_EQ(run.status, 0) << run.err;
}

// A sink over a file descriptor, written as it comes: the writer's behaviour on a full disk.
class DescriptorSink final : public ByteSink {
public:
    explicit DescriptorSink(int descriptor) : descriptor_(descriptor) {}
    void write(const char* data, std::size_t size) override {
        if (::write(descriptor_, data, size) != static_cast<ssize_t>(size)) error_ = std::strerror(errno);
    }
    bool failed() const override { return !error_.empty(); }
    std::string error() const override { return error_; }

private:
    int descriptor_;
    std::string error_;
};

class DiscardingSink final : public ByteSink {
public:
    void write(const char*, std::size_t size) override { bytes += size; }
    bool failed() const override { return false; }
    std::string error() const override { return ""; }
    std::size_t bytes = 0;
};

// Records from memory, for passes that differ between the planning and the writing pass.
class ListedRecords final : public RecordSource {
public:
    explicit ListedRecords(std::vector<ExportRecord> records) : records_(std::move(records)) {}
    bool next(ExportRecord& record) override {
        if (next_ == records_.size()) return false;
        record = records_[next_++];
        return true;
    }

private:
    std::vector<ExportRecord> records_;
    std::size_t next_ = 0;
};

std::vector<ExportRecord> steadyRecords(std::size_t count) {
    std::vector<ExportRecord> records(count);
    for (std::size_t i = 0; i < count; ++i) {
        records[i].tai93Seconds = 1.0e9 + static_cast<double>(i);
        records[i].position = {7.0e6, 1.0e3 * static_cast<double>(i), 0.0};
        records[i].velocity = {0.0, 7.5e3, 0.0};
        records[i].quaternion = {0.0, 0.0, 0.0, 1.0};
    }
    return records;
}

const MessageIdentity kIdentity{"KALPM1", "UNKNOWN", "DB", "2026-12-09T10:00:00", AemVersion::k1_0};

// Passes of several batches of records, where both messages are written at once on two threads.
class KeptSink final : public ByteSink {
public:
    void write(const char* data, std::size_t size) override { bytes.append(data, size); }
    std::string bytes;
};

std::vector<ExportRecord> longPass() {
    std::vector<ExportRecord> records = steadyRecords(20000);
    records[15000].quaternion = {0.0, 0.0, 0.0, 0.0};                       // no attitude
    records[17000].position[0] = std::numeric_limits<double>::quiet_NaN();  // no state
    return records;
}

TEST(ExportMessages, BothMessagesOfALongPassAreTheBytesOfEachWrittenAlone) {
    const auto write = [](ByteSink* oem, ByteSink* aem) {
        ListedRecords planning(longPass());
        ExportSummary summary;
        std::string error;
        EXPECT_TRUE(exportPass(
            planning, [] { return std::make_unique<ListedRecords>(longPass()); }, kIdentity, oem, aem, nullptr,
            summary, error))
            << error;
        return summary;
    };
    KeptSink oem;
    KeptSink aem;
    const ExportSummary both = write(&oem, &aem);
    EXPECT_EQ(both.oem.leftOut, 1u);
    EXPECT_EQ(both.aem.leftOut, 1u);
    KeptSink oemAlone;
    KeptSink aemAlone;
    write(&oemAlone, nullptr);
    write(nullptr, &aemAlone);
    EXPECT_TRUE(oem.bytes == oemAlone.bytes);
    EXPECT_TRUE(aem.bytes == aemAlone.bytes);
}

// The first failure in record order is the one reported (the OEM's on a tie), whichever thread
// met it.
TEST(ExportMessages, AFailureInALongPassIsReportedAsTheRecordsMeetIt) {
    std::vector<ExportRecord> changed = longPass();  // a long gap more, met by both at one record
    for (std::size_t i = 12345; i < changed.size(); ++i) changed[i].tai93Seconds += 600.0;
    KeptSink oem;
    KeptSink aem;
    ListedRecords planning(longPass());
    ExportSummary summary;
    std::string error;
    EXPECT_FALSE(exportMessages(
        planning, [&changed] { return std::make_unique<ListedRecords>(changed); }, kIdentity, oem, &aem, summary,
        error));
    EXPECT_EQ(error.rfind("OEM: the input changed while it was exported", 0), 0u) << error;

    const int descriptor = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) GTEST_SKIP() << "no /dev/full here";
    DescriptorSink full(descriptor);
    ListedRecords again(longPass());
    const bool exported = exportMessages(
        again, [] { return std::make_unique<ListedRecords>(longPass()); }, kIdentity, oem, &full, summary, error);
    ::close(descriptor);
    EXPECT_FALSE(exported);
    EXPECT_EQ(error, "AEM: No space left on device");
}

TEST(ExportMessages, AFullDiskIsReportedAsAFailedExport) {
    const int descriptor = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) GTEST_SKIP() << "no /dev/full here";
    DescriptorSink full(descriptor);
    DiscardingSink aem;
    ListedRecords planning(steadyRecords(5000));
    ExportSummary summary;
    std::string error;
    const bool exported = exportMessages(
        planning, [] { return std::make_unique<ListedRecords>(steadyRecords(5000)); }, kIdentity, full, &aem,
        summary, error);
    ::close(descriptor);
    EXPECT_FALSE(exported);
    EXPECT_EQ(error, "OEM: No space left on device");
}

TEST(ExportMessages, AnInputThatChangesBetweenThePassesFailsTheExport) {
    std::vector<ExportRecord> longer = steadyRecords(101);
    std::vector<ExportRecord> later = steadyRecords(100);
    for (ExportRecord& record : later) record.tai93Seconds += 0.5;
    for (const auto& second : {longer, later}) {
        DiscardingSink oem;
        ListedRecords planning(steadyRecords(100));
        ExportSummary summary;
        std::string error;
        EXPECT_FALSE(exportMessages(
            planning, [&second] { return std::make_unique<ListedRecords>(second); }, kIdentity, oem, nullptr,
            summary, error));
        EXPECT_EQ(error.rfind("OEM: the input changed while it was exported", 0), 0u) << error;
    }
}

TEST(ExportMessages, WritesAboutAHundredBytesPerRecordAndNoMore) {
    DiscardingSink oem;
    DiscardingSink aem;
    ListedRecords planning(steadyRecords(1000));
    ExportSummary summary;
    std::string error;
    ASSERT_TRUE(exportMessages(
        planning, [] { return std::make_unique<ListedRecords>(steadyRecords(1000)); }, kIdentity, oem, &aem, summary,
        error))
        << error;
    EXPECT_EQ(summary.oem.records, 1000u);
    EXPECT_EQ(summary.aem.segments, 1u);
    // 26 + 3 x 15 + 3 x 16 (or 15) characters, a line end: at most 120 bytes per OEM line.
    EXPECT_LT(oem.bytes, 1000u * 120 + 1000);
    EXPECT_LT(aem.bytes, 1000u * 99 + 1000);
}

}  // namespace
}  // namespace kova::test
