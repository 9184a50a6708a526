// kovagen, kovaexport and kovareport as processes, where the surroundings end a run early:
// a standard output that is closed or full, a stop by signal, and runs that write one set of
// files at once. The files of a run appear whole or not at all, and a lost standard output
// costs the summary, never the files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "generator/element_set.h"
#include "generator/pass_generator.h"
#include "generator/pass_time.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

// Starts `program` in `workDir` with the standard output on `standardOutput` (a descriptor of
// the caller, closed here) and the error stream discarded; returns its process id.
pid_t startProgram(const std::string& program, const std::vector<std::string>& arguments, const fs::path& workDir,
                   int standardOutput) {
    const std::string path = programPath(program).string();
    std::vector<std::string> words{path};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        ::dup2(standardOutput, STDOUT_FILENO);
        const int nothing = ::open("/dev/null", O_RDWR);
        ::dup2(nothing, STDERR_FILENO);
        ::dup2(nothing, STDIN_FILENO);
        // The test runner's own dispositions are not the program's.
        ::signal(SIGPIPE, SIG_DFL);
        if (::chdir(workDir.c_str()) != 0) _exit(120);
        ::execv(path.c_str(), argv.data());
        _exit(121);
    }
    ::close(standardOutput);
    return child;
}

int waitFor(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FrontDoor : public testing::Test {
protected:
    void SetUp() override {
        generator::PassSettings settings;
        settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
        settings.durationSeconds = 600;
        writeGeneratedPass(dir_.file("pass.kov"), settings);
    }
    TemporaryDirectory dir_;
};

// "kovareport ... | head -2": the report's reader is gone before the text comes.
TEST_F(FrontDoor, AClosedPipeCostsTheTextNeverTheFiles) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const int status = waitFor(
        startProgram("kovareport", {"--json", "r.json", "--html", "r.html", "pass.kov"}, dir_.path(), ends[1]));
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readText(dir_.file("r.json")).substr(0, 1), "{");
    EXPECT_FALSE(readText(dir_.file("r.html")).empty());
    EXPECT_EQ(namesIn(dir_.path()), (std::vector<std::string>{"pass.kov", "r.html", "r.json"}));
}

// A full standard output: the messages are in place and the run says that its summary was
// lost (status 1, never a success).
TEST_F(FrontDoor, AFullStandardOutputIsAFailureAfterTheFiles) {
    if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const ProcessResult run = runProgram("kovaexport", {"pass.kov"}, dir_.path(), "/dev/full");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "kovaexport: write failed for the standard output\n");
    EXPECT_EQ(readText(dir_.file("pass.oem")).rfind("CCSDS_OEM_VERS", 0), 0u);
    EXPECT_EQ(readText(dir_.file("pass.aem")).rfind("CCSDS_AEM_VERS", 0), 0u);
}

// Stopped while it writes: no temporary file stays, and no output appears.
TEST_F(FrontDoor, AStopBySignalLeavesNoTemporaryFile) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        const int nothing = ::open("/dev/null", O_WRONLY);
        const pid_t child = startProgram("kovagen", {"--out", "long.kov", "--norad", "long.tle", "--duration",
                                                     "100000000", "--other-apids", "4"},
                                         dir_.path(), nothing);
        // Wait until the run has its temporary files, then stop it.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (namesIn(dir_.path()).size() < 3 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::kill(child, signalNumber);
        const int status = waitFor(child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"pass.kov"});
    }
}

// Runs that export one pass to the same names at once: the OEM and the AEM always come from
// one run (their creation dates tell which).
TEST_F(FrontDoor, ConcurrentExportsNeverMixTheirMessages) {
    constexpr int kRuns = 4;
    constexpr int kRounds = 6;
    const auto creationDate = [](const std::string& text) {
        const std::size_t at = text.find("CREATION_DATE = ");
        return at == std::string::npos ? std::string() : text.substr(at, 36);
    };
    for (int round = 0; round < kRounds; ++round) {
        std::vector<pid_t> children;
        for (int run = 0; run < kRuns; ++run) {
            const std::string date = "2026-12-09T10:00:0" + std::to_string(run);
            children.push_back(startProgram("kovaexport", {"pass.kov", "--creation-date", date}, dir_.path(),
                                            ::open("/dev/null", O_WRONLY)));
        }
        for (const pid_t child : children) {
            const int status = waitFor(child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        EXPECT_EQ(creationDate(readText(dir_.file("pass.oem"))), creationDate(readText(dir_.file("pass.aem"))))
            << "round " << round;
    }
    EXPECT_EQ(namesIn(dir_.path()), (std::vector<std::string>{"pass.aem", "pass.kov", "pass.oem"}));
}

TEST_F(FrontDoor, EveryLongOptionProgramAnswersHelpAndVersion) {
    for (const char* program : {"kovagen", "kovaexport", "kovareport"}) {
        for (const char* option : {"-h", "--help"}) {
            const ProcessResult help = runProgram(program, {option}, dir_.path());
            EXPECT_EQ(help.exitCode, 0) << program << option << help.err;
            EXPECT_EQ(help.out.rfind(std::string("usage: ") + program, 0), 0u) << help.out;
        }
        const ProcessResult version = runProgram(program, {"--version"}, dir_.path());
        EXPECT_EQ(version.exitCode, 0) << program;
        EXPECT_EQ(version.out.rfind(std::string(program) + " ", 0), 0u) << version.out;
        const ProcessResult unknown = runProgram(program, {"--bogus"}, dir_.path());
        EXPECT_EQ(unknown.exitCode, 2) << program;
        EXPECT_EQ(unknown.err.rfind(std::string(program) + ": unknown option --bogus\nusage: " + program, 0), 0u)
            << unknown.err;
    }
}

}  // namespace
}  // namespace kova::test
