#pragma once
// Settings of the dump tools: the input file and the window of records to show, held as text
// in one option table under "-file", "-beg" and "-cnt" and filled from the command line.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/option_table.h"

namespace kova {

namespace dump_option {
inline constexpr std::string_view kFile = "-file";  // default empty: the first argument is the input
inline constexpr std::string_view kBegin = "-beg";  // default "0": index of the first record shown
inline constexpr std::string_view kCount = "-cnt";  // default "all": number of records shown
inline constexpr std::string_view kAllRecords = "all";
}  // namespace dump_option

// Records shown: those with index >= first, at most `limit` of them (both unsigned).
struct RecordWindow {
    std::uint32_t first = 0;
    std::uint32_t limit = 0xFFFFFFFFu;
};

// Decimal text to an unsigned 32-bit number the way the C library's atoi reads it: leading
// white space, an optional sign, then digits up to the first non-digit (none gives 0); the
// result taken modulo 2^32, so "-1" is 4294967295. Out-of-range texts saturate at the 64-bit
// limits before they are cut to 32 bits, as atoi does on this platform, and are never
// undefined.
std::uint32_t unsignedFromDecimalText(const std::string& text);

// The dump file name: the input name with ".txt" appended.
std::string dumpFileNameFor(const std::string& inputName);

class DumpOptions {
public:
    // Registers "-file" (empty), "-beg" ("0") and "-cnt" ("all").
    DumpOptions();

    // Examines the arguments after the program name one at a time. An argument that begins
    // with '-' is a keyword and the argument after it its value; the scan then moves on by one,
    // so a value that itself begins with '-' is scanned as a keyword in its turn (the command
    // line "-beg -3 -cnt 5" stores "-beg" = "-3" and "-3" = "-cnt"). Keywords the tools do not
    // use are stored and have no effect. A keyword with no argument after it is refused:
    // "\nBad Command Line Keyword: " and the keyword on `err`, then a stop with status -1.
    void scanCommandLine(int argc, const char* const* argv, std::ostream& err);

    // The "-file" value, or when that is empty the first argument after the program name,
    // whatever it is.
    std::string inputFileName() const;
    // "-beg" and "-cnt" converted; a "-cnt" of exactly "all" is no limit.
    RecordWindow recordWindow() const;

    const OptionTable& table() const { return options_; }

private:
    OptionTable options_;
    std::string firstArgument_;
};

}  // namespace kova
