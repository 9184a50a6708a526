#include "tools/dump_sections.h"

#include "core/big_endian.h"
#include "core/storebase.h"
#include "time/time_scales.h"
#include "toolkit/layout.h"
#include "tools/dump_formats.h"
#include "tools/dump_text_writer.h"
#include "tools/qa_flag_text.h"

namespace kova {

namespace {

using namespace dump_format;

void writeQaValues(DumpTextWriter& out, const std::uint8_t* values, std::size_t count) {
    for (std::size_t index = 0; index < count; ++index) {
        out.text("\n");
        out.unsignedNumber(static_cast<std::uint32_t>(index), kQaIndexWidth);
        out.text(" ");
        out.fixedNumber(be::loadF32(values + index * sizeof(float)), kQaValueDigits);
    }
    out.lineEnd();
}

void writeTriple(DumpTextWriter& out, const std::uint8_t* values, int digits) {
    for (std::size_t index = 0; index < 3; ++index) {
        out.fixedNumber(be::loadF64(values + index * sizeof(double)), digits);
        out.text(" ");
    }
    out.text("  ");
}
}  // namespace

void writeToolkitHeaderLines(DumpTextWriter& out, const storebase& toolkitHeader) {
    namespace field = toolkit_header;
    const std::uint8_t* header = toolkitHeader.data();
    out.text("\nSpacecraft = ");
    out.textField(header + field::kSpacecraft, field::kSpacecraftSize);
    out.text("\nSource     = ");
    out.textField(header + field::kSource, field::kSourceSize);
    out.text("\nVersion    = ");
    out.textField(header + field::kVersion, field::kVersionSize);
    out.text("\nTime Range = ");
    out.textField(header + field::kTimeRange, field::kTimeRangeSize);
    out.text("\nInterval   = ");
    out.fixedNumber(be::loadF32(header + field::kInterval), kIntervalDigits);
    // The record count comes before the universal-reference count, the reverse of the file.
    out.text("\nNo. Records= ");
    out.unsignedNumber(be::loadU32(header + field::kRecordCount));
    out.text("\nNo. U. Refs= ");
    out.unsignedNumber(be::loadU32(header + field::kUniversalRefs));
}

void writeQaValueLines(DumpTextWriter& out, const std::uint8_t* qaParameters,
                       const std::uint8_t* qaStatistics) {
    out.text("\nQA Parameters");
    writeQaValues(out, qaParameters, kQaParameterCount);
    out.text("\nQA Statistics");
    writeQaValues(out, qaStatistics, kQaStatisticCount);
}

void writeRecordLine(DumpTextWriter& out, const std::uint8_t* record, const RecordLineLayout& layout) {
    out.fixedNumber(julianDateFromTai93(be::loadF64(record + layout.time)), kJulianDateDigits);
    out.text(" ");
    out.setPlusSign(true);
    writeTriple(out, record + layout.firstTriple, layout.tripleDigits);
    writeTriple(out, record + layout.secondTriple, layout.tripleDigits);
    const std::uint32_t flagWord = be::loadU32(record + layout.qaFlags);
    out.hexFlagWord(flagWord);
    if (anyQaFlagSet(flagWord)) {
        out.text("\n");
        out.qaFlagText(flagWord);
    }
    out.lineEnd();
    out.setPlusSign(false);
}

}  // namespace kova
