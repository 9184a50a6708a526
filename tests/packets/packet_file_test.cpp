#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "packets/nav_record.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"

namespace kova {
namespace {

using test::PacketFileBuilder;
using test::TemporaryDirectory;

enum class Walk { kGood, kBad };

struct IndexingCase {
    const char* name;
    std::function<void(PacketFileBuilder&)> build;
    Walk walk;
    std::vector<std::uint64_t> offsets;  // expected index when the walk is good
};

TEST(PacketFileIndexing, EdgeCases) {
    const IndexingCase cases[] = {
        {"empty file", [](PacketFileBuilder&) {}, Walk::kGood, {}},
        {"interleaved APIDs and lengths",
         [](PacketFileBuilder& b) { b.other(1, 40).navAt(0).other(0x7FF, 7).other(956, 126).navAt(1).other(958, 300); },
         Walk::kGood,
         {40, 40 + 126 + 7 + 126}},
        {"version 1 in the middle rejects the whole file",
         [](PacketFileBuilder& b) { b.navAt(0).navAt(1).header(1, 100, 3).raw({0, 0, 0, 0}).navAt(2); },
         Walk::kBad, {}},
        {"first byte 0xFF is version 7", [](PacketFileBuilder& b) { b.raw({0xFF, 0xBD, 0xC0, 0x00, 0x00, 0x77}); },
         Walk::kBad, {}},
        {"length field 0: a 7-byte packet",
         [](PacketFileBuilder& b) { b.header(0, 5, 0).raw({0xAB}).navAt(0).header(0, 957, 0).raw({0}); },
         Walk::kGood,
         {7, 7 + 126}},
        {"length field 32767 is invalid", [](PacketFileBuilder& b) { b.navAt(0).header(0, 5, 32767); }, Walk::kBad, {}},
        {"length field 65535 is invalid", [](PacketFileBuilder& b) { b.navAt(0).header(0, 5, 65535); }, Walk::kBad, {}},
        {"length field 32766 is valid", [](PacketFileBuilder& b) { b.navAt(0).header(0, 5, 32766); }, Walk::kGood, {0}},
        {"a 3-byte header at the end", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).raw({0x0B, 0xBD, 0xC0}); },
         Walk::kGood,
         {0, 126}},
        {"navigation packet of the wrong length is indexed",
         [](PacketFileBuilder& b) { b.navAt(0).navOfSize(214, test::smoothSample(test::kTestBaseSeconds + 1)).navAt(2); },
         Walk::kGood,
         {0, 126, 126 + 214}},
        {"a packet running past the end is indexed",
         [](PacketFileBuilder& b) { b.navAt(0).navAt(1).dropLast(50); },
         Walk::kGood,
         {0, 126}},
        {"an other packet running past the end",
         [](PacketFileBuilder& b) { b.navAt(0).other(3, 5000).dropLast(4000); },
         Walk::kGood,
         {0}},
    };
    TemporaryDirectory directory;
    for (const IndexingCase& c : cases) {
        SCOPED_TRACE(c.name);
        PacketFileBuilder builder;
        c.build(builder);
        const auto file = builder.writeTo(directory.file("case.kov"));
        for (const std::size_t bufferSize : {std::size_t{16}, PacketInput::kDefaultBufferSize}) {
            PacketFile packets(file.string(), kNavApid, bufferSize);
            switch (c.walk) {
                case Walk::kGood:
                    EXPECT_TRUE(packets.good());
                    ASSERT_EQ(packets.indexCount(), static_cast<std::int32_t>(c.offsets.size()));
                    for (std::size_t i = 0; i < c.offsets.size(); ++i) {
                        EXPECT_EQ(packets.offsetOf(static_cast<std::int32_t>(i)), c.offsets[i]);
                    }
                    EXPECT_EQ(packets.lastIndex(), c.offsets.empty() ? 0 : static_cast<std::int32_t>(c.offsets.size() - 1));
                    break;
                case Walk::kBad:
                    EXPECT_TRUE(packets.bad());
                    EXPECT_TRUE(packets.fail());
                    break;
            }
            EXPECT_EQ(packets.firstIndex(), 0);
            EXPECT_EQ(packets.currentIndex(), -1);
        }
    }
}

