#pragma once
// The command line of kovagen.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/program_shell.h"
#include "generator/pass_generator.h"

namespace kova::generator {

struct KovagenOptions {
    std::string packetFile;        // --out
    std::string noradFile;         // --norad (optional)
    std::string elementSetFile;    // --tle (optional: the built-in set otherwise)
    std::string satelliteName;     // --name (default MARU, SELA for 214-byte packets)
    std::string startText;         // --start (default: ten minutes after the epoch)
    PassSettings pass;             // everything else
    bool packetSizeGiven = false;
};

// The program's name, usage line, options and help, for the shell.
extern const ProgramInterface kKovagenProgram;

// Takes a parsed command line into `options`. False with a reason in `error` for a
// malformed value, a positional argument, or a missing --out.
bool readKovagenCommandLine(const CommandLine& line, KovagenOptions& options, std::string& error);

void printKovagenUsage(std::ostream& out);

// Loads the element set, settles the start time and the packet size. False with a reason.
bool settleKovagenOptions(KovagenOptions& options, std::string& error);

// The whole program: the packet file and the norad file (both or neither), then a summary
// on `out`. Returns the exit status (0; 1 when a file cannot be read or written; 2 for a
// command-line error, after the usage line).
int runKovagen(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace kova::generator
