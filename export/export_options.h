#pragma once
// The command line of kovaexport.
//
//   kovaexport [options] PACKETFILE
//   kovaexport [options] --from-ephemeris FILE.eph
//   kovaexport [options] PACKETFILE --spice | --spk F | --ck F --sclk F | --fk F ...
//
// Parsed by the program shell (core/program_shell.h); a later occurrence of an option wins.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/program_shell.h"
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
    // The SPICE kernels: --spice names all four from the packet file's name; --spk, --ck,
    // --sclk and --fk name (and select) single ones.
    bool spice = false;          // --spice
    std::string spkFile;         // --spk
    std::string ckFile;          // --ck
    std::string sclkFile;        // --sclk
    std::string fkFile;          // --fk
    std::optional<std::int32_t> naifId;  // --naif-id, checked

    // True when any kernel is asked for: OEM and AEM are then written only when named.
    bool wantsKernels() const {
        return spice || !spkFile.empty() || !ckFile.empty() || !sclkFile.empty() || !fkFile.empty();
    }
};

// The names of the kernels a run writes; empty: that kernel is not written.
struct KernelNames {
    std::string spk;
    std::string ck;
    std::string sclk;
    std::string fk;
};

// The kernel names of `options`: those named by their option, the others (with --spice) the
// packet file's name cut at its last ".kov" with ".bsp", ".bc", ".tsc" and ".tf" appended.
KernelNames kernelNamesOf(const ExportOptions& options);

// The program's name, usage line, options and help, for the shell.
extern const ProgramInterface kExportProgram;
// One line: how to call the program.
extern const char* const kExportUsage;
// The option summary printed by --help.
void printExportHelp(std::ostream& out);

// Takes a parsed command line into `options`. False with the problem in words when a value
// or the files given are not what the program takes (a command-line error).
bool readExportCommandLine(const CommandLine& line, ExportOptions& options, std::string& problem);

// The longest --creation-date taken: a date, a time and 20 decimals of the second.
inline constexpr std::size_t kMostCreationDateCharacters = 48;

// A text value fit for a KVN line (OBJECT_NAME, OBJECT_ID, ORIGINATOR): the value without
// blanks at either end, when it is not empty and only printable ASCII, at most 200
// characters. Empty optional otherwise.
std::optional<std::string> kvnTextValue(std::string_view value);

// A CCSDS epoch YYYY-MM-DDThh:mm:ss[.d...] or YYYY-DDDThh:mm:ss[.d...], optionally followed
// by Z, with every field in range (second 60 only at 23:59, a UTC leap second), at most
// kMostCreationDateCharacters long.
bool isCcsdsUtcEpoch(std::string_view text);

// Output name from an input name as kova derives its own: the name cut before its last
// `extension` (anywhere in the name, but not at its very start), then `replacement` appended.
std::string derivedOutputName(const std::string& input, std::string_view extension, std::string_view replacement);

}  // namespace kova