TEST(PacketFileIndexing, MissingFileIsFailed) {
    TemporaryDirectory directory;
    PacketFile packets(directory.file("none.kov").string(), kNavApid);
    EXPECT_TRUE(packets.fail());
    EXPECT_FALSE(packets.bad());
    EXPECT_EQ(packets.indexCount(), 0);
}

TEST(PacketFileIndexing, FileNameIsOpenedAsCString) {
    TemporaryDirectory directory;
    PacketFileBuilder().navAt(0).writeTo(directory.file("pass.kov"));
    const std::string name = directory.file("pass.kov").string() + std::string(1, '\0') + "ignored";
    PacketFile packets(name, kNavApid);
    EXPECT_TRUE(packets.good());
    EXPECT_EQ(packets.indexCount(), 1);
    EXPECT_EQ(packets.fileName(), name);
}

struct ReadOutcome {
    bool good;
    bool eof;
    bool bad;
};

void expectState(const PacketFile& packets, ReadOutcome expected, const char* what) {
    EXPECT_EQ(packets.good(), expected.good) << what;
    EXPECT_EQ(packets.eof(), expected.eof) << what;
    EXPECT_EQ(packets.bad(), expected.bad) << what;
}

TEST(PacketFileRead, StatesAfterEachKindOfRead) {
    TemporaryDirectory directory;
    const auto file = PacketFileBuilder()
                          .navAt(0)
                          .other(12, 99)
                          .navAt(1)
                          .navOfSize(214, test::smoothSample(test::kTestBaseSeconds + 2))
                          .navAt(3)
                          .dropLast(10)
                          .writeTo(directory.file("pass.kov"));
    PacketFile packets(file.string(), kNavApid, 64);
    ASSERT_TRUE(packets.good());
    ASSERT_EQ(packets.indexCount(), 4);
    NavRecord record(126);

    packets.readPacket(record, 1);
    expectState(packets, {true, false, false}, "good read");
    EXPECT_EQ(packets.currentIndex(), 1);
    EXPECT_EQ(record.timeTagSeconds(), test::kTestBaseSeconds + 1);

    packets.readPacket(record, 0);  // reads seek back
    expectState(packets, {true, false, false}, "read back");
    EXPECT_EQ(record.timeTagSeconds(), test::kTestBaseSeconds);

    packets.readPacket(record, 3);  // truncated last packet: end of file and failed
    expectState(packets, {false, true, false}, "short read");
    EXPECT_TRUE(packets.fail());
    EXPECT_EQ(record.timeTagSeconds(), test::kTestBaseSeconds + 3);  // the bytes that were there

    packets.readPacket(record, 0);  // no seek, no read on a stream that is not good
    EXPECT_EQ(record.timeTagSeconds(), test::kTestBaseSeconds + 3);
    EXPECT_TRUE(packets.fail());
    EXPECT_EQ(packets.currentIndex(), 0);

    PacketFile again(file.string(), kNavApid, 64);
    again.readPacket(record, 2);  // 214-byte packet into a 126-byte record
    expectState(again, {false, false, true}, "wrong length");

    PacketFile third(file.string(), kNavApid);
    third.readPacket(record, 4);  // one past the index: nothing read
    expectState(third, {false, true, false}, "past the index");
    EXPECT_TRUE(third.fail());
    EXPECT_EQ(third.currentIndex(), 4);
    third.readPacket(record, -1);
    EXPECT_TRUE(third.eof());
}

