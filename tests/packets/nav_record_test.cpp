#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "generator/packet_builder.h"
#include "packets/nav_record.h"
#include "packets/packet_layout.h"

namespace kova {
namespace {

TEST(NavRecordDecode, EveryFieldFromItsOffset) {
    generator::NavSample sample;
    sample.seconds = 1438257600;
    sample.subseconds = 12345;
    // Values the two formats hold exactly (Real32 for the last three).
    sample.values = {7000000.5, -1234567.25, 0.0, -7500.125, 3.0, 1.0 / 1024.0, 0.5, -0.25, 0.125, -0.75,
                     -0x1.0624p-10, 0x1.5p-20, -3.0};
    std::uint8_t bytes[214];
    generator::writeNavigationPacket(bytes, 214, 77, sample);

    NavRecord record(214);
    std::copy(bytes, bytes + 214, record.data());
    record.setQaFlags(0x0120);
    record.decode();
    for (std::size_t i = 0; i < 13; ++i) EXPECT_EQ(record.values()[i], sample.values[i]) << i;
    EXPECT_EQ(record.julianDate(), (12345 * 1.52e-05 + 1438257600.0) * 1.1574074074074073e-05 + 2436204.5);
    EXPECT_EQ(record.qaFlags(), 0);
    EXPECT_EQ(record.timeTagSeconds(), 1438257600u);
    EXPECT_EQ(record.apid(), 957);
    EXPECT_EQ(record.sequenceCount(), 77);
    EXPECT_EQ(record.packetSize(), 208);
    EXPECT_EQ(record.version(), 0);
    EXPECT_EQ(record.position()[0], 7000000.5);
    EXPECT_EQ(record.velocity()[2], 1.0 / 1024.0);
    EXPECT_EQ(record.attitude()[3], -0.75);
    EXPECT_EQ(record.attitudeRates()[2], -3.0);
}

TEST(NavRecordDecode, ShortBufferReadsMissingBytesAsZero) {
    NavRecord record(20);
    record.data()[nav_packet::kFirstReal48] = 0x40;
    record.data()[nav_packet::kFirstReal48 + 3] = 0x01;
    record.decode();
    EXPECT_EQ(record.values()[0], 1.0);
    EXPECT_EQ(record.values()[1], 0.0);
    EXPECT_EQ(record.packetSize(), 1);
}

TEST(NavRecordCopy, CopiesBytesValuesAndDateButNotTheUseCount) {
    NavRecord record(126);
    record.data()[0] = 0x0B;
    record.setJulianDate(2452850.5);
    record.setValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    record.addRef();
    NavRecord copy(record);
    EXPECT_EQ(copy.useCount(), 0);
    EXPECT_EQ(copy.data()[0], 0x0B);
    EXPECT_EQ(copy.julianDate(), 2452850.5);
    EXPECT_EQ(copy.values()[12], 13.0);
    record.release();
}

TEST(PacketHeaderPrint, DecimalFieldsWithoutFinalNewline) {
    Packet packet(6);
    generator::writePrimaryHeader(packet.data(), 957, 16383, 119);
    std::ostringstream out;
    out << std::hex;
    printPacketHeader(out, packet) << 255;
    EXPECT_EQ(out.str(), "\npacket_ver. = 0\npacket_APID = 957\npacket_seq. = 16383\npacket_size = 120255");
}

TEST(PacketHeaderPrint, InvalidLengthShowsSignedSize) {
    Packet packet(6);
    generator::writePrimaryHeader(packet.data(), 5, 0, 0x7FFF, 7);
    std::ostringstream out;
    printPacketHeader(out, packet);
    EXPECT_EQ(out.str(), "\npacket_ver. = 7\npacket_APID = 5\npacket_seq. = 0\npacket_size = -32768");
}

TEST(NavRecordPrint, ZeroRecordLayoutAndNotationLeftOnTheStream) {
    NavRecord record(126);
    std::ostringstream out;
    printNavRecord(out, record) << '|' << 0.5;
    const std::string zeros3 = "0.00000000 0.00000000 0.00000000  ";
    EXPECT_EQ(out.str(),
              "\npacket_ver. = 0\npacket_APID = 0\npacket_seq. = 0\npacket_size = 1"
              "\nkova_timetag   = 0.00000000  TAI seconds = 0"
              "\nkova_position  = " + zeros3 +
              "\nkova_velocity  = " + zeros3 +
              "\nkova_attitude  = 0.00000000 0.00000000 0.00000000 0.00000000  "
              "\nkova_att_rates = " + zeros3 + "|0.50000000");
}

TEST(NavRecordPrint, DecodedRecord) {
    generator::NavSample sample;
    sample.seconds = 4294967295u;
    sample.values = {1.5, -2.0, 3.0, 0, 0, 0, 0, 0, 0, 1.0, 0, 0, -0.5};
    NavRecord record(126);
    generator::writeNavigationPacket(record.data(), 126, 3, sample);
    record.decode();
    std::ostringstream out;
    printNavRecord(out, record);
    const std::string text = out.str();
    EXPECT_NE(text.find("\npacket_APID = 957\npacket_seq. = 3\npacket_size = 120\n"), std::string::npos);
    EXPECT_NE(text.find("  TAI seconds = 4294967295\n"), std::string::npos);
    EXPECT_NE(text.find("\nkova_position  = 1.50000000 -2.00000000 3.00000000  \n"), std::string::npos);
    EXPECT_NE(text.find("\nkova_att_rates = 0.00000000 0.00000000 -0.50000000  "), std::string::npos);
}

}  // namespace
}  // namespace kova
