#pragma once
// Option registry: every setting of a run is a text value under a keyword that begins
// with '-'. Three layers, later ones winning: built-in defaults, an optional
// configuration file, the command line.
#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>

namespace kova {

// Kind words of the named files, as they appear in open and write failure messages.
namespace file_kind {
inline constexpr std::string_view kConfiguration = "configuration";
inline constexpr std::string_view kPacket = "packet";
inline constexpr std::string_view kNorad = "norad";
inline constexpr std::string_view kEphemeris = "ephemeris";
inline constexpr std::string_view kAttitude = "attitude";
}  // namespace file_kind

// Keyword -> value, iterated in ascending byte order of the keywords.
class OptionTable {
public:
    virtual ~OptionTable() = default;

    void addOption(const std::string& keyword, const std::string& value);
    // Stores the value, creating the keyword if needed. Always succeeds.
    bool setOption(const std::string& keyword, const std::string& value);
    // The value, or the empty text when the keyword is absent; never creates an entry.
    std::string getOption(const std::string& keyword) const;
    // A switch is on only when its value is exactly "yes".
    bool isOn(const std::string& keyword) const;
    // keyword, two tabs, value, end of line (flushed), in keyword order.
    void listOptions(std::ostream& out) const;

    const std::map<std::string, std::string>& entries() const { return table_; }

private:
    std::map<std::string, std::string> table_;
};

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

// "\nFile Open failed for <kind> file:<detail>" and an end of line on `err`; stops with -1.
[[noreturn]] void reportFileOpenFailure(std::string_view kind, const std::string& name,
                                        std::ostream& err);

}  // namespace kova
