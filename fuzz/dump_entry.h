#pragma once
// Fuzz entries of the two dump tools: the ephemeris and attitude dumps of an arbitrary file,
// written to a stream that counts and drops.
//
// Input: two window bytes, then the bytes of the file.
//   byte 0, low 4 bits: index of the first record shown ("-beg", 0 to 15)
//   byte 0, bit 7: read the file through the input file stream of the programs (a scratch
//          file on which a seek past the end succeeds) instead of from memory through a
//          string stream (on which it fails)
//   byte 1, low 5 bits: number of records shown ("-cnt", 0 to 31)
// The window is always bounded: with "-cnt all" a file whose record count field is near
// 2^32 and which ends early repeats its last record buffer for every count, so the dump
// would be gigabytes by design. A bounded window keeps the output within a few hundred
// bytes per block of input.
#include <cstddef>
#include <cstdint>
#include <ios>
#include <sstream>
#include <string>

#include "fuzz/discarding_stream.h"
#include "fuzz/scratch_file.h"
#include "tools/attitude_dump.h"
#include "tools/dump_input_file.h"
#include "tools/dump_options.h"
#include "tools/dump_text_writer.h"
#include "tools/ephemeris_dump.h"

namespace kova::fuzz {

namespace dump_input {
inline constexpr std::size_t kWindowBytes = 2;
inline constexpr std::uint8_t kFirstMask = 0x0F;
inline constexpr std::uint8_t kThroughFile = 0x80;
inline constexpr std::uint8_t kLimitMask = 0x1F;
}  // namespace dump_input

using DumpFunction = void (*)(std::istream& input, DumpTextWriter& out, RecordWindow window);

inline int fuzzDump(DumpFunction dump, const std::uint8_t* data, std::size_t size) {
    if (size < dump_input::kWindowBytes) return 0;
    RecordWindow window;
    window.first = data[0] & dump_input::kFirstMask;
    window.limit = data[1] & dump_input::kLimitMask;
    const std::uint8_t* fileBytes = data + dump_input::kWindowBytes;
    const std::size_t fileSize = size - dump_input::kWindowBytes;
    DiscardingStream sink;
    DumpTextWriter out(sink);
    if ((data[0] & dump_input::kThroughFile) != 0) {
        static ScratchFile file("dump");
        DumpInputFile input(file.write(fileBytes, fileSize));
        if (input.isOpen()) dump(input.stream(), out, window);
    } else {
        std::istringstream input(std::string(reinterpret_cast<const char*>(fileBytes), fileSize),
                                 std::ios::in | std::ios::binary);
        dump(input, out, window);
    }
    out.flush();
    return 0;
}

inline int fuzzEphemerisDump(const std::uint8_t* data, std::size_t size) {
    return fuzzDump(&dumpEphemerisFile, data, size);
}

inline int fuzzAttitudeDump(const std::uint8_t* data, std::size_t size) {
    return fuzzDump(&dumpAttitudeFile, data, size);
}

}  // namespace kova::fuzz
