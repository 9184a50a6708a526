// A packet file cut at every byte offset of a small valid file, each cut run through kova's
// whole run (in-process: several hundred runs). Whatever the cut, kova must stop with the
// message of its case or produce exactly the products of the packets that are still whole.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include "core/run_stop.h"
#include "packets/packet_layout.h"
#include "run/processing_run.h"
#include "tests/process/small_run_files.h"
#include "tests/support/in_process_run.h"
#include "tests/support/temporary_directory.h"
#include "toolkit/layout.h"

namespace kova::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHeaderSize = 6;

struct PacketExtent {
    std::size_t offset;
    std::size_t size;  // whole packet, header included
    bool navigation;
};

// The packets of a valid file, walked by their length fields.
std::vector<PacketExtent> packetExtents(const std::vector<std::uint8_t>& bytes) {
    std::vector<PacketExtent> extents;
    for (std::size_t offset = 0; offset + kHeaderSize <= bytes.size();) {
        const int apid = ((bytes[offset] & 0x07) << 8) | bytes[offset + 1];
        const std::size_t size = kHeaderSize + ((std::size_t{bytes[offset + 4]} << 8) | bytes[offset + 5]) + 1;
        extents.push_back({offset, size, apid == kNavApid});
        offset += size;
    }
    return extents;
}

TEST(TruncatedPacketFile, EveryCutStopsCleanlyOrKeepsTheWholePackets) {
    TemporaryDirectory dir;
    const std::vector<std::uint8_t> whole = smallValidPacketFile().bytes();
    const std::vector<PacketExtent> extents = packetExtents(whole);

    // The products of the file cut right after its n-th whole navigation packet.
    std::map<std::size_t, RunProducts> productsOfWholePackets;
    std::size_t navigationSeen = 0;
    for (const PacketExtent& extent : extents) {
        if (!extent.navigation || ++navigationSeen < 2) continue;
        const std::size_t end = extent.offset + extent.size;
        writeBytes(dir.file("ref.kov"), std::vector<std::uint8_t>(whole.begin(), whole.begin() + end));
        productsOfWholePackets[navigationSeen] = cleanRunProducts(dir.path(), "ref.kov");
    }
    ASSERT_EQ(productsOfWholePackets.size(), 2u);
    ASSERT_EQ(bigEndianU32At(productsOfWholePackets[3].attitude, toolkit_header::kRecordCount),
              kSmallFileRecordCount);

    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut));
        writeBytes(dir.file("cut.kov"), std::vector<std::uint8_t>(whole.begin(), whole.begin() + cut));
        fs::remove(dir.file("cut.eph"));
        fs::remove(dir.file("cut.att"));
        std::size_t indexed = 0;  // navigation packets whose header is whole
        std::size_t complete = 0;  // navigation packets that are whole
        for (const PacketExtent& extent : extents) {
            if (!extent.navigation) continue;
            if (extent.offset + kHeaderSize <= cut) ++indexed;
            if (extent.offset + extent.size <= cut) ++complete;
        }

        const RunOutput result = runInProcess(&runKova, "kova", {"-packetfile", dir.file("cut.kov").string()});
        if (indexed <= 1) {
            EXPECT_EQ(result.status, kStatusFailure);
            EXPECT_EQ(result.err, "\nPacket File Empty\n");
        } else if (complete < indexed) {
            // The last indexed packet runs past the end of the file.
            EXPECT_EQ(result.status, kStatusFailure);
            EXPECT_EQ(result.err.rfind("\nPacket File Read Error\n\nBegin Packet is:\n", 0), 0u) << result.err;
        } else {
            ASSERT_EQ(result.status, 0) << result.err;
            EXPECT_EQ(result.err, "");
            EXPECT_EQ(readBytes(dir.file("cut.eph")), productsOfWholePackets[complete].ephemeris);
            EXPECT_EQ(readBytes(dir.file("cut.att")), productsOfWholePackets[complete].attitude);
            continue;
        }
        // Both stops come before the output files are opened.
        EXPECT_FALSE(fs::exists(dir.file("cut.eph")));
        EXPECT_FALSE(fs::exists(dir.file("cut.att")));
    }
}

}  // namespace
}  // namespace kova::test
