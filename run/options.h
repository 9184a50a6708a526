#pragma once
// Option registry: every setting of a run is a text value under a keyword that begins
// with '-'. Three layers, later ones winning: built-in defaults, an optional
// configuration file, the command line.
#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/option_table.h"
#include "orbit/norad_file.h"
#include "toolkit/toolkit_header.h"

namespace kova {

// The keywords of a kova run.
namespace option_keyword {
inline constexpr std::string_view kConfigFile = "-configfile";
inline constexpr std::string_view kVersion = "-version";
inline constexpr std::string_view kStation = "-station";
inline constexpr std::string_view kPacketFile = "-packetfile";
inline constexpr std::string_view kNoradFile = "-noradfile";
inline constexpr std::string_view kEphemerisFile = "-ephemerisfile";
inline constexpr std::string_view kAttitudeFile = "-attitudefile";
inline constexpr std::string_view kNoradSatName = "-noradsatname";
inline constexpr std::string_view kXtkSatName = "-xtksatname";
inline constexpr std::string_view kListConfig = "-listconfig";
inline constexpr std::string_view kPktOffset = "-pkt_offset";
inline constexpr std::string_view kPktCount = "-pkt_count";
inline constexpr std::string_view kDiag1 = "-diag_1";
inline constexpr std::string_view kDiag2 = "-diag_2";
inline constexpr std::string_view kDiag3 = "-diag_3";
inline constexpr std::string_view kDebug1 = "-debug_1";
inline constexpr std::string_view kDebug2 = "-debug_2";
inline constexpr std::string_view kDebug3 = "-debug_3";
}  // namespace option_keyword

// One row of the keyword table. Every keyword is registered on the command line with the
// empty value; the settings (all but "-configfile") also have a default, and a non-empty
// command-line value of a setting overrides the configuration file.
struct OptionKeyword {
    std::string_view keyword;
    std::string_view defaultValue;
    bool isSetting;
};

inline constexpr std::array<OptionKeyword, 18> kOptionKeywords = {{
    {option_keyword::kConfigFile, "", false},
    {option_keyword::kVersion, "2.0", true},
    {option_keyword::kStation, "DB", true},
    {option_keyword::kPacketFile, "", true},
    {option_keyword::kNoradFile, "", true},
    {option_keyword::kEphemerisFile, "", true},
    {option_keyword::kAttitudeFile, "", true},
    {option_keyword::kNoradSatName, kDefaultNoradSatName, true},
    {option_keyword::kXtkSatName, kDefaultXtkSatName, true},
    {option_keyword::kListConfig, "no", true},
    {option_keyword::kPktOffset, "0", true},
    {option_keyword::kPktCount, "0", true},
    {option_keyword::kDiag1, "no", true},
    {option_keyword::kDiag2, "no", true},
    {option_keyword::kDiag3, "no", true},
    {option_keyword::kDebug1, "no", true},
    {option_keyword::kDebug2, "no", true},
    {option_keyword::kDebug3, "no", true},
}};

// The command-line layer: the 18 keywords registered with empty values.
class CommandLineOptions : public OptionTable {
public:
    CommandLineOptions();
};

// Defaults, configuration file and merged command line: the effective settings.
// The 17 keywords (all but "-configfile") registered with their defaults.
class ConfigFileOptions : public OptionTable {
public:
    ConfigFileOptions();
};

// Each of these writes its failure message to `err` and stops the run (status -1).
// The configuration file is opened by its name as a C string; messages print the whole value.
void parseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                      std::ostream& err);
void readConfigFile(const CommandLineOptions& commandLine, ConfigFileOptions& config,
                    std::ostream& err);
void mergeCommandLine(const CommandLineOptions& commandLine, ConfigFileOptions& config);
void applyDefaultFileNames(ConfigFileOptions& config);

// The three file-name lines, and with "-listconfig" the full listing stamped with
// `nowUnixSeconds` (seconds since 1970-01-01 00:00 UTC).
void listConfiguration(const CommandLineOptions& commandLine, const ConfigFileOptions& config,
                       std::ostream& out, std::int64_t nowUnixSeconds);
// The same, stamped with the system clock.
void listConfiguration(const CommandLineOptions& commandLine, const ConfigFileOptions& config,
                       std::ostream& out);

// " name" when the name holds any character other than blank and tab,
// else " no file name given".
std::string fileNameDetail(const std::string& name);

// "\nFile Open failed for <kind> file: " followed by the detail above (so a name follows
// "file:" after two blanks) and an end of line on `err`; stops with -1.
[[noreturn]] void reportFileOpenFailure(std::string_view kind, const std::string& name,
                                        std::ostream& err);

}  // namespace kova
