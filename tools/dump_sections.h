#pragma once
// Parts of the dump text that the ephemeris and attitude dumps share: the common header
// lines, the QA values of the kind header and the record line. Fields are decoded from the
// block buffers as read from the file (big-endian).
#include <cstddef>
#include <cstdint>

namespace kova {

class DumpTextWriter;
class storebase;

// Spacecraft, source, version, time range, interval, number of records and number of
// universal references of the 140-byte common header, each on a line of its own that the
// line feed opens; no line end after the last one.
void writeToolkitHeaderLines(DumpTextWriter& out, const storebase& toolkitHeader);

// "\nQA Parameters" and the 16 parameters, a line end, "\nQA Statistics" and the 4
// statistics, a line end; every value a float shown in F6 beside its index in U2.
void writeQaValueLines(DumpTextWriter& out, const std::uint8_t* qaParameters,
                       const std::uint8_t* qaStatistics);

// Where a record line finds its values in a 64-byte record.
struct RecordLineLayout {
    std::size_t time;          // double, TAI93 seconds, shown as a Julian date in F8
    std::size_t firstTriple;   // three doubles (position or angles)
    std::size_t secondTriple;  // three doubles (velocity or rates)
    std::size_t qaFlags;       // 32-bit flag word
    int tripleDigits;          // decimals of the six values
};

// One record line, plus sign off before and after: the Julian date, a blank, the two triples
// with the plus sign on (each value followed by a blank, each triple by two more), the QaFlag
// column, the flag text on a line of its own when any flag is set, and a line end.
void writeRecordLine(DumpTextWriter& out, const std::uint8_t* record, const RecordLineLayout& layout);

}  // namespace kova
