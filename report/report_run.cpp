#include "report/report_run.h"

#include <ostream>

#include "core/atomic_output_file.h"
#include "core/file_identity.h"
#include "report/html_page.h"
#include "report/json_report.h"
#include "report/pass_analysis.h"
#include "report/report_options.h"
#include "report/text_report.h"
#include "core/version.h"

namespace kova::report {
namespace {

constexpr const char* kProgram = "kovareport: ";

struct NamedOutput {
    const char* kind;
    const std::string& name;
};

// An output that names an input, or the other output, would destroy what it is made from.
bool refuseOutputsOverInputs(const ReportOptions& options, std::ostream& err) {
    const NamedOutput outputs[] = {{"JSON", options.jsonFile}, {"HTML", options.htmlFile}};
    const NamedOutput others[] = {{"packet", options.packetFile}, {"norad", options.noradFile}};
    for (const NamedOutput& output : outputs) {
        for (const NamedOutput& input : others) {
            if (!namesSameFile(output.name, input.name)) continue;
            err << kProgram << "the " << output.kind << " file " << output.name << " names the same file as the "
                << input.kind << " file" << std::endl;
            return false;
        }
    }
    if (namesSameFile(options.jsonFile, options.htmlFile)) {
        err << kProgram << "the JSON and HTML files are one file: " << options.jsonFile << std::endl;
        return false;
    }
    return true;
}

bool writeWhole(const char* kind, const std::string& name, const std::string& content, std::ostream& err) {
    AtomicOutputFile file(name);
    if (!file.isOpen()) {
        err << kProgram << "cannot create the " << kind << " file " << name << ": " << file.error() << std::endl;
        return false;
    }
    file.write(content);
    if (!file.commit()) {
        err << kProgram << "cannot write the " << kind << " file " << name << ": " << file.error() << std::endl;
        return false;
    }
    return true;
}

}  // namespace

int runReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    ReportOptions options;
    std::string error;
    if (!parseReportArguments(arguments, options, error)) {
        err << kProgram << error << "\n";
        printReportUsage(err);
        err.flush();
        return kExitUsage;
    }
    if (options.helpRequested || options.versionRequested) {
        if (options.helpRequested) {
            printReportUsage(out);
        } else {
            out << "kovareport " << kVersion << "\n";
        }
        out.flush();
        if (out) return kExitComplete;
        err << kProgram << "write failed for the standard output" << std::endl;
        return kExitBadInput;
    }
    if (!refuseOutputsOverInputs(options, err)) return kExitBadInput;

    AnalysisSettings settings;
    settings.packetFileName = options.packetFile;
    settings.noradFileName = options.noradFile;
    settings.satelliteName = options.satelliteName;
    PassReport report;
    report.programVersion = kVersion;
    const AnalysisOutcome outcome = analysePass(settings, report);
    if (!outcome.complete) {
        err << kProgram << outcome.problem << std::endl;
        return kExitBadInput;
    }

    const std::string text = textReport(report);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!options.jsonFile.empty() && !writeWhole("JSON", options.jsonFile, jsonReport(report), err)) {
        return kExitBadInput;
    }
    if (!options.htmlFile.empty() && !writeWhole("HTML", options.htmlFile, htmlPage(report), err)) {
        return kExitBadInput;
    }
    out.flush();
    if (!out) {
        err << kProgram << "the text report could not be written" << std::endl;
        return kExitBadInput;
    }
    return kExitComplete;
}

}  // namespace kova::report
