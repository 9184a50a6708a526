#include "run/options.h"

#include <chrono>
#include <fstream>
#include <ostream>

#include "core/file_identity.h"
#include "core/file_kind.h"
#include "core/run_stop.h"
#include "time/julian_date.h"

namespace kova {

namespace {

constexpr std::string_view kListingTimeFormat = "%Y4/%Mn/%Dn %hh:%mm:%ss";
constexpr std::string_view kPacketExtension = ".kov";
constexpr std::string_view kEphemerisExtension = ".eph";
constexpr std::string_view kAttitudeExtension = ".att";
constexpr std::string_view kValueBlanks = " \t";

// The rest of a configuration line as its value: a carriage return left by a CR LF line
// end goes first, then the blanks and tabs around the text.
std::string configurationValue(std::string rest) {
    if (!rest.empty() && rest.back() == '\r') rest.pop_back();
    const std::size_t first = rest.find_first_not_of(kValueBlanks);
    if (first == std::string::npos) return {};
    const std::size_t last = rest.find_last_not_of(kValueBlanks);
    return rest.substr(first, last - first + 1);
}

}  // namespace

CommandLineOptions::CommandLineOptions() {
    for (const OptionKeyword& row : kOptionKeywords) setOption(row.keyword, "");
}

ConfigFileOptions::ConfigFileOptions() {
    for (const OptionKeyword& row : kOptionKeywords) {
        if (row.isSetting) setOption(row.keyword, row.defaultValue);
    }
}

// Printed after the echo of a malformed command line, so that the user sees the form that
// is expected without opening the manual.
constexpr const char* kCommandLineUsage =
    "\nusage: kova -packetfile FILE [-keyword value ...]\n"
    "  every keyword takes a value; the most used are:\n"
    "    -packetfile FILE      packet file to process (required)\n"
    "    -noradfile FILE       NORAD two-line element file (orbit numbers, node times)\n"
    "    -configfile FILE      configuration file, one keyword and its value per line\n"
    "    -ephemerisfile FILE   ephemeris output (default: packet name, .kov -> .eph)\n"
    "    -attitudefile FILE    attitude output (default: packet name, .kov -> .att)\n"
    "    -listconfig yes       list every setting\n"
    "  see kova(1) for every keyword and its default\n";

void parseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                      std::ostream& err) {
    // Program name plus keyword/value pairs: the count is odd when every keyword has its value.
    if (argc % 2 == 0) {
        err << "\nBad Command Line:\n    ";
        for (int i = 0; i < argc; ++i) err << argv[i] << ' ';
        err << std::endl;
        err << kCommandLineUsage << std::flush;
        stopRun(kStatusFailure);
    }
    for (int i = 1; i + 1 < argc; i += 2) options.setOption(argv[i], argv[i + 1]);
}

void readConfigFile(const CommandLineOptions& commandLine, ConfigFileOptions& config,
                    std::ostream& err) {
    const std::string name = commandLine.getOption(option_keyword::kConfigFile);
    if (name.empty()) return;
    // Only a regular file is a configuration file: a directory reads as empty, a device or
    // a pipe may never end.
    if (!namesRegularFile(name)) reportFileOpenFailure(file_kind::kConfiguration, name, err);
    std::ifstream file(name.c_str());
    if (!file.is_open()) reportFileOpenFailure(file_kind::kConfiguration, name, err);

    // Each line: its first word is the keyword, the rest of the line is the value. There is
    // no comment syntax; a keyword at the very end with no line after it is dropped.
    std::string keyword;
    std::string rest;
    while (true) {
        if (!(file >> keyword) || !std::getline(file, rest)) {
            if (file.eof() && !file.bad()) return;
            err << "\nConfiguration File read error" << std::endl;
            stopRun(kStatusFailure);
        }
        config.setOption(keyword, configurationValue(std::move(rest)));
    }
}

void mergeCommandLine(const CommandLineOptions& commandLine, ConfigFileOptions& config) {
    for (const OptionKeyword& row : kOptionKeywords) {
        if (!row.isSetting) continue;
        const std::string value = commandLine.getOption(row.keyword);
        if (!value.empty()) config.setOption(row.keyword, value);
    }
}

void applyDefaultFileNames(ConfigFileOptions& config) {
    std::string base = config.getOption(option_keyword::kPacketFile);
    // The last ".kov" anywhere in the name ends the base, unless the name starts with it.
    const std::size_t extension = base.rfind(kPacketExtension);
    if (extension != std::string::npos && extension > 0) base.erase(extension);

    if (config.getOption(option_keyword::kEphemerisFile).empty()) {
        config.setOption(option_keyword::kEphemerisFile, base + std::string(kEphemerisExtension));
    }
    if (config.getOption(option_keyword::kAttitudeFile).empty()) {
        config.setOption(option_keyword::kAttitudeFile, base + std::string(kAttitudeExtension));
    }
}

void listConfiguration(const CommandLineOptions& commandLine, const ConfigFileOptions& config,
                       std::ostream& out, std::int64_t nowUnixSeconds) {
    out << "\nPacket file:" << config.getOption(option_keyword::kPacketFile)
        << "\nEphemeris file:" << config.getOption(option_keyword::kEphemerisFile)
        << "\nAttitude file:" << config.getOption(option_keyword::kAttitudeFile)
        << "\n";
    if (!config.isOn(option_keyword::kListConfig)) return;

    JulianDate now = JulianDate::fromSystemTime(nowUnixSeconds);
    out << "\nKOVA " << config.getOption(option_keyword::kNoradSatName) << ' '
        << now.format(kListingTimeFormat) << std::endl;
    out << "\nCommand Line Options---\n";
    commandLine.listOptions(out);
    out << "\nConfig. File Options---\n";
    config.listOptions(out);
    out << std::endl;
}

void listConfiguration(const CommandLineOptions& commandLine, const ConfigFileOptions& config,
                       std::ostream& out) {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
    listConfiguration(commandLine, config, out, seconds);
}

std::string fileNameDetail(const std::string& name) {
    if (name.find_first_not_of(kValueBlanks) == std::string::npos) return " no file name given";
    return " " + name;
}

void reportFileOpenFailure(std::string_view kind, const std::string& name, std::ostream& err) {
    err << "\nFile Open failed for " << kind << " file: " << fileNameDetail(name) << std::endl;
    stopRun(kStatusFailure);
}

}  // namespace kova
