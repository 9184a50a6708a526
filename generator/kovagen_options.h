#pragma once
// The command line of kovagen.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

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
    bool helpRequested = false;
};

// Parses the arguments after the program name. False with a reason in `error` for an
// unknown flag, a missing or malformed value, or a missing --out.
bool parseKovagenArguments(const std::vector<std::string>& arguments, KovagenOptions& options, std::string& error);

void printKovagenUsage(std::ostream& out);

// Loads the element set, settles the start time and the packet size. False with a reason.
bool settleKovagenOptions(KovagenOptions& options, std::string& error);

// The whole program: returns the exit status (0; 1 when a file cannot be read or
// written; 2 for a command-line error, after the usage text).
int runKovagen(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace kova::generator