TEST(PacketFileRead, FreshRecordOnAFailedStreamReportsBad) {
    // The length check catches a read that did nothing: a fresh record holds length 0.
    TemporaryDirectory directory;
    const auto file = PacketFileBuilder().navAt(0).navAt(1).writeTo(directory.file("pass.kov"));
    PacketFile packets(file.string(), kNavApid);
    NavRecord first(126);
    NavRecord last(126);
    packets.readPacket(first, 5);
    packets.readPacket(last, 1);
    EXPECT_TRUE(packets.bad());
    EXPECT_TRUE(packets.eof());
}

TEST(PacketFileRead, WidePacketsNeedWideRecords) {
    TemporaryDirectory directory;
    const auto file = PacketFileBuilder(214).navAt(0).navAt(1).writeTo(directory.file("wide.kov"));
    PacketFile packets(file.string(), kNavApid);
    NavRecord wide(214);
    packets.readPacket(wide, 1);
    EXPECT_TRUE(packets.good());
    NavRecord narrow(126);
    packets.readPacket(narrow, 0);
    EXPECT_TRUE(packets.bad());
}

TEST(PacketFileRead, SequentialReadsOfAGeneratedPassWithFillers) {
    generator::PassSettings settings;
    settings.startSeconds = test::kTestBaseSeconds;
    settings.durationSeconds = 3000;
    settings.otherPacketsPerNavPacket = 3;  // about 1.7 MB: several buffer windows
    settings.seed = 7;
    TemporaryDirectory directory;
    const auto file = test::writeGeneratedPass(directory.file("pass.kov"), settings);
    PacketFile packets(file.string(), kNavApid);
    ASSERT_TRUE(packets.good());
    ASSERT_EQ(packets.indexCount(), 3000);
    NavRecord record(126);
    for (std::int32_t i = 0; i < packets.indexCount(); ++i) {
        packets.readPacket(record, i);
        ASSERT_TRUE(packets.good()) << i;
        ASSERT_EQ(record.timeTagSeconds(), test::kTestBaseSeconds + static_cast<std::uint32_t>(i));
        ASSERT_EQ(record.apid(), kNavApid);
    }
    packets.readPacket(record, packets.indexCount());
    EXPECT_TRUE(packets.eof());
}

// A file above 4 GiB: filler packets of the largest size up to beyond 4 GiB, then two
// navigation packets. The file is sparse, so it takes no disk space.
TEST(PacketFileIndexing, OffsetsBeyondFourGibibytes) {
    TemporaryDirectory directory;
    const auto file = directory.file("large.kov");
    const std::uint64_t fillerSize = generator::kMaximumPacketSize;
    const std::uint64_t fillers = ((std::uint64_t{1} << 32) / fillerSize) + 2;
    std::vector<std::uint8_t> header(6);
    {
        std::ofstream out(file, std::ios::binary);
        for (std::uint64_t i = 0; i < fillers; ++i) {
            generator::writePrimaryHeader(header.data(), 100, 0, generator::lengthFieldFor(fillerSize));
            out.seekp(std::streamoff(i * fillerSize));
            out.write(reinterpret_cast<const char*>(header.data()), 6);
        }
        out.seekp(std::streamoff(fillers * fillerSize));
        const auto navs = PacketFileBuilder().navAt(0).navAt(1).bytes();
        out.write(reinterpret_cast<const char*>(navs.data()), static_cast<std::streamsize>(navs.size()));
        ASSERT_TRUE(out.good());
    }
    // A small buffer reads little more than the headers (a large one would read every
    // byte of the 4 GiB).
    PacketFile packets(file.string(), kNavApid, 64);
    ASSERT_TRUE(packets.good());
    ASSERT_EQ(packets.indexCount(), 2);
    EXPECT_EQ(packets.offsetOf(0), fillers * fillerSize);
    EXPECT_GT(packets.offsetOf(0), std::uint64_t{0xFFFFFFFF});
    NavRecord record(126);
    packets.readPacket(record, 1);
    EXPECT_TRUE(packets.good());
    EXPECT_EQ(record.timeTagSeconds(), test::kTestBaseSeconds + 1);
}

}  // namespace
}  // namespace kova
