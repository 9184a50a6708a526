// The program's run in-process: its command line, the inputs kova would refuse, the odd but
// sound files it reports on, and the outputs it writes or refuses to write.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "generator/element_set.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "report/report_run.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"

namespace kova::report {
namespace {

namespace fs = std::filesystem;
using test::PacketFileBuilder;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runReport(arguments, out, err);
    return {status, out.str(), err.str()};
}

class ReportRun : public ::testing::Test {
protected:
    void SetUp() override {
        generator::PassSettings settings;
        settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
        settings.durationSeconds = 600;
        pass_ = test::writeGeneratedPass(directory_.file("pass.kov"), settings).string();
        std::ofstream norad(directory_.file("norad.tle"));
        generator::writeNoradFile(norad, settings.elementSet);
    }
    std::string file(const std::string& name) const { return directory_.file(name).string(); }

    test::TemporaryDirectory directory_;
    std::string pass_;
};

TEST_F(ReportRun, CommandLineErrorsGiveStatusTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"--json"},
        {"--colour", "red", "pass.kov"},
        {"a.kov", "b.kov"},
        {"--satellite", "", "pass.kov"},
        {"--json=", "pass.kov"},
    };
    for (const auto& line : lines) {
        const RunResult result = run(line);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_EQ(result.err.rfind("kovareport: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find("usage: kovareport [options] PACKETFILE"), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(run({"--help"}).status, kExitComplete);
    EXPECT_NE(run({"--help"}).out.find("--satellite NAME"), std::string::npos);
    EXPECT_EQ(run({"--version"}).out.rfind("kovareport ", 0), 0u);
}

TEST_F(ReportRun, WritesTheTextAndBothFilesOnlyWhenComplete) {
    const RunResult result = run({"--norad", file("norad.tle"), "--json=" + file("r.json"), "--html", file("r.html"), pass_});
    ASSERT_EQ(result.status, kExitComplete) << result.err;
    EXPECT_TRUE(result.err.empty());
    EXPECT_NE(result.out.find("records written               : 600 (real 600, filled 0)"), std::string::npos)
        << result.out;
    EXPECT_EQ(test::readText(file("r.json")).rfind("{\n  \"format\": \"kovareport\",", 0), 0u);
    EXPECT_EQ(test::readText(file("r.html")).rfind("<!DOCTYPE html>", 0), 0u);
    // Nothing but the inputs and the two outputs: no toolkit file, no temporary file left.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(directory_.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 4u);
}

// Both files or neither: a page that cannot be written leaves the JSON of an earlier run.
TEST_F(ReportRun, AFileThatFailsLeavesTheOtherAsItWas) {
    if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    std::ofstream(file("r.json")) << "an earlier report";
    const RunResult result = run({"--json", file("r.json"), "--html", "/dev/full", pass_});
    EXPECT_EQ(result.status, kExitBadInput);
    EXPECT_EQ(result.err, "kovareport: cannot write the HTML file /dev/full: No space left on device\n");
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(test::readText(file("r.json")), "an earlier report");
}

// Output names of any length the system takes, and names that are devices or links.
TEST_F(ReportRun, OutputNamesOfAnyKind) {
    const std::string longName = file(std::string(250, 'j'));
    fs::create_symlink(file("target.html"), file("link.html"));
    const RunResult result = run({"--json", longName, "--html", file("link.html"), pass_});
    ASSERT_EQ(result.status, kExitComplete) << result.err;
    EXPECT_EQ(test::readText(longName).substr(0, 1), "{");
    EXPECT_TRUE(fs::is_symlink(file("link.html")));
    EXPECT_FALSE(test::readText(file("target.html")).empty());
    const RunResult toNull = run({"--json", "/dev/null", "--html", "/dev/null", pass_});
    EXPECT_EQ(toNull.status, kExitComplete) << toNull.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(ReportRun, OutputsNeverReplaceAnInput) {
    const std::string before = test::readText(pass_);
    for (const auto& line : std::vector<std::vector<std::string>>{
             {"--json", pass_, pass_},
             {"--html", "./" + fs::path(pass_).filename().string(), pass_},
             {"--norad", file("norad.tle"), "--html", file("norad.tle"), pass_},
             {"--json", file("same"), "--html", file("same"), pass_},
         }) {
        const std::string cwd = fs::current_path();
        fs::current_path(directory_.path());
        const RunResult result = run(line);
        fs::current_path(cwd);
        EXPECT_EQ(result.status, kExitBadInput);
        EXPECT_TRUE(result.err.find("names the same file") != std::string::npos ||
                    result.err.find("are one file") != std::string::npos)
            << result.err;
    }
    EXPECT_EQ(test::readText(pass_), before);
    EXPECT_FALSE(fs::exists(file("same")));
}

struct RefusedInput {
    const char* name;
    std::function<void(PacketFileBuilder&)> build;
    std::vector<std::string> options;
    const char* message;  // part of the error
};

TEST_F(ReportRun, InputsKovaRefusesStopWithStatusOneAndNoOutput) {
    std::ofstream(file("other.tle")) << "NOTHING HERE\n";
    const RefusedInput cases[] = {
        {"no navigation packet", [](PacketFileBuilder& b) { b.other(5, 40); }, {}, "no navigation packet (APID 957)"},
        {"one navigation packet", [](PacketFileBuilder& b) { b.navAt(0); }, {}, "only one navigation packet"},
        {"invalid header", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).header(1, 5, 3); },
         {}, "invalid packet header at offset 252 (version 1"},
        {"navigation packet of another length in the middle",
         [](PacketFileBuilder& b) { b.navAt(0).navOfSize(214, test::smoothSample(test::kTestBaseSeconds + 1)).navAt(2); },
         {}, "navigation packet 1 at offset 126 is 214 bytes long, not 126"},
        {"narrow packets read as wide ones", [](PacketFileBuilder& b) { b.navAt(0).navAt(1); },
         {"--satellite", "SELA"}, "is 126 bytes long, not 214"},
        {"truncated last navigation packet", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).navAt(2).dropLast(26); },
         {}, "navigation packet 2 at offset 252 runs 26 bytes past the end"},
        {"norad file without the name", [](PacketFileBuilder& b) { b.navAt(0).navAt(1); },
         {"--norad", "other.tle"}, "no complete element set under the name \"MARU\""},
        {"norad file missing", [](PacketFileBuilder& b) { b.navAt(0).navAt(1); },
         {"--norad", "missing.tle"}, "cannot open the norad file"},
    };
    const std::string cwd = fs::current_path();
    fs::current_path(directory_.path());
    for (const RefusedInput& c : cases) {
        SCOPED_TRACE(c.name);
        PacketFileBuilder builder;
        c.build(builder);
        builder.writeTo("case.kov");
        std::vector<std::string> line = c.options;
        for (const char* output : {"--json", "case.json", "--html", "case.html", "case.kov"}) line.emplace_back(output);
        const RunResult result = run(line);
        EXPECT_EQ(result.status, kExitBadInput);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
        EXPECT_FALSE(fs::exists("case.json"));
        EXPECT_FALSE(fs::exists("case.html"));
    }
    EXPECT_EQ(run({"missing.kov"}).status, kExitBadInput);
    EXPECT_NE(run({"."}).err.find("a directory"), std::string::npos);
    // A named pipe would block the open and could not be walked twice: refused first.
    ASSERT_EQ(::mkfifo("pipe.kov", 0600), 0);
    EXPECT_NE(run({"pipe.kov"}).err.find("not a regular file"), std::string::npos);
    fs::current_path(cwd);
}

