#include "packets/packet.h"

#include <ostream>

namespace kova {

std::ostream& printPacketHeader(std::ostream& out, const Packet& packet) {
    out << std::dec;
    out << "\npacket_ver. = " << static_cast<std::int16_t>(packet.version());
    out << "\npacket_APID = " << static_cast<std::int16_t>(packet.apid());
    out << "\npacket_seq. = " << static_cast<std::int16_t>(packet.sequenceCount());
    out << "\npacket_size = " << packet.packetSize();
    return out;
}

}  // namespace kova
