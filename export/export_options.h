#pragma once
// The command line of kovaexport.
//
//   kovaexport [options] PACKETFILE
//   kovaexport [options] --from-ephemeris FILE.eph
//
// Options take their value as the next argument or after '=' (--oem=pass.oem); "--" ends the
// options. A later occurrence of an option wins.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "export/message_writer.h"

namespace kova {

// The defaults kova writes into its toolkit headers: spacecraft "KALPM1" (toolkit header) and
// source "DB", the default of kova's "-station".
inline constexpr std::string_view kDefaultOriginator = "DB";

struct ExportOptions {
    std::string packetFile;      // PACKETFILE, or empty with --from-ephemeris
    std::string ephemerisFile;   // --from-ephemeris
    std::string oemFile;         // --oem; empty: derived from the input name
    std::string aemFile;         // --aem; empty: derived (packet input only)
    std::string noradFile;       // --norad
    std::string satelliteName;   // --satellite (default "MARU"): norad key and packet size
    std::optional<std::string> objectName;  // --object-name
    std::optional<std::string> objectId;    // --object-id
    std::optional<std::string> originator;  // --originator
    std::optional<std::string> creationDate;  // --creation-date, checked
    AemVersion aemVersion = AemVersion::k1_0;  // --aem-version
    bool help = false;
    bool version = false;
};

enum class ParseOutcome { kRun, kHelp, kVersion, kRefused };

// Parses the arguments after the program name. kRefused: the reason is in `problem`.
ParseOutcome parseExportCommandLine(int argc, const char* const* argv, ExportOptions& options,
                                    std::string& problem);

// One line: how to call the program.
extern const char* const kExportUsage;
// The option summary printed by --help.
void printExportHelp(std::ostream& out);

// A text value fit for a KVN line (OBJECT_NAME, OBJECT_ID, ORIGINATOR): the value without
// blanks at either end, when it is not empty and only printable ASCII, at most 200
// characters. Empty optional otherwise.
std::optional<std::string> kvnTextValue(std::string_view value);

// A CCSDS epoch YYYY-MM-DDThh:mm:ss[.d...] or YYYY-DDDThh:mm:ss[.d...], optionally followed
// by Z, with every field in range (second 60 only at 23:59, a UTC leap second).
bool isCcsdsUtcEpoch(std::string_view text);

// Output name from an input name as kova derives its own: the name cut before its last
// `extension` (anywhere in the name, but not at its very start), then `replacement` appended.
std::string derivedOutputName(const std::string& input, std::string_view extension, std::string_view replacement);

}  // namespace kova