TEST_F(ReportRun, OddButSoundFilesAreReportedNotRefused) {
    struct Odd {
        const char* name;
        std::function<void(PacketFileBuilder&)> build;
        const char* walk;
    };
    const Odd cases[] = {
        {"a truncated packet of another APID at the end",
         [](PacketFileBuilder& b) { b.navAt(0).navAt(1).other(3, 5000).dropLast(4000); },
         "truncated last packet at offset 252: 4000 bytes missing"},
        {"a partial header at the end", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).raw({0x0B, 0xBD}); },
         "partial header of 2 bytes at offset 252"},
        {"wide packets under SELA", [](PacketFileBuilder& b) { b.navAt(0).navAt(1); }, "at the end of the file"},
    };
    for (const Odd& c : cases) {
        SCOPED_TRACE(c.name);
        const bool wide = std::string(c.name).find("SELA") != std::string::npos;
        PacketFileBuilder builder(wide ? 214 : 126);
        c.build(builder);
        builder.writeTo(file("odd.kov"));
        const RunResult result = wide ? run({"--satellite", "SELA", file("odd.kov")}) : run({file("odd.kov")});
        EXPECT_EQ(result.status, kExitComplete) << result.err;
        EXPECT_NE(result.out.find(c.walk), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("element set                   : none"), std::string::npos);
    }
}

}  // namespace
}  // namespace kova::report
