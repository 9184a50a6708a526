// The inputs of a pass: each refusal in the order of the checks, the element set with its
// problems, and a packet file cut short after it was indexed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "packets/packet_layout.h"
#include "pass/element_set_input.h"
#include "pass/pass_input.h"
#include "tests/support/norad_test_file.h"
#include "tests/support/packet_file_builder.h"
#include "tests/support/temporary_directory.h"
#include "time/time_scales.h"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test::PacketFileBuilder;

class PassInputTest : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return directory_.file(name).string(); }
    std::string writePackets(const std::string& name, const std::function<void(PacketFileBuilder&)>& build) {
        PacketFileBuilder builder;
        build(builder);
        return builder.writeTo(directory_.file(name)).string();
    }
    PassInputSettings settingsFor(const std::string& packetFile, const std::string& noradFile = "") const {
        PassInputSettings settings;
        settings.packetFileName = packetFile;
        settings.noradFileName = noradFile;
        settings.satelliteName = "MARU";
        return settings;
    }

    test::TemporaryDirectory directory_;
};

TEST_F(PassInputTest, EachCheckRefusesWithItsOwnReason) {
    const std::string twoPackets = writePackets("two.kov", [](PacketFileBuilder& b) { b.navAt(0).navAt(1); });
    const std::string noSet = test::writeTestNoradFile("MARU\n" + test::kTestTleLine1 + "\n");
    ASSERT_EQ(::mkfifo(file("pipe.kov").c_str(), 0600), 0);
    fs::create_directory(file("folder.kov"));
    struct Case {
        const char* name;
        std::string packetFile;
        std::string noradFile;
        PassRefusal refusal;
    };
    const Case cases[] = {
        {"no name", "", "", PassRefusal::kNoPacketFileName},
        {"a directory", file("folder.kov"), "", PassRefusal::kPacketFileIsDirectory},
        {"a named pipe", file("pipe.kov"), "", PassRefusal::kPacketFileNotRegular},
        {"a device", "/dev/zero", "", PassRefusal::kPacketFileNotRegular},
        {"missing", file("missing.kov"), "", PassRefusal::kPacketFileNotOpenable},
        {"invalid header", writePackets("bad.kov", [](PacketFileBuilder& b) { b.navAt(0).header(1, 957, 3); }), "",
         PassRefusal::kPacketFileNotIndexable},
        // The norad file is read before the packets are: its refusal comes first.
        {"norad file missing", twoPackets, file("missing.tle"), PassRefusal::kNoradFileNotOpenable},
        {"norad file a directory", twoPackets, file("folder.kov"), PassRefusal::kNoradFileNotOpenable},
        {"no whole set", twoPackets, noSet, PassRefusal::kElementSetNotFound},
        {"no navigation packet", writePackets("empty.kov", [](PacketFileBuilder& b) { b.other(5, 40); }), "",
         PassRefusal::kFewerThanTwoNavigationPackets},
        {"one navigation packet", writePackets("one.kov", [](PacketFileBuilder& b) { b.navAt(0).other(5, 40); }), "",
         PassRefusal::kFewerThanTwoNavigationPackets},
        {"last packet running past the end",
         writePackets("short.kov", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).dropLast(1); }), "",
         PassRefusal::kEndPacketUnreadable},
        {"wide packets read as narrow ones", writePackets("wide.kov", [](PacketFileBuilder& b) {
             b.navOfSize(214, test::smoothSample(test::kTestBaseSeconds)).navAt(1);
         }),
         "", PassRefusal::kEndPacketUnreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PassInput input(settingsFor(c.packetFile, c.noradFile));
        EXPECT_EQ(input.refusal(), c.refusal);
    }
    EXPECT_EQ(PassInput(settingsFor(file("missing.kov"))).openError(), ENOENT);
    EXPECT_TRUE(PassInput(settingsFor(file("wide.kov"))).firstPacketUnreadable());
    EXPECT_FALSE(PassInput(settingsFor(file("short.kov"))).firstPacketUnreadable());
}

