#include "packets/packet.h"

#include <ostream>

#include "packets/packet_input.h"
#include "packets/packet_layout.h"

namespace kova {

void Packet::readFrom(PacketInput& input) { input.read(data(), size()); }

int Packet::version() const { return headerByte(0) >> primary_header::kVersionShift; }

int Packet::apid() const {
    return (headerByte(0) & primary_header::kApidHighMask) * 256 + headerByte(primary_header::kApidLow);
}

int Packet::sequenceCount() const {
    return (headerByte(primary_header::kSequence) & primary_header::kSequenceHighMask) * 256 +
           headerByte(primary_header::kSequence + 1);
}

std::int16_t Packet::packetSize() const {
    const int lengthField =
        headerByte(primary_header::kLength) * 256 + headerByte(primary_header::kLength + 1);
    // A length field of 32767 or more wraps to a size below 1 (65535 gives 0).
    return static_cast<std::int16_t>(lengthField + 1);
}

std::ostream& printPacketHeader(std::ostream& out, const Packet& packet) {
    out << std::dec;
    out << "\npacket_ver. = " << static_cast<std::int16_t>(packet.version());
    out << "\npacket_APID = " << static_cast<std::int16_t>(packet.apid());
    out << "\npacket_seq. = " << static_cast<std::int16_t>(packet.sequenceCount());
    out << "\npacket_size = " << packet.packetSize();
    return out;
}

}  // namespace kova
