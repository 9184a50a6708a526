#pragma once
// What every program with a --long-option command line shares (kovagen, kovaexport,
// kovareport): one parser, one set of exit statuses, one outermost handler, and one way to
// end on a signal or a closed standard output.
//
// Command line: "--name VALUE" or "--name=VALUE"; -h or --help prints the help and
// --version the version, on the standard output, after the whole line parsed; "--" ends the
// options; any other argument is positional. An unknown option, a missing value, or an empty
// value where text is needed is a command-line error: "PROGRAM: PROBLEM", then the usage line,
// on the error stream, status 2.
//
// A run: the program's body is called with the parsed line. Any exception that leaves it
// (std::bad_alloc too) becomes "PROGRAM: WHAT" and status 1; the output sets of the body are
// unwound on the way, so no file of a failed run is committed. The standard output is flushed
// last: when it could not take what it was given (a full disk, a closed pipe), the files
// stay, and the program says so and ends with status 1.
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailure = 1;      // bad input, refused or failed output
inline constexpr int kExitCommandLine = 2;  // a malformed command line

// One option of a program, named with its leading "--".
struct ProgramOption {
    std::string_view name;
    bool takesValue = true;
    bool needsText = true;  // an empty value is a command-line error
};

// A command line as given: the options with their values in order, and the rest.
struct CommandLine {
    struct GivenOption {
        std::string name;
        std::string value;
    };
    std::vector<GivenOption> options;
    std::vector<std::string> positional;
    bool help = false;     // -h or --help
    bool version = false;  // --version
};

// Parses `arguments` (after the program name) against `options` (--help and --version are
// always known). False with the problem in words when the line is malformed.
bool parseCommandLine(std::span<const ProgramOption> options, const std::vector<std::string>& arguments,
                      CommandLine& line, std::string& problem);

// What a program tells the shell about itself.
struct ProgramInterface {
    std::string_view name;   // "kovaexport"
    std::string_view usage;  // "usage: kovaexport [options] PACKETFILE"
    std::span<const ProgramOption> options;
    void (*printHelp)(std::ostream& out);  // the help text, usage line first
};

class ProgramShell {
public:
    ProgramShell(const ProgramInterface& program, std::ostream& out, std::ostream& err);

    // Parses, answers --help and --version, else runs `body` under the outermost handler;
    // checks the standard output last. Returns the exit status.
    int run(const std::vector<std::string>& arguments, const std::function<int(const CommandLine&)>& body) const;

    // For the body: "PROGRAM: PROBLEM" and the usage line on the error stream; returns 2.
    int refuseCommandLine(std::string_view problem) const;
    // For the body: "PROGRAM: MESSAGE" on the error stream; returns 1.
    int fail(std::string_view message) const;
    // For the body: "PROGRAM: MESSAGE" on the error stream.
    void warn(std::string_view message) const;

private:
    int finish(int status) const;

    const ProgramInterface& program_;
    std::ostream& out_;
    std::ostream& err_;
};

// The arguments after the program name.
std::vector<std::string> programArguments(int argc, const char* const* argv);

// Called first in main(): a closed pipe on the standard output becomes a failed write
// (SIGPIPE ignored) instead of the end of the process, and so does a file that passes the
// process's size limit (SIGXFSZ ignored); SIGINT, SIGTERM and SIGHUP remove the
// process's temporary files, then end it as the signal would (a signal ignored when the
// program started stays ignored).
void prepareProgramProcess();

}  // namespace kova
