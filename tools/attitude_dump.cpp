#include "tools/attitude_dump.h"

#include <cstdint>
#include <istream>

#include "core/big_endian.h"
#include "core/storebase.h"
#include "toolkit/layout.h"
#include "tools/block_reads.h"
#include "tools/dump_formats.h"
#include "tools/dump_sections.h"
#include "tools/dump_text_writer.h"
#include "tools/dump_tool_run.h"

namespace kova {

namespace {

using dump_format::kAngleRateDigits;

constexpr RecordLineLayout kAttitudeRecordLine{
    attitude_record::kTime, attitude_record::kAngles, attitude_record::kRates,
    attitude_record::kQaFlags, kAngleRateDigits};

void writeAngleOrderLine(DumpTextWriter& out, const storebase& attitudeHeader) {
    out.text("\nAngle order= ");
    for (std::size_t index = 0; index < attitude_header::kAngleOrderCount; ++index) {
        if (index != 0) out.text(" ");
        out.unsignedNumber(be::loadU32(attitudeHeader.data() + attitude_header::kAngleOrder + sizeof(std::uint32_t) * index));
    }
    out.lineEnd();
}

// Records before the window are read without any test; the record after a complete window
// is read but not shown, and no later record is read.
void dumpRecords(std::istream& input, DumpTextWriter& out, std::uint32_t recordCount,
                 RecordWindow window) {
    storebase record(attitude_record::kSize);
    std::uint32_t recordsShown = 0;
    for (std::uint32_t index = 0; index < recordCount; ++index) {
        if (input.fail() && index < window.first) {
            // A failed stream reads nothing more: the reads before the window change nothing,
            // so a crafted record count costs no time.
            index = window.first;
            if (index >= recordCount) break;
        }
        readBlock(input, record);
        if (index < window.first) continue;
        if (recordsShown >= window.limit) break;
        ++recordsShown;
        if (input.eof()) {
            out.text("Early End of File");
            out.lineEnd();
            break;
        }
        writeRecordLine(out, record.data(), kAttitudeRecordLine);
    }
}

}  // namespace

void dumpAttitudeFile(std::istream& input, DumpTextWriter& out, RecordWindow window) {
    storebase toolkitHeader(toolkit_header::kSize);
    storebase attitudeHeader(attitude_header::kSize);

    readBlock(input, toolkitHeader);
    out.lineEnd();
    writeToolkitHeaderLines(out, toolkitHeader);
    out.lineEnd();

    readBlock(input, attitudeHeader);
    out.lineEnd();
    writeAngleOrderLine(out, attitudeHeader);

    out.setPlusSign(true);
    writeQaValueLines(out, attitudeHeader.data() + attitude_header::kQaParameters,
                      attitudeHeader.data() + attitude_header::kQaStatistics);
    skipUniversalReferences(input, be::loadU32(toolkitHeader.data() + toolkit_header::kUniversalRefs));
    out.text("\nJulian-Date  Angle Velocities");
    out.lineEnd();
    out.setPlusSign(false);

    dumpRecords(input, out, be::loadU32(toolkitHeader.data() + toolkit_header::kRecordCount), window);
}

int runAttdiag(int argc, const char* const* argv, std::ostream& err) {
    static constexpr DumpTool kAttdiag{"attdiag", "Attitude", &dumpAttitudeFile};
    return runDumpTool(kAttdiag, argc, argv, err);
}

}  // namespace kova
