#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "packets/packet_census.h"
#include "packets/packet_layout.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"

namespace kova {
namespace {

using test::PacketFileBuilder;

struct ExpectedApid {
    int apid;
    std::uint64_t packets;
    std::uint64_t bytes;
    std::uint32_t shortest;
    std::uint32_t longest;
    std::uint64_t sequenceBreaks;
    std::vector<SequenceBreak> firstBreaks;
    std::uint64_t wrongLength = 0;
};

struct CensusCase {
    const char* name;
    std::function<void(PacketFileBuilder&)> build;
    CensusEnd end;
    std::uint64_t endOffset;
    std::uint64_t endBytes;  // missing bytes of a truncated packet, bytes of a partial header
    std::vector<ExpectedApid> apids;
};

TEST(PacketCensus, WalksEveryApid) {
    const CensusCase cases[] = {
        {"empty file", [](PacketFileBuilder&) {}, CensusEnd::kEndOfFile, 0, 0, {}},
        {"APIDs in increasing order with their lengths; one count runs through all packets",
         [](PacketFileBuilder& b) { b.other(5, 40).navAt(0).other(5, 7).navAt(1); },
         CensusEnd::kEndOfFile,
         40 + 126 + 7 + 126,
         0,
         {{5, 2, 47, 7, 40, 1, {{166, 1, 2}}}, {957, 2, 252, 126, 126, 1, {{173, 2, 3}}}}},
        {"the count wraps from 16383 to 0 without a break",
         [](PacketFileBuilder& b) { b.sequenceCount(16383).navAt(0).navAt(1).navAt(2); },
         CensusEnd::kEndOfFile,
         378,
         0,
         {{957, 3, 378, 126, 126, 0, {}}}},
        {"a repeated count and a jump are breaks, listed with their offsets, the first five kept",
         [](PacketFileBuilder& b) {
             b.navAt(0).sequenceCount(0).navAt(1).sequenceCount(9).navAt(2);
             for (int i = 0; i < 6; ++i) b.sequenceCount(100 * i).navAt(3 + static_cast<std::uint32_t>(i));
         },
         CensusEnd::kEndOfFile,
         9 * 126,
         0,
         {{957, 9, 9 * 126, 126, 126, 8, {{126, 1, 0}, {252, 1, 9}, {378, 10, 0}, {504, 1, 100}, {630, 101, 200}}}}},
        {"a partial header at the end",
         [](PacketFileBuilder& b) { b.navAt(0).raw({0x0B, 0xBD, 0xC0}); },
         CensusEnd::kPartialHeader,
         126,
         3,
         {{957, 1, 126, 126, 126, 0, {}}}},
        {"a last packet running past the end of the file is counted and told",
         [](PacketFileBuilder& b) { b.navAt(0).other(3, 5000).dropLast(4000); },
         CensusEnd::kTruncatedPacket,
         126,
         4000,
         {{3, 1, 5000, 5000, 5000, 0, {}}, {957, 1, 126, 126, 126, 0, {}}}},
        {"an invalid version stops the walk at its header",
         [](PacketFileBuilder& b) { b.navAt(0).header(1, 100, 3).raw({0, 0, 0, 0}).navAt(1); },
         CensusEnd::kInvalidHeader,
         126,
         0,
         {{957, 1, 126, 126, 126, 0, {}}}},
        {"a length field of 32767 is invalid",
         [](PacketFileBuilder& b) { b.navAt(0).header(0, 5, 32767); },
         CensusEnd::kInvalidHeader,
         126,
         0,
         {{957, 1, 126, 126, 126, 0, {}}}},
        {"navigation packets of another length are counted",
         [](PacketFileBuilder& b) {
             b.navAt(0).navOfSize(214, test::smoothSample(test::kTestBaseSeconds + 1)).navAt(2).navOfSize(
                 214, test::smoothSample(test::kTestBaseSeconds + 3));
         },
         CensusEnd::kEndOfFile,
         680,
         0,
         {{957, 4, 680, 126, 214, 0, {}, 2}}},
    };
    test::TemporaryDirectory directory;
    for (const CensusCase& c : cases) {
        SCOPED_TRACE(c.name);
        PacketFileBuilder builder;
        c.build(builder);
        const auto file = builder.writeTo(directory.file("case.kov"));
        for (const std::size_t bufferSize : {std::size_t{16}, PacketInput::kDefaultBufferSize}) {
            const PacketCensus census(file.string(), ExpectedPacketLength{kNavApid, kNavPacketSize}, bufferSize);
            EXPECT_EQ(census.end(), c.end);
            EXPECT_EQ(census.fileSize(), builder.size());
            EXPECT_EQ(census.endOffset(), c.endOffset);
            EXPECT_EQ(c.end == CensusEnd::kTruncatedPacket ? census.missingBytes() : census.partialHeaderBytes(),
                      c.endBytes);
            ASSERT_EQ(census.apids().size(), c.apids.size());
            std::uint64_t packets = 0;
            for (std::size_t i = 0; i < c.apids.size(); ++i) {
                const ApidCensus& found = census.apids()[i];
                const ExpectedApid& expected = c.apids[i];
                EXPECT_EQ(found.apid, expected.apid);
                EXPECT_EQ(found.packets, expected.packets);
                EXPECT_EQ(found.bytes, expected.bytes);
                EXPECT_EQ(found.shortestPacket, expected.shortest);
                EXPECT_EQ(found.longestPacket, expected.longest);
                EXPECT_EQ(found.sequenceBreaks, expected.sequenceBreaks);
                EXPECT_EQ(found.firstBreaks, expected.firstBreaks);
                EXPECT_EQ(found.wrongLength, expected.wrongLength);
                EXPECT_EQ(census.find(expected.apid), &found);
                packets += found.packets;
            }
            EXPECT_EQ(census.packetCount(), packets);
        }
    }
}

TEST(PacketCensus, FileThatCannotBeOpenedIsAReadError) {
    test::TemporaryDirectory directory;
    const PacketCensus census(directory.file("missing.kov").string());
    EXPECT_EQ(census.end(), CensusEnd::kReadError);
    EXPECT_EQ(census.packetCount(), 0u);
}

}  // namespace
}  // namespace kova
