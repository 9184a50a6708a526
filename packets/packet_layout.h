#pragma once
// Byte layouts of the packet file: the six-byte primary header of every packet and the
// content of a navigation packet (APID 957). All multi-byte fields are big-endian.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kova {

// Navigation packets carry the on-board navigation solution.
inline constexpr int kNavApid = 957;
inline constexpr std::uint32_t kNavPacketSize = 126;      // length field 119
inline constexpr std::uint32_t kWideNavPacketSize = 214;  // length field 207
// The one spacecraft whose navigation packets are the wide ones, by its NORAD name.
inline constexpr std::string_view kWidePacketSatName = "SELA";

// Length of a navigation packet of the spacecraft searched under `noradSatName` in the
// norad file: 214 bytes for exactly "SELA", 126 for every other name.
inline constexpr std::uint32_t navPacketSizeFor(std::string_view noradSatName) {
    return noradSatName == kWidePacketSatName ? kWideNavPacketSize : kNavPacketSize;
}

// Primary header (bytes 0 to 5 of every packet).
namespace primary_header {
inline constexpr std::size_t kSize = 6;
inline constexpr unsigned kVersionShift = 5;          // byte 0, bits 7-5
inline constexpr std::uint8_t kTypeAndFlagMask = 0x18;  // byte 0, bits 4-3 (not read)
inline constexpr std::uint8_t kApidHighMask = 0x07;   // byte 0, bits 2-0: APID bits 10-8
inline constexpr std::size_t kApidLow = 1;            // byte 1: APID bits 7-0
inline constexpr std::size_t kSequence = 2;           // bytes 2-3
inline constexpr unsigned kSequenceFlagsShift = 6;    // byte 2, bits 7-6 (not read)
inline constexpr std::uint8_t kSequenceHighMask = 0x3F;
inline constexpr std::size_t kLength = 4;             // bytes 4-5: bytes after the header - 1
inline constexpr int kApidLimit = 2048;               // 11 bits
inline constexpr int kSequenceLimit = 16384;          // 14 bits
}  // namespace primary_header

// Navigation packet content (offsets from the first byte of the packet).
namespace nav_packet {
inline constexpr std::size_t kTimeTagSeconds = 8;     // uint32, TAI seconds since 1958
inline constexpr std::size_t kTimeTagSubseconds = 12; // uint16, units of 1.52e-05 s
inline constexpr std::size_t kFirstReal48 = 14;       // position, velocity, quaternion
inline constexpr std::size_t kReal48Size = 6;
inline constexpr std::size_t kReal48Count = 10;
inline constexpr std::size_t kFirstReal32 = 74;       // three attitude rates
inline constexpr std::size_t kReal32Size = 4;
inline constexpr std::size_t kReal32Count = 3;
inline constexpr std::size_t kDecodedEnd = 86;        // first byte that is not decoded
}  // namespace nav_packet

}  // namespace kova
