#pragma once
// Fuzz entry of the packet input: the walk that indexes a packet file, the read of every
// indexed packet with its decoding and print, and, as a run does it, the first and last
// packets followed by the whole record stream, the attitude angles of every record and the
// orbit pass over the revolutions the stream cut.
//
// Input: one settings byte, then the bytes of the packet file.
//   bit 0: 214-byte navigation packets (else 126)
//   bit 1: orbit pass with a real element set (else with the empty one of a run without
//          norad file)
//   bit 2: the "-diag_2" print of every revolution
//   bits 3-4: size of the reader's buffer, 4096, 1024, 133 or 7 bytes: small windows make
//          packets and headers straddle window ends at every offset
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/discarding_stream.h"
#include "fuzz/scratch_file.h"
#include "orbit/orbit_model.h"
#include "orbit/orbit_pass.h"
#include "orbit/tle.h"
#include "packets/nav_record.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "run/options.h"
#include "time/time_scales.h"
#include "toolkit/attitude_angles.h"
#include "toolkit/record_stream.h"

namespace kova::fuzz {

namespace packet_file_input {
inline constexpr std::uint8_t kWidePackets = 0x01;
inline constexpr std::uint8_t kRealElementSet = 0x02;
inline constexpr std::uint8_t kRevolutionPrint = 0x04;
inline constexpr unsigned kBufferSizeShift = 3;
inline constexpr std::size_t kBufferSizes[] = {4096, 1024, 133, 7};
inline constexpr std::uint16_t kStreamFlagBits = 0x03E0;  // rep, lgb, sgb, sgf, lgf
// An element set whose epoch lies in the time range of the generated seed passes.
inline constexpr const char* kElementSetLine1 =
    "1 90957U 02901A   03211.12500000  .00000120  00000+0  36539-4 0  8123";
inline constexpr const char* kElementSetLine2 =
    "2 90957  98.2071 251.4363 0001187  92.3518 267.7823 14.57107046 62657";
}  // namespace packet_file_input

// Every value derived from a record goes through here, so none of the work is optimised away.
inline void absorbValue(DiscardingStream& sink, double value) {
    if (std::isnan(value)) sink.put('n');
}

// Reads every indexed packet, and one index past the end, into a navigation record.
inline void readEveryIndexedPacket(const std::string& fileName, std::uint32_t packetReadSize,
                                   std::size_t bufferSize, DiscardingStream& sink) {
    PacketFile packets(fileName, kNavApid, bufferSize);
    if (packets.fail()) return;
    NavRecord record(packetReadSize);
    for (std::int32_t index = 0; index <= packets.indexCount(); ++index) {
        packets.readPacket(record, index);
        printNavRecord(sink, record) << '\n';
    }
}

// The stream as the record pass drives it, and the orbit pass after it.
inline void runRecordAndOrbitPass(PacketFile& packets, std::uint32_t packetReadSize,
                                  std::uint8_t settings, DiscardingStream& sink) {
    NavRecordStream stream(packets, packetReadSize);
    std::uint32_t handedOut = 0;
    while (const NavRecord* record = stream.next()) {
        ++handedOut;
        absorbValue(sink, tai93FromJulianDate(record->julianDate()));
        for (double angle : attitudeAngles(*record)) absorbValue(sink, angle);
        // Only the gap and fill bits may ever be set, and a record's own word is cleared
        // when it is handed over; anything else is a wrong product, not a crash.
        if ((stream.currentQaFlags() & ~packet_file_input::kStreamFlagBits) != 0 || record->qaFlags() != 0) {
            std::abort();
        }
    }
    if (stream.recordCount() != handedOut) std::abort();

    TleRecord tle;
    if ((settings & packet_file_input::kRealElementSet) != 0) {
        parseTle(packet_file_input::kElementSetLine1, packet_file_input::kElementSetLine2, tle);
    }
    const bool reportRevolutions = (settings & packet_file_input::kRevolutionPrint) != 0;
    revolutionRecords(stream.satPass(), tle, reportRevolutions, sink,
                      [&sink](std::int32_t orbitNumber, double ascNode, double descNode, double longitude) {
                          sink << orbitNumber;
                          absorbValue(sink, tai93FromJulianDate(ascNode));
                          absorbValue(sink, tai93FromJulianDate(descNode));
                          absorbValue(sink, longitude);
                      });
    const auto orbits = passOrbitNumbers(stream.satPass(), tle);
    sink << orbits.first << orbits.second;
    for (double element : passElements(stream.satPass(), tle)) absorbValue(sink, element);
}

inline int fuzzPacketFile(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t settings = data[0];
    const std::uint32_t packetReadSize =
        (settings & packet_file_input::kWidePackets) != 0 ? kWideNavPacketSize : kNavPacketSize;
    static ScratchFile file("packets");
    const std::string& fileName = file.write(data + 1, size - 1);
    const std::size_t bufferSize =
        packet_file_input::kBufferSizes[(settings >> packet_file_input::kBufferSizeShift) & 0x03];
    DiscardingStream sink;

    readEveryIndexedPacket(fileName, packetReadSize, bufferSize, sink);

    // The run's order: index, first and last packet, then the stream over the same reader.
    PacketFile packets(fileName, kNavApid, bufferSize);
    if (packets.fail()) return 0;
    NavRecord first(packetReadSize);
    NavRecord last(packetReadSize);
    packets.readPacket(first, packets.firstIndex());
    packets.readPacket(last, packets.lastIndex());
    if (packets.lastIndex() == 0 || packets.fail()) return 0;
    runRecordAndOrbitPass(packets, packetReadSize, settings, sink);
    return 0;
}

}  // namespace kova::fuzz
