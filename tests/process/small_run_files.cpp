#include "tests/process/small_run_files.h"

#include <gtest/gtest.h>

#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"

namespace kova::test {

PacketFileBuilder smallValidPacketFile() {
    PacketFileBuilder builder;
    builder.navAt(0).other(100, 20).navAt(1).navAt(3).other(200, 9);
    return builder;
}

RunProducts cleanRunProducts(const std::filesystem::path& workDir, const std::filesystem::path& packetFile) {
    const ProcessResult result = runProgram("kova", {"-packetfile", packetFile.string()}, workDir);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::filesystem::path stem = packetFile;
    stem.replace_extension();
    RunProducts products;
    products.ephemeris = readBytes(workDir / (stem.string() + ".eph"));
    products.attitude = readBytes(workDir / (stem.string() + ".att"));
    return products;
}

std::uint32_t bigEndianU32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    if (offset + 4 > bytes.size()) return 0;
    return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
           (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}

}  // namespace kova::test
