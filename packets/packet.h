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
    // One unformatted read of exactly size() bytes from the current position. A read that
    // meets the end of the file stores the bytes that were there at the start of the
    // buffer; the rest keeps what it held.
    virtual void readFrom(PacketInput& input);

    // The header fields; a buffer shorter than the header reads its missing bytes as 0.
    int version() const;            // top three bits of byte 0
    int apid() const;               // 11 bits
    int sequenceCount() const;      // 14 bits
    std::int16_t packetSize() const;  // length field + 1, as a signed 16-bit value

private:
    std::uint8_t headerByte(std::uint32_t offset) const {
        return offset < size() ? data()[offset] : std::uint8_t{0};
    }
};

// "\npacket_ver. = " ... "\npacket_size = " in decimal (the stream stays decimal);
// no end of line after the last.
std::ostream& printPacketHeader(std::ostream& out, const Packet& packet);

}  // namespace kova
