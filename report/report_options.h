#pragma once
// The command line of kovareport: kovareport [options] PACKETFILE, parsed by the program
// shell (core/program_shell.h).
#include <iosfwd>
#include <string>

#include "core/program_shell.h"

namespace kova::report {

struct ReportOptions {
    std::string packetFile;
    std::string noradFile;      // --norad; empty: no element set
    std::string satelliteName;  // --satellite; kova's default when not given
    std::string jsonFile;       // --json; empty: none
    std::string htmlFile;       // --html; empty: none
};

// The program's name, usage line, options and help, for the shell.
extern const ProgramInterface kReportProgram;

// Takes a parsed command line into `options`. False with a reason in `error` when there is
// not exactly one packet file.
bool readReportCommandLine(const CommandLine& line, ReportOptions& options, std::string& error);

void printReportUsage(std::ostream& out);

}  // namespace kova::report
