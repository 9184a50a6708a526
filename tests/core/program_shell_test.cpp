// The program shell: its one parser, its statuses, the outermost handler and the standard
// output checked last.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/program_shell.h"
#include "core/version.h"

namespace kova {
namespace {

constexpr ProgramOption kOptions[] = {{"--out"}, {"--note", true, false}, {"--quiet", false, false}};

void printHelp(std::ostream& out) { out << "usage: prog [options] FILE\nthe help\n"; }

const ProgramInterface kProgram{"prog", "usage: prog [options] FILE", kOptions, printHelp};

struct ParseCase {
    std::vector<std::string> arguments;
    std::string problem;  // empty: parsed
    std::string seen;     // the options and positional arguments parsed, in order
};

std::string seenOf(const CommandLine& line) {
    std::string seen;
    for (const auto& option : line.options) seen += option.name + "=" + option.value + " ";
    for (const auto& argument : line.positional) seen += "[" + argument + "] ";
    if (line.help) seen += "help ";
    if (line.version) seen += "version ";
    return seen;
}

TEST(ProgramShell, OneParserForEveryProgram) {
    const ParseCase cases[] = {
        {{"--out", "a", "f"}, "", "--out=a [f] "},
        {{"--out=a=b", "--", "--out"}, "", "--out=a=b [--out] "},
        {{"--note=", "-", "x"}, "", "--note= [-] [x] "},
        {{"--out", "-h"}, "", "--out=-h "},  // a value may start with '-'
        {{"-h", "--version", "f"}, "", "[f] help version "},
        {{"--quiet", "f"}, "", "--quiet= [f] "},
        {{"--out"}, "--out needs a value", ""},
        {{"--out="}, "--out needs a non-empty value", ""},
        {{"--quiet=yes"}, "--quiet takes no value", ""},
        {{"--help=1"}, "--help takes no value", ""},
        {{"--bogus"}, "unknown option --bogus", ""},
        {{"--bogus=1"}, "unknown option --bogus", ""},
        {{"-out", "a"}, "unknown option -out", ""},
    };
    for (const ParseCase& c : cases) {
        CommandLine line;
        std::string problem;
        const bool parsed = parseCommandLine(kOptions, c.arguments, line, problem);
        EXPECT_EQ(parsed, c.problem.empty()) << c.arguments.front();
        EXPECT_EQ(problem, c.problem);
        if (parsed) {
            EXPECT_EQ(seenOf(line), c.seen);
        }
    }
}

struct ShellRun {
    int status;
    std::string out;
    std::string err;
};

ShellRun runShell(const std::vector<std::string>& arguments, const std::function<int(const CommandLine&)>& body,
                  bool outputLost = false) {
    std::ostringstream out;
    std::ostringstream err;
    if (outputLost) out.setstate(std::ios::badbit);
    const ProgramShell shell(kProgram, out, err);
    const int status = shell.run(arguments, body);
    return {status, out.str(), err.str()};
}

TEST(ProgramShell, StatusesMessagesAndTheStandardOutputLast) {
    int bodies = 0;
    const auto counted = [&bodies](const CommandLine&) { return ++bodies, kExitDone; };
    EXPECT_EQ(runShell({"-h"}, counted).out, "usage: prog [options] FILE\nthe help\n");
    EXPECT_EQ(runShell({"--version"}, counted).out, std::string("prog ") + kVersion + "\n");
    const ShellRun refused = runShell({"--bogus", "-h"}, counted);
    EXPECT_EQ(refused.status, kExitCommandLine);
    EXPECT_EQ(refused.err, "prog: unknown option --bogus\nusage: prog [options] FILE\n");
    EXPECT_EQ(bodies, 0);
    EXPECT_EQ(runShell({"f"}, counted).status, kExitDone);
    EXPECT_EQ(bodies, 1);

    const ShellRun thrown = runShell({}, [](const CommandLine&) -> int { throw std::runtime_error("broken input"); });
    EXPECT_EQ(thrown.status, kExitFailure);
    EXPECT_EQ(thrown.err, "prog: broken input\n");
    const ShellRun memory = runShell({}, [](const CommandLine&) -> int { throw std::bad_alloc(); });
    EXPECT_EQ(memory.status, kExitFailure);
    EXPECT_EQ(memory.err, "prog: out of memory\n");
    const ShellRun other = runShell({}, [](const CommandLine&) -> int { throw 7; });
    EXPECT_EQ(other.status, kExitFailure);

    // The body's own command-line refusal keeps its status, and a lost standard output after
    // a complete run is a failure with a message.
    const ShellRun bodyRefusal = runShell({}, [](const CommandLine&) { return kExitCommandLine; }, true);
    EXPECT_EQ(bodyRefusal.status, kExitCommandLine);
    const ShellRun lost = runShell({"--version"}, counted, true);
    EXPECT_EQ(lost.status, kExitFailure);
    EXPECT_EQ(lost.err, "prog: write failed for the standard output\n");
}

// A file past the size limit (ulimit -f) is a failed write too, not the end of the process
// with its temporary files left behind.
TEST(ProgramShell, AFilePastTheSizeLimitIsAFailedWrite) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prepareProgramProcess();
        const struct rlimit limit {4096, RLIM_INFINITY};
        char name[] = "/tmp/kova-size-limit-XXXXXX";
        const int descriptor = ::mkstemp(name);
        ::unlink(name);
        char block[8192] = {};
        const bool failed = descriptor >= 0 && ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                            ::write(descriptor, block, sizeof block) == 4096 &&
                            ::write(descriptor, block, sizeof block) < 0 && errno == EFBIG;
        _exit(failed ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// A closed pipe on the standard output is a failed write, not the end of the process.
TEST(ProgramShell, AClosedPipeIsAFailedWrite) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prepareProgramProcess();
        const bool failed = ::write(ends[1], "x", 1) < 0 && errno == EPIPE;
        _exit(failed ? 0 : 1);
    }
    ::close(ends[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace kova
