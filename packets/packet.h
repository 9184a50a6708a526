#pragma once
// Raw bytes of one telemetry packet, header included, with the primary-header fields
// computed from the buffer on each call.
#include <cstdint>
#include <iosfwd>

#include "core/storebase.h"
#include "packets/packet_input.h"
#include "packets/packet_layout.h"

namespace kova {

class Packet : public storebase {
public:
    explicit Packet(std::uint32_t size) : storebase(size) {}
    // One unformatted read of exactly size() bytes from the current position. A read that
    // meets the end of the file stores the bytes that were there at the start of the
    // buffer; the rest keeps what it held.
    virtual void readFrom(PacketInput& input) { input.read(data(), size()); }

    // The header fields; a buffer shorter than the header reads its missing bytes as 0.
    // Inline: the indexing walk reads them for every packet of the file.
    int version() const { return headerByte(0) >> primary_header::kVersionShift; }  // top three bits of byte 0
    int apid() const {  // 11 bits
        return (headerByte(0) & primary_header::kApidHighMask) * 256 + headerByte(primary_header::kApidLow);
    }
    int sequenceCount() const {  // 14 bits
        return (headerByte(primary_header::kSequence) & primary_header::kSequenceHighMask) * 256 +
               headerByte(primary_header::kSequence + 1);
    }
    std::int16_t packetSize() const {  // length field + 1, as a signed 16-bit value
        const int lengthField =
            headerByte(primary_header::kLength) * 256 + headerByte(primary_header::kLength + 1);
        // A length field of 32767 or more wraps to a size below 1 (65535 gives 0).
        return static_cast<std::int16_t>(lengthField + 1);
    }

private:
    std::uint8_t headerByte(std::uint32_t offset) const {
        return offset < size() ? data()[offset] : std::uint8_t{0};
    }
};

// "\npacket_ver. = " ... "\npacket_size = " in decimal (the stream stays decimal);
// no end of line after the last.
std::ostream& printPacketHeader(std::ostream& out, const Packet& packet);

}  // namespace kova
