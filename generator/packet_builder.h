#pragma once
// Building the bytes of telemetry packets: primary headers, navigation packets (APID 957,
// 126 or 214 bytes) and packets of other APIDs.
#include <cstddef>
#include <cstdint>

#include "packets/nav_record.h"

namespace kova::generator {

class PseudoRandom;

inline constexpr std::size_t kMinimumPacketSize = 7;       // header and one data byte
inline constexpr std::size_t kMaximumPacketSize = 32773;   // length field 32766
inline constexpr int kIdleApid = 0x7FF;

// The time tag and the 13 values of one navigation packet.
struct NavSample {
    std::uint32_t seconds = 0;     // TAI seconds since 1958-01-01
    std::uint16_t subseconds = 0;  // units of 1.52e-05 s
    NavValues values{};
};

// Writes the six header bytes: version, packet type 0 with the secondary-header flag set,
// the 11-bit APID, sequence flags "unsegmented", the 14-bit sequence count and the length
// field. Only the low bits of each field are kept.
void writePrimaryHeader(std::uint8_t* header6, int apid, int sequenceCount, std::uint16_t lengthField,
                        int version = 0);

// The length field of a packet of `totalSize` bytes (7 to 32773): totalSize - 7.
std::uint16_t lengthFieldFor(std::size_t totalSize);

// A navigation packet of `packetSize` bytes (at least 86): header, time tag, 10 Real48 and
// 3 Real32 values; the bytes not read by kova are zero.
void writeNavigationPacket(std::uint8_t* packet, std::size_t packetSize, int sequenceCount,
                           const NavSample& sample);

// A packet of another APID, `totalSize` bytes, its data bytes drawn from `random`.
void writeOtherPacket(std::uint8_t* packet, std::size_t totalSize, int apid, int sequenceCount,
                      PseudoRandom& random);

}  // namespace kova::generator
