#include "tools/dump_tool_run.h"

#include <fstream>
#include <ostream>
#include <string>

#include "core/file_identity.h"
#include "core/run_stop.h"
#include "tools/dump_input_file.h"
#include "tools/dump_text_writer.h"

namespace kova {

namespace {

void writeUsage(const DumpTool& tool, std::ostream& err) {
    err << "usage: " << tool.programName << " [-file] NAME [-beg N] [-cnt N|all]" << std::endl;
}

void dumpOrStop(const DumpTool& tool, int argc, const char* const* argv, std::ostream& err) {
    if (argc < 2) {
        // Without any argument there is no input name at all.
        writeUsage(tool, err);
        stopRun(kStatusFailure);
    }
    DumpOptions options;
    try {
        options.scanCommandLine(argc, argv, err);
    } catch (const RunStop&) {
        // A refused command line is followed by the form that is expected.
        writeUsage(tool, err);
        throw;
    }
    const std::string inputName = options.inputFileName();
    const std::string dumpName = dumpFileNameFor(inputName);

    // A dump name that is a link to the input (or the input itself) would truncate the very
    // file to be dumped.
    if (namesSameFile(dumpName, inputName)) {
        err << "\nDump File open failed: " << dumpName << "\nit names the same file as the input" << std::endl;
        stopRun(kStatusFailure);
    }
    // The dump file is created before the input is opened, so a dump of an input that
    // cannot be opened still says what was tried.
    std::ofstream dumpFile(dumpName, std::ios::out | std::ios::trunc);
    if (!dumpFile.is_open()) {
        err << "\nDump File open failed: " << dumpName << std::endl;
        stopRun(kStatusFailure);
    }
    DumpTextWriter out(dumpFile);
    out.text("\n");
    out.text(tool.fileKind);
    out.text(" File Diagnostic");
    out.lineEnd();

    DumpInputFile input(inputName);
    if (!input.isOpen()) {
        out.flush();
        err << "\n" << tool.fileKind << " File open failed: " << inputName << std::endl;
        stopRun(kStatusFailure);
    }
    out.text(tool.fileKind);
    out.text(" File opened: ");
    out.text(inputName);
    out.lineEnd();

    tool.dump(input.stream(), out, options.recordWindow());
    // A dump that did not reach its file in full (a full disk, a link to /dev/full) is a
    // failure, not a dump.
    out.flush();
    dumpFile.close();
    if (dumpFile.fail()) {
        err << "\nDump File write failed: " << dumpName << std::endl;
        stopRun(kStatusFailure);
    }
}

}  // namespace

int runDumpTool(const DumpTool& tool, int argc, const char* const* argv, std::ostream& err) {
    try {
        dumpOrStop(tool, argc, argv, err);
    } catch (const RunStop& stop) {
        return stop.status;
    }
    return 0;
}

}  // namespace kova
