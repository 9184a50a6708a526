#include "report/report_options.h"

#include <ostream>

#include "orbit/norad_file.h"

namespace kova::report {

void printReportUsage(std::ostream& out) {
    out << "usage: kovareport [options] PACKETFILE\n"
           "Reports what a pass holds, read the way kova reads it: packets by APID, sequence\n"
           "breaks, gaps and fills, duplicates, backward steps, attitude quality, the element\n"
           "set, and per revolution the model's node times beside the crossings measured in\n"
           "the data. The text report goes to standard output.\n"
           "\n"
           "  --norad FILE       NORAD two-line element file, as kova's -noradfile\n"
           "  --satellite NAME   satellite name searched in it (default MARU; SELA selects\n"
           "                     214-byte navigation packets)\n"
           "  --json FILE        also write the report as JSON\n"
           "  --html FILE        also write a self-contained quick-look page\n"
           "  --help             this text\n"
           "  --version          the program's version\n";
}

bool parseReportArguments(const std::vector<std::string>& arguments, ReportOptions& options, std::string& error) {
    std::vector<std::string> files;
    bool satelliteGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.helpRequested = true;
            continue;
        }
        if (argument == "--version") {
            options.versionRequested = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        std::string* target = name == "--norad"       ? &options.noradFile
                              : name == "--satellite" ? &options.satelliteName
                              : name == "--json"      ? &options.jsonFile
                              : name == "--html"      ? &options.htmlFile
                                                      : nullptr;
        if (target == nullptr) {
            error = "unknown option " + name;
            return false;
        }
        if (equals != std::string::npos) {
            *target = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            *target = arguments[++i];
        } else {
            error = "missing value after " + name;
            return false;
        }
        if (target->empty()) {
            error = "empty value for " + name;
            return false;
        }
        if (target == &options.satelliteName) satelliteGiven = true;
    }
    if (!satelliteGiven) options.satelliteName = std::string(kDefaultNoradSatName);
    if (options.helpRequested || options.versionRequested) return true;
    if (files.size() != 1) {
        error = files.empty() ? "missing PACKETFILE" : "more than one PACKETFILE";
        return false;
    }
    options.packetFile = files.front();
    return true;
}

}  // namespace kova::report
