#include "export/export_options.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "orbit/norad_file.h"
#include "spice/naif_ids.h"

namespace kova {

const char* const kExportUsage =
    "usage: kovaexport [options] PACKETFILE | kovaexport [options] --from-ephemeris FILE.eph";

void printExportHelp(std::ostream& out) {
    out << kExportUsage << "\n"
        << "Writes a pass as a CCSDS OEM (orbit) and AEM (attitude) in KVN text form.\n"
           "  --oem FILE             OEM output (default: input name, .kov or .eph -> .oem)\n"
           "  --aem FILE             AEM output (default: packet file name, .kov -> .aem)\n"
           "  --from-ephemeris FILE  export the OEM from a kova ephemeris file (no AEM)\n"
           "  --norad FILE           NORAD element sets; OBJECT_ID from the international designator\n"
           "  --satellite NAME       satellite name in the NORAD file (default MARU; SELA: 214-byte packets)\n"
           "  --object-name NAME     OBJECT_NAME (default KALPM1, or the ephemeris file's spacecraft)\n"
           "  --object-id ID         OBJECT_ID (default from --norad, else UNKNOWN)\n"
           "  --originator NAME      ORIGINATOR (default DB, or the ephemeris file's source)\n"
           "  --creation-date EPOCH  CREATION_DATE, UTC, YYYY-MM-DDThh:mm:ss[.d] (default: now)\n"
           "  --aem-version V        1.0 (default, read by older tools too) or 2.0\n"
           "SPICE kernels (from a packet file; OEM and AEM then only when --oem/--aem name them):\n"
           "  --spice                all four kernels: .kov -> .bsp, .bc, .tsc, .tf\n"
           "  --spk FILE             the SPK (spacecraft state relative to Earth, J2000)\n"
           "  --ck FILE              the CK (bus attitude); needs --sclk or --spice\n"
           "  --sclk FILE            the clock kernel the CK's times are read with\n"
           "  --fk FILE              the frame kernel (body name, <NAME>_BUS frame)\n"
           "  --naif-id N            spacecraft ID, -1 to -2147483 (default -100000 - NORAD number)\n"
           "  -h, --help             this summary\n"
           "  --version              the program's version\n"
           "Options take their value as the next argument or after '=' (--oem=pass.oem).\n"
           "Exit status: 0 exported, 1 bad input or failed export, 2 bad command line.\n";
}

namespace {

constexpr ProgramOption kOptions[] = {
    {"--oem", true, true},           {"--aem", true, true},          {"--from-ephemeris", true, true},
    {"--norad", true, true},         {"--satellite", true, true},    {"--object-name", true, false},
    {"--object-id", true, false},    {"--originator", true, false},  {"--creation-date", true, false},
    {"--aem-version", true, false},
    {"--spice", false, false},       {"--spk", true, true},          {"--ck", true, true},
    {"--sclk", true, true},          {"--fk", true, true},           {"--naif-id", true, false},
};

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

unsigned number(std::string_view digits) {
    unsigned value = 0;
    for (char c : digits) value = value * 10 + static_cast<unsigned>(c - '0');
    return value;
}

bool isLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool setText(std::optional<std::string>& target, std::string_view name, std::string_view value,
             std::string& problem) {
    target = kvnTextValue(value);
    if (target) return true;
    problem = std::string(name) + " needs a value of printable ASCII characters (at most 200), not blank";
    return false;
}

bool applyOption(std::string_view name, std::string_view value, ExportOptions& options, std::string& problem) {
    if (name == "--oem") options.oemFile = value;
    else if (name == "--aem") options.aemFile = value;
    else if (name == "--from-ephemeris") options.ephemerisFile = value;
    else if (name == "--norad") options.noradFile = value;
    else if (name == "--satellite") options.satelliteName = value;
    else if (name == "--spice") options.spice = true;
    else if (name == "--spk") options.spkFile = value;
    else if (name == "--ck") options.ckFile = value;
    else if (name == "--sclk") options.sclkFile = value;
    else if (name == "--fk") options.fkFile = value;
    else if (name == "--naif-id") {
        std::string error;
        options.naifId = parseNaifId(value, error);
        if (!options.naifId) {
            problem = error;
            return false;
        }
    } else if (name == "--object-name") return setText(options.objectName, name, value, problem);
    else if (name == "--object-id") return setText(options.objectId, name, value, problem);
    else if (name == "--originator") return setText(options.originator, name, value, problem);
    else if (name == "--creation-date") {
        if (value.size() > kMostCreationDateCharacters) {
            problem = "--creation-date is longer than " + std::to_string(kMostCreationDateCharacters) +
                      " characters";
            return false;
        }
        if (!isCcsdsUtcEpoch(value)) {
            problem = "--creation-date needs a UTC epoch YYYY-MM-DDThh:mm:ss[.d...] or YYYY-DDDThh:mm:ss[.d...], not '" +
                      std::string(value) + "'";
            return false;
        }
        options.creationDate = std::string(value);
    } else if (name == "--aem-version") {
        if (value == "1.0") options.aemVersion = AemVersion::k1_0;
        else if (value == "2.0") options.aemVersion = AemVersion::k2_0;
        else {
            problem = "--aem-version is 1.0 or 2.0, not '" + std::string(value) + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> kvnTextValue(std::string_view value) {
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t last = value.find_last_not_of(' ');
    const std::string_view trimmed = value.substr(first, last - first + 1);
    if (trimmed.size() > 200) return std::nullopt;
    for (char c : trimmed) {
        if (c < 0x20 || c > 0x7E) return std::nullopt;
    }
    return std::string(trimmed);
}

bool isCcsdsUtcEpoch(std::string_view text) {
    if (text.size() > kMostCreationDateCharacters) return false;
    if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
    const std::size_t t = text.find('T');
    if (t == std::string_view::npos) return false;
    const std::string_view date = text.substr(0, t);
    std::string_view time = text.substr(t + 1);
    if (date.size() < 8 || date[4] != '-' || !allDigits(date.substr(0, 4))) return false;
    const unsigned year = number(date.substr(0, 4));
    if (date.size() == 10) {
        const std::string_view month = date.substr(5, 2);
        const std::string_view day = date.substr(8, 2);
        if (date[7] != '-' || !allDigits(month) || !allDigits(day)) return false;
        constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const unsigned m = number(month);
        const unsigned d = number(day);
        if (m < 1 || m > 12 || d < 1) return false;
        if (d > kDays[m - 1] + (m == 2 && isLeapYear(year) ? 1u : 0u)) return false;
    } else if (date.size() == 8) {
        const std::string_view dayOfYear = date.substr(5, 3);
        if (!allDigits(dayOfYear)) return false;
        const unsigned d = number(dayOfYear);
        if (d < 1 || d > (isLeapYear(year) ? 366u : 365u)) return false;
    } else {
        return false;
    }
    if (time.size() < 8 || time[2] != ':' || time[5] != ':') return false;
    const std::string_view hh = time.substr(0, 2);
    const std::string_view mm = time.substr(3, 2);
    const std::string_view ss = time.substr(6, 2);
    if (!allDigits(hh) || !allDigits(mm) || !allDigits(ss)) return false;
    const unsigned h = number(hh);
    const unsigned m = number(mm);
    const unsigned s = number(ss);
    if (h > 23 || m > 59 || s > 60 || (s == 60 && !(h == 23 && m == 59))) return false;
    time.remove_prefix(8);
    if (time.empty()) return true;
    return time.size() >= 2 && time[0] == '.' && allDigits(time.substr(1));
}

std::string derivedOutputName(const std::string& input, std::string_view extension, std::string_view replacement) {
    // kova's rule: the name is cut at its last extension, whatever follows it.
    std::string base = input;
    const std::size_t at = base.rfind(extension);
    if (at != std::string::npos && at > 0) base.erase(at);
    return base.append(replacement);
}

bool readExportCommandLine(const CommandLine& line, ExportOptions& options, std::string& problem) {
    options.satelliteName = std::string(kDefaultNoradSatName);
    for (const CommandLine::GivenOption& given : line.options) {
        if (!applyOption(given.name, given.value, options, problem)) return false;
    }
    const std::vector<std::string>& positional = line.positional;
    if (options.ephemerisFile.empty()) {
        if (positional.size() != 1) {
            problem = positional.empty() ? "no packet file given" : "more than one packet file given";
            return false;
        }
        options.packetFile = positional.front();
    } else {
        if (!positional.empty()) {
            problem = "a packet file and --from-ephemeris exclude each other";
            return false;
        }
        if (options.wantsKernels() || options.naifId) {
            problem = "SPICE kernels are made from a packet file: an ephemeris file holds neither the time tags "
                      "nor the quaternions (give the packet file instead of --from-ephemeris)";
            return false;
        }
        if (!options.aemFile.empty()) {
            problem = "an ephemeris file holds no attitude: --aem needs a packet file";
            return false;
        }
    }
    if (options.naifId && !options.wantsKernels()) {
        problem = "--naif-id is the spacecraft ID of SPICE kernels: give --spice or --spk, --ck, --sclk, --fk";
        return false;
    }
    if (!options.ckFile.empty() && !options.spice && options.sclkFile.empty()) {
        problem = "a CK is read through its clock kernel: give --sclk FILE (or --spice) with --ck";
        return false;
    }
    return true;
}

KernelNames kernelNamesOf(const ExportOptions& options) {
    const auto nameOf = [&](const std::string& given, std::string_view extension) {
        if (!given.empty()) return given;
        return options.spice ? derivedOutputName(options.packetFile, ".kov", extension) : std::string();
    };
    return {nameOf(options.spkFile, ".bsp"), nameOf(options.ckFile, ".bc"), nameOf(options.sclkFile, ".tsc"),
            nameOf(options.fkFile, ".tf")};
}

const ProgramInterface kExportProgram{"kovaexport", kExportUsage, kOptions, printExportHelp};

}  // namespace kova
