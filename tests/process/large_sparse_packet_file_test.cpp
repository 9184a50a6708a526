// A packet file larger than 4 GiB: navigation packets before, between and after runs of
// filler packets of another APID, each filler a header followed by a hole, so the file
// costs little disk. Offsets beyond 2^31 and 2^32 must index and read like any other: the
// products equal those of a file holding only the navigation packets.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "generator/packet_builder.h"
#include "tests/process/small_run_files.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/process_runner.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kFourGiB = std::uintmax_t{1} << 32;
constexpr std::uintmax_t kRequiredFreeBytes = std::uintmax_t{1} << 30;
constexpr int kFillerApid = 1000;
constexpr std::uint16_t kFillerLengthField = 32766;  // the largest valid length field
constexpr std::size_t kFillerSize = 6 + kFillerLengthField + 1;
constexpr std::size_t kFillersPerRun = 65536;  // each run moves the offset on by more than 2^31
constexpr std::size_t kNavPacketBytes = 126;

// True when a file with a 64 MiB hole takes far less than 64 MiB on this filesystem.
bool filesystemKeepsHoles(const fs::path& probe) {
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        out.seekp(64 << 20);
        out.put('x');
        if (!out) return false;
    }
    struct stat status {};
    const bool sparse = ::stat(probe.c_str(), &status) == 0 && status.st_blocks * 512 < (1 << 20);
    fs::remove(probe);
    return sparse;
}

void writeFillerRun(std::ofstream& out) {
    std::uint8_t header[6];
    for (std::size_t filler = 0; filler < kFillersPerRun; ++filler) {
        generator::writePrimaryHeader(header, kFillerApid, static_cast<int>(filler), kFillerLengthField);
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        out.seekp(static_cast<std::streamoff>(kFillerSize - sizeof header), std::ios::cur);
    }
}

TEST(LargeSparsePacketFile, NavigationPacketsBeyondFourGiBAreIndexedAndRead) {
    TemporaryDirectory dir;
    std::error_code error;
    const fs::space_info space = fs::space(dir.path(), error);
    if (error || space.available < kRequiredFreeBytes) GTEST_SKIP() << "less than 1 GiB free";
    if (!filesystemKeepsHoles(dir.file("probe"))) GTEST_SKIP() << "the filesystem does not keep sparse files";

    PacketFileBuilder navigation;
    navigation.navAt(0).navAt(1).navAt(2).navAt(3);
    navigation.writeTo(dir.file("plain.kov"));
    const std::vector<std::uint8_t>& nav = navigation.bytes();
    auto writeNav = [&nav](std::ofstream& out, std::size_t index) {
        out.write(reinterpret_cast<const char*>(nav.data() + index * kNavPacketBytes), kNavPacketBytes);
    };
    {
        std::ofstream out(dir.file("large.kov"), std::ios::binary | std::ios::trunc);
        writeNav(out, 0);
        writeFillerRun(out);  // packet 1 beyond 2^31
        writeNav(out, 1);
        writeFillerRun(out);  // packets 2 and 3 beyond 2^32
        writeNav(out, 2);
        writeNav(out, 3);
        ASSERT_TRUE(out.good()) << "cannot write the large packet file";
    }
    ASSERT_GT(fs::file_size(dir.file("large.kov")), kFourGiB);

    const RunProducts expected = cleanRunProducts(dir.path(), "plain.kov");
    const RunProducts large = cleanRunProducts(dir.path(), "large.kov");
    fs::remove(dir.file("large.kov"));
    EXPECT_EQ(bigEndianU32At(large.attitude, toolkit_header::kRecordCount), 4u);
    EXPECT_EQ(large.ephemeris, expected.ephemeris);
    EXPECT_EQ(large.attitude, expected.attitude);
}

}  // namespace
}  // namespace kova::test