TEST_F(PassInputTest, AnOpenPassHoldsItsEndsAndItsElementSet) {
    const std::string packets = writePackets("pass.kov", [](PacketFileBuilder& b) { b.navAt(0).other(5, 40).navAt(1).navAt(7); });
    // A wrong checksum on line 2 is a problem of the set, not a refusal.
    std::string line2 = test::kTestTleLine2;
    line2.back() = line2.back() == '0' ? '1' : '0';
    const std::string norad =
        test::writeTestNoradFile("OTHER\n" + test::kTestTleLine1 + "\nKALPA MARU\n" + test::kTestTleLine1 + "\n" + line2 + "\n");
    const PassInput input(settingsFor(packets, norad));
    ASSERT_FALSE(input.refusal());
    EXPECT_EQ(input.lastPacketIndex(), 2);
    // The ends in file order give the time range.
    EXPECT_EQ(input.firstPacket().julianDate(), julianDateFromTai58(test::kTestBaseSeconds, 0));
    EXPECT_EQ(input.lastPacket().julianDate(), julianDateFromTai58(test::kTestBaseSeconds + 7, 0));
    ASSERT_TRUE(input.elementSetText());
    EXPECT_EQ(input.elementSetText()->nameLine, "KALPA MARU");
    EXPECT_EQ(input.elementSetText()->line2, line2);
    ASSERT_EQ(input.elementSetText()->problems.size(), 1u);
    EXPECT_EQ(input.elementSetText()->problems[0], "line 2 checksum wrong");
    EXPECT_EQ(input.elementSet().revolutionNumber(), 1234.0);

    // Without a norad file the set stays all zero and no text is kept.
    const PassInput bare(settingsFor(packets));
    ASSERT_FALSE(bare.refusal());
    EXPECT_FALSE(bare.elementSetText());
    for (const double value : bare.elementSet().values) EXPECT_EQ(value, 0.0);
}

TEST_F(PassInputTest, ABlankSatelliteNameIsSearchedAsItsKey) {
    ElementSetText text;
    TleRecord tle;
    const std::string norad = test::writeTestNoradFile("$$$$\n" + test::kTestTleLine1 + "\n" + test::kTestTleLine2 + "\n");
    EXPECT_FALSE(readNoradElementSet(norad, " ", tle, text));
    EXPECT_EQ(text.searchKey, "$$$$");
    EXPECT_TRUE(text.problems.empty());
}

// A packet that was whole when the file was indexed and is cut short when it is read is a
// read error; one that already ran past the end at indexing time ends the data as before.
TEST_F(PassInputTest, APacketCutShortAfterIndexingIsAReadErrorNotTheEnd) {
    const std::string name = writePackets("pass.kov", [](PacketFileBuilder& b) {
        for (std::uint32_t second = 0; second < 6; ++second) b.navAt(second);
    });
    // A window of two packets: the reads after the cut go to the file, not to bytes held
    // from the indexing walk.
    PacketFile packets(name, kNavApid, 2 * kNavPacketSize);
    ASSERT_TRUE(packets.good());
    EXPECT_EQ(packets.indexedLength(), 6u * kNavPacketSize);
    // The file shrinks by half a packet, while the run is between packets 3 and 4.
    ASSERT_EQ(::truncate(name.c_str(), 5 * kNavPacketSize - 60), 0);
    NavRecord record(kNavPacketSize);
    for (std::int32_t index = 0; index < 4; ++index) {
        packets.readPacket(record, index);
        ASSERT_TRUE(packets.good()) << index;
    }
    packets.readPacket(record, 4);
    EXPECT_FALSE(packets.eof());
    EXPECT_TRUE(packets.bad());
    EXPECT_TRUE(packets.shrankSinceIndexing());
}

TEST_F(PassInputTest, TheIndexedLengthTellsAWholeLastPacketFromOneRunningPastTheEnd) {
    struct Case {
        const char* name;
        std::function<void(PacketFileBuilder&)> build;
        std::uint64_t indexedLength;
    };
    const Case cases[] = {
        {"whole packets", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).navAt(2); }, 3 * kNavPacketSize},
        {"a partial header at the end", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).navAt(2).raw({0x0B, 0xBD}); },
         3 * kNavPacketSize + 2},
        // Only the header of the last packet was there to index.
        {"the last packet running past the end", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).navAt(2).dropLast(1); },
         2 * kNavPacketSize + primary_header::kSize},
        {"an other packet running past the end", [](PacketFileBuilder& b) { b.navAt(0).navAt(1).other(5, 300).dropLast(200); },
         2 * kNavPacketSize + primary_header::kSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = writePackets("case.kov", c.build);
        PacketFile packets(name, kNavApid);
        ASSERT_TRUE(packets.good());
        EXPECT_EQ(packets.indexedLength(), c.indexedLength);
    }
    // The packet that ran past the end at indexing time is the end of the data.
    const std::string name = writePackets("case.kov", cases[2].build);
    PacketFile packets(name, kNavApid);
    NavRecord record(kNavPacketSize);
    packets.readPacket(record, 2);
    EXPECT_TRUE(packets.eof());
    EXPECT_FALSE(packets.shrankSinceIndexing());
}

}  // namespace
}  // namespace kova
