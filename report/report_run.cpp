#include "report/report_run.h"

#include <optional>
#include <ostream>

#include "core/output_set.h"
#include "core/program_shell.h"
#include "core/version.h"
#include "report/html_page.h"
#include "report/json_report.h"
#include "report/pass_analysis.h"
#include "report/report_options.h"
#include "report/text_report.h"

namespace kova::report {
namespace {

int report(const ProgramShell& shell, const CommandLine& line, std::ostream& out) {
    ReportOptions options;
    std::string error;
    if (!readReportCommandLine(line, options, error)) return shell.refuseCommandLine(error);

    // An output that names an input, or the other output, would destroy what it is made from.
    OutputSet outputs;
    outputs.addInput("packet file", options.packetFile);
    outputs.addInput("norad file", options.noradFile);
    OutputMember* json = options.jsonFile.empty() ? nullptr : &outputs.addOutput("JSON file", options.jsonFile);
    OutputMember* html = options.htmlFile.empty() ? nullptr : &outputs.addOutput("HTML file", options.htmlFile);
    if (const std::optional<NameConflict> conflict = outputs.findConflict()) {
        return shell.fail(describeConflict(*conflict));
    }

    AnalysisSettings settings;
    settings.packetFileName = options.packetFile;
    settings.noradFileName = options.noradFile;
    settings.satelliteName = options.satelliteName;
    PassReport passReport;
    passReport.programVersion = kVersion;
    const AnalysisOutcome outcome = analysePass(settings, passReport);
    if (!outcome.complete) return shell.fail(outcome.problem);

    // Both files or neither, and both before the text: a standard output closed early (a
    // pager quit, "| head") costs the rest of the text, never the files.
    if (!outputs.open()) return shell.fail(outputs.problem());
    if (json != nullptr) json->write(jsonReport(passReport));
    if (html != nullptr) html->write(htmlPage(passReport));
    if (!outputs.commit()) return shell.fail(outputs.problem());
    const std::string text = textReport(passReport);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return kExitComplete;
}

}  // namespace

int runReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ProgramShell shell(kReportProgram, out, err);
    return shell.run(arguments, [&](const CommandLine& line) { return report(shell, line, out); });
}

}  // namespace kova::report
