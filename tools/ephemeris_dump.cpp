#include "tools/ephemeris_dump.h"

#include <cstdint>
#include <istream>

#include "core/big_endian.h"
#include "core/storebase.h"
#include "time/time_scales.h"
#include "toolkit/layout.h"
#include "tools/block_reads.h"
#include "tools/dump_formats.h"
#include "tools/dump_sections.h"
#include "tools/dump_text_writer.h"
#include "tools/dump_tool_run.h"

namespace kova {

namespace {

using namespace dump_format;

constexpr RecordLineLayout kEphemerisRecordLine{
    ephemeris_record::kTime, ephemeris_record::kPosition, ephemeris_record::kVelocity,
    ephemeris_record::kQaFlags, kPositionVelocityDigits};

// Where the input stood after a header block (style U, so -1 shows as 4294967295).
void writeHeaderEndPosition(DumpTextWriter& out, std::int64_t position) {
    out.text("\n\n tellg() = ");
    out.unsignedNumber(static_cast<std::uint32_t>(position));
    out.lineEnd();
}

void writeEphemerisHeaderLines(DumpTextWriter& out, const storebase& ephemerisHeader) {
    namespace field = ephemeris_header;
    const std::uint8_t* header = ephemerisHeader.data();
    out.text("\nBeg. Orbit = ");
    out.unsignedNumber(be::loadU32(header + field::kBeginOrbit), kOrbitNumberWidth);
    out.text("\nEnd  Orbit = ");
    out.unsignedNumber(be::loadU32(header + field::kEndOrbit), kOrbitNumberWidth);
    out.text("\nOrbit Cnt. = ");
    out.unsignedNumber(be::loadU32(header + field::kOrbitCount), kOrbitNumberWidth);
    out.text("\n\nRef. Frame = ");
    out.textField(header + field::kReferenceFrame, field::kReferenceFrameSize);
    out.text("\n\nKeplerian Elements\n");
    for (std::size_t index = 0; index < ephemeris_header::kKeplerElementCount; ++index) {
        out.fixedNumber(be::loadF64(header + field::kKeplerElements + sizeof(double) * index), kKeplerDigits);
        out.text(" ");
    }
    out.text(" ");
}

// Reads the records; every record is read, shown or not, and none is skipped by seeking. The
// loop ends at the first record that could not be read in full: only complete records are
// shown, and a crafted record count on a short file ends with the file. Returns the number of
// complete records read.
std::uint32_t dumpRecords(std::istream& input, DumpTextWriter& out, std::uint32_t recordCount,
                          RecordWindow window) {
    storebase record(ephemeris_record::kSize);
    std::uint32_t recordsShown = 0;
    std::uint32_t index = 0;
    for (; index < recordCount; ++index) {
        readBlock(input, record);
        if (input.fail()) break;
        if (index >= window.first) {
            if (recordsShown < window.limit) writeRecordLine(out, record.data(), kEphemerisRecordLine);
            ++recordsShown;
        }
    }
    return index;
}

void writeMetadataLines(DumpTextWriter& out, const storebase& metadata, std::uint32_t number,
                        std::int64_t position) {
    namespace field = orbit_metadata_record;
    const std::uint8_t* block = metadata.data();
    const double ascendingNodeTime = be::loadF64(block + field::kAscendingNodeTime);
    out.text("\nMetaData  ");
    out.unsignedNumber(number);
    out.text("  \ttellg() = ");
    out.signedNumber(position);
    out.text("\nOrbit No. = ");
    out.unsignedNumber(be::loadU32(block + field::kOrbitNumber));
    out.text("\nAscending  Node Time = ");
    out.fixedNumber(julianDateFromTai93(ascendingNodeTime), kMetadataDigits);
    out.text("\t TAI = ");
    out.fixedNumber(ascendingNodeTime, kMetadataDigits);
    out.text("\nDescending Node Time = ");
    out.fixedNumber(julianDateFromTai93(be::loadF64(block + field::kDescendingNodeTime)), kMetadataDigits);
    out.text("\nDescending Node Long.= ");
    out.fixedNumber(be::loadF64(block + field::kDescendingNodeLongitude), kMetadataDigits);
    out.lineEnd();
}

// The metadata records the header's orbit count announces, then any further complete
// blocks up to the end of the file: a pass over several revolutions holds one record per
// revolution, one more than its orbit count, and all of them are shown.
void dumpOrbitMetadata(std::istream& input, DumpTextWriter& out, const storebase& ephemerisHeader) {
    storebase metadata(orbit_metadata_record::kSize);
    std::uint32_t shown = 0;
    while (shown < be::loadU32(ephemerisHeader.data() + ephemeris_header::kOrbitCount)) {
        readBlock(input, metadata);
        if (input.fail()) {
            if (input.eof()) {
                out.text("Error: eof bit set");
                out.lineEnd();
            }
            out.text("file error");
            out.lineEnd();
            return;
        }
        ++shown;
        writeMetadataLines(out, metadata, shown, inputPosition(input));
    }
    for (;;) {
        readBlock(input, metadata);
        if (input.fail()) return;  // the end of the file, or a partial block: nothing more to show
        ++shown;
        writeMetadataLines(out, metadata, shown, inputPosition(input));
    }
}

}  // namespace

void dumpEphemerisFile(std::istream& input, DumpTextWriter& out, RecordWindow window) {
    storebase toolkitHeader(toolkit_header::kSize);
    storebase ephemerisHeader(ephemeris_header::kSize);

    readBlock(input, toolkitHeader);
    const std::int64_t afterToolkitHeader = inputPosition(input);
    out.lineEnd();
    writeToolkitHeaderLines(out, toolkitHeader);
    writeHeaderEndPosition(out, afterToolkitHeader);

    readBlock(input, ephemerisHeader);
    const std::int64_t afterEphemerisHeader = inputPosition(input);
    out.lineEnd();
    writeEphemerisHeaderLines(out, ephemerisHeader);
    writeHeaderEndPosition(out, afterEphemerisHeader);

    out.setPlusSign(true);
    writeQaValueLines(out, ephemerisHeader.data() + ephemeris_header::kQaParameters,
                      ephemerisHeader.data() + ephemeris_header::kQaStatistics);

    out.text("\ntellg() before Universal Refs = ");
    out.signedNumber(inputPosition(input));
    out.lineEnd();
    skipUniversalReferences(input, be::loadU32(toolkitHeader.data() + toolkit_header::kUniversalRefs));
    out.text("tellg() after  Universal Refs = ");
    out.signedNumber(inputPosition(input));
    out.lineEnd();

    out.text("\nBeg Record = ");
    out.unsignedNumber(window.first);
    out.lineEnd();
    out.text("Rec Count  = ");
    out.unsignedNumber(window.limit);
    out.lineEnd();
    out.text("\nJulian Date, Position, Velocity QaFlag");
    out.lineEnd();
    out.setPlusSign(false);

    const std::uint32_t recordsRead = dumpRecords(
        input, out, be::loadU32(toolkitHeader.data() + toolkit_header::kRecordCount), window);
    out.text("\ntellg() after ephemeris records = ");
    out.signedNumber(inputPosition(input));
    out.lineEnd();
    out.text("  record count = ");
    out.unsignedNumber(recordsRead);
    out.lineEnd();

    dumpOrbitMetadata(input, out, ephemerisHeader);
}

int runEphdiag(int argc, const char* const* argv, std::ostream& err) {
    static constexpr DumpTool kEphdiag{"ephdiag", "Ephemeris", &dumpEphemerisFile};
    return runDumpTool(kEphdiag, argc, argv, err);
}

}  // namespace kova
