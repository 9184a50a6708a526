#pragma once
// Raw bytes of one telemetry packet, header included, with the primary-header fields
// computed from the buffer on each call.
#include <cstdint>
#include <iosfwd>

#include "run/storebase.h"

namespace kova {

class PacketInput;  // buffered binary input of the packet file (packets/packet_input.h)

class Packet : public storebase {
public:
    explicit Packet(std::uint32_t size) : storebase(size) {}
    // One unformatted read of exactly size() bytes from the current position.
    virtual void readFrom(PacketInput& input);

    int version() const;            // top three bits of byte 0
    int apid() const;               // 11 bits
    int sequenceCount() const;      // 14 bits
    std::int16_t packetSize() const;  // length field + 1, as a signed 16-bit value
};

// "\npacket_ver. = " ... "\npacket_size = " in decimal; no end of line after the last.
std::ostream& printPacketHeader(std::ostream& out, const Packet& packet);

}  // namespace kova
