#include "generator/packet_builder.h"

#include <cstring>
#include <stdexcept>

#include "core/big_endian.h"
#include "generator/pseudo_random.h"
#include "generator/real_encoding.h"
#include "packets/packet_layout.h"

namespace kova::generator {

namespace {
constexpr std::uint8_t kSecondaryHeaderFlag = 0x08;
constexpr std::uint8_t kUnsegmented = 0x3;
}  // namespace

void writePrimaryHeader(std::uint8_t* header6, int apid, int sequenceCount, std::uint16_t lengthField,
                        int version) {
    const unsigned id = static_cast<unsigned>(apid) & (primary_header::kApidLimit - 1);
    const unsigned sequence = static_cast<unsigned>(sequenceCount) & (primary_header::kSequenceLimit - 1);
    header6[0] = static_cast<std::uint8_t>(((static_cast<unsigned>(version) & 0x7) << primary_header::kVersionShift) |
                                           kSecondaryHeaderFlag | (id >> 8));
    header6[1] = static_cast<std::uint8_t>(id & 0xFF);
    header6[2] = static_cast<std::uint8_t>((kUnsegmented << primary_header::kSequenceFlagsShift) | (sequence >> 8));
    header6[3] = static_cast<std::uint8_t>(sequence & 0xFF);
    be::storeU16(header6 + primary_header::kLength, lengthField);
}

std::uint16_t lengthFieldFor(std::size_t totalSize) {
    if (totalSize < kMinimumPacketSize || totalSize > kMaximumPacketSize) {
        throw std::invalid_argument("packet size outside 7 to 32773 bytes");
    }
    return static_cast<std::uint16_t>(totalSize - kMinimumPacketSize);
}

void writeNavigationPacket(std::uint8_t* packet, std::size_t packetSize, int sequenceCount,
                           const NavSample& sample) {
    if (packetSize < nav_packet::kDecodedEnd) throw std::invalid_argument("navigation packet too short");
    std::memset(packet, 0, packetSize);
    writePrimaryHeader(packet, kNavApid, sequenceCount, lengthFieldFor(packetSize));
    be::storeU32(packet + nav_packet::kTimeTagSeconds, sample.seconds);
    be::storeU16(packet + nav_packet::kTimeTagSubseconds, sample.subseconds);
    for (std::size_t i = 0; i < nav_packet::kReal48Count; ++i) {
        encodeReal48(sample.values[i], packet + nav_packet::kFirstReal48 + nav_packet::kReal48Size * i);
    }
    for (std::size_t i = 0; i < nav_packet::kReal32Count; ++i) {
        encodeReal32(sample.values[nav_packet::kReal48Count + i],
                     packet + nav_packet::kFirstReal32 + nav_packet::kReal32Size * i);
    }
}

void writeOtherPacket(std::uint8_t* packet, std::size_t totalSize, int apid, int sequenceCount,
                      PseudoRandom& random) {
    writePrimaryHeader(packet, apid, sequenceCount, lengthFieldFor(totalSize));
    std::size_t i = primary_header::kSize;
    while (i < totalSize) {
        std::uint64_t word = random.nextWord();
        for (int b = 0; b < 8 && i < totalSize; ++b, ++i) {
            packet[i] = static_cast<std::uint8_t>(word);
            word >>= 8;
        }
    }
}

}  // namespace kova::generator
