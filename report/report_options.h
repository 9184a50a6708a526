#pragma once
// The command line of kovareport: kovareport [options] PACKETFILE.
#include <iosfwd>
#include <string>
#include <vector>

namespace kova::report {

struct ReportOptions {
    std::string packetFile;
    std::string noradFile;      // --norad; empty: no element set
    std::string satelliteName;  // --satellite; kova's default when not given
    std::string jsonFile;       // --json; empty: none
    std::string htmlFile;       // --html; empty: none
    bool helpRequested = false;
    bool versionRequested = false;
};

// Parses the arguments after the program name: options as "--name VALUE" or "--name=VALUE",
// "--" before a packet file name that starts with '-'. False with a reason in `error` for an
// unknown option, a missing value, an empty satellite name, or not exactly one packet file
// (unless --help or --version was given).
bool parseReportArguments(const std::vector<std::string>& arguments, ReportOptions& options, std::string& error);

void printReportUsage(std::ostream& out);

}  // namespace kova::report
