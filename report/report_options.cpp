#include "report/report_options.h"

#include <ostream>

#include "orbit/norad_file.h"

namespace kova::report {

namespace {

constexpr ProgramOption kOptions[] = {{"--norad"}, {"--satellite"}, {"--json"}, {"--html"}};

}  // namespace

void printReportUsage(std::ostream& out) {
    out << kReportProgram.usage
        << "\n"
           "Reports what a pass holds, read the way kova reads it: packets by APID, sequence\n"
           "breaks, gaps and fills, duplicates, backward steps, attitude quality, the element\n"
           "set, and per revolution the model's node times beside the crossings measured in\n"
           "the data. The text report goes to standard output, after the files are written.\n"
           "\n"
           "  --norad FILE       NORAD two-line element file, as kova's -noradfile\n"
           "  --satellite NAME   satellite name searched in it (default MARU; SELA selects\n"
           "                     214-byte navigation packets)\n"
           "  --json FILE        also write the report as JSON\n"
           "  --html FILE        also write a self-contained quick-look page\n"
           "  -h, --help         this text\n"
           "  --version          the program's version\n"
           "Options take their value as the next argument or after '=' (--json=r.json).\n"
           "Exit status: 0 reported, 1 bad input or failed output, 2 bad command line.\n";
}

const ProgramInterface kReportProgram{"kovareport", "usage: kovareport [options] PACKETFILE", kOptions,
                                      printReportUsage};

bool readReportCommandLine(const CommandLine& line, ReportOptions& options, std::string& error) {
    options.satelliteName = std::string(kDefaultNoradSatName);
    for (const CommandLine::GivenOption& given : line.options) {
        std::string& target = given.name == "--norad"       ? options.noradFile
                              : given.name == "--satellite" ? options.satelliteName
                              : given.name == "--json"      ? options.jsonFile
                                                            : options.htmlFile;
        target = given.value;
    }
    if (line.positional.size() != 1) {
        error = line.positional.empty() ? "missing PACKETFILE" : "more than one PACKETFILE";
        return false;
    }
    options.packetFile = line.positional.front();
    return true;
}

}  // namespace kova::report
