#pragma once
// A small valid packet file for the fault-injection runs, and the products a clean kova run
// makes of it, to compare failed and disturbed runs against.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "tests/support/packet_file_builder.h"

namespace kova::test {

// Navigation packets at 0, 1 and 3 s (a short gap with one fill record at 2 s) between
// packets of two other APIDs: four records, one revolution.
PacketFileBuilder smallValidPacketFile();
inline constexpr std::uint32_t kSmallFileRecordCount = 4;

struct RunProducts {
    std::vector<std::uint8_t> ephemeris;
    std::vector<std::uint8_t> attitude;
};

// Runs kova in `workDir` on `packetFile`, a name in that directory (outputs "<stem>.eph" and
// "<stem>.att" beside it), and reads
// both products; fails the test when the run does not end with status 0.
RunProducts cleanRunProducts(const std::filesystem::path& workDir, const std::filesystem::path& packetFile);

// The 32-bit big-endian number at `offset`.
std::uint32_t bigEndianU32At(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace kova::test
