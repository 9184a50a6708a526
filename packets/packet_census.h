#pragma once
// A walk over every packet of the packet file, whatever its APID: how many packets of each
// APID and how long they are, where the 14-bit sequence count of an APID does not follow on
// from its previous packet, and where and why the walk stopped. It reads the headers the way
// the indexing walk of PacketFile does, through PacketInput and skipping the data, so it
// costs about as much.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packets/packet_input.h"
#include "packets/packet_layout.h"

namespace kova {

// A place where an APID's sequence count does not follow on from the APID's previous packet.
struct SequenceBreak {
    std::uint64_t offset = 0;  // file offset of the packet [bytes]
    int expected = 0;          // previous count + 1, modulo 16384
    int found = 0;             // the count the packet carries

    bool operator==(const SequenceBreak&) const = default;
};

// The packets of one APID.
struct ApidCensus {
    // Breaks kept with their file offsets; the count goes on beyond them.
    static constexpr std::size_t kListedBreaks = 5;

    int apid = 0;
    std::uint64_t packets = 0;
    std::uint64_t bytes = 0;            // primary headers included
    std::uint32_t shortestPacket = 0;   // total length in bytes, header included
    std::uint32_t longestPacket = 0;
    std::uint64_t sequenceBreaks = 0;
    std::vector<SequenceBreak> firstBreaks;  // the first kListedBreaks, in file order
    // Packets whose length is not the one expected of the APID (see ExpectedPacketLength).
    std::uint64_t wrongLength = 0;
    std::uint64_t firstWrongLengthOffset = 0;
    int lastSequenceCount = 0;
};

// The one length every packet of `apid` should have (the navigation packets' 126 or 214
// bytes); the census counts the packets of that APID that have another.
struct ExpectedPacketLength {
    int apid = -1;  // none
    std::uint32_t length = 0;
};

// Why the walk stopped.
enum class CensusEnd {
    kEndOfFile,        // the last packet ends exactly at the end of the file
    kPartialHeader,    // 1 to 5 bytes follow the last packet: not a whole header
    kTruncatedPacket,  // the last packet's data runs past the end of the file
    kInvalidHeader,    // version not 0, or a length field of 32767 or more
    kReadError,        // the file could not be read (or opened)
};

class PacketCensus {
public:
    // No file walked: no packets, a clean end.
    PacketCensus() = default;
    // Walks `fileName` (opened as PacketFile opens it) from offset 0 to where the walk stops.
    explicit PacketCensus(const std::string& fileName, ExpectedPacketLength expected = {},
                          std::size_t bufferSize = PacketInput::kDefaultBufferSize);

    CensusEnd end() const { return end_; }
    // Bytes in the file, as the walk found them at its end (0 when it could not be opened).
    std::uint64_t fileSize() const { return fileSize_; }
    // Every packet whose header was read whole and valid, the truncated last one included.
    std::uint64_t packetCount() const { return packetCount_; }
    // The APIDs met, in increasing order.
    const std::vector<ApidCensus>& apids() const { return apids_; }
    // The census of `apid`, or nullptr when the file holds none.
    const ApidCensus* find(int apid) const;

    // Where the walk stopped: the file offset of the partial header, the truncated packet or
    // the invalid header (the file size after a clean end).
    std::uint64_t endOffset() const { return endOffset_; }
    // Bytes the truncated last packet lacks (kTruncatedPacket).
    std::uint64_t missingBytes() const { return missingBytes_; }
    // Bytes of the partial header at the end (kPartialHeader).
    std::uint64_t partialHeaderBytes() const { return partialHeaderBytes_; }
    // The fields of the invalid header (kInvalidHeader only).
    int invalidVersion() const { return invalidVersion_; }
    int invalidLengthField() const { return invalidLengthField_; }

private:
    void walk(PacketInput& input);
    void count(int apid, int sequenceCount, std::uint32_t totalLength, std::uint64_t offset);

    ExpectedPacketLength expected_;
    CensusEnd end_ = CensusEnd::kEndOfFile;
    std::uint64_t fileSize_ = 0;
    std::uint64_t packetCount_ = 0;
    std::vector<ApidCensus> apids_;
    // APID -> position in apids_ + 1 while walking (0: not met yet).
    std::array<std::uint16_t, primary_header::kApidLimit> slotOfApid_{};
    std::uint64_t endOffset_ = 0;
    std::uint64_t missingBytes_ = 0;
    std::uint64_t partialHeaderBytes_ = 0;
    int invalidVersion_ = 0;
    int invalidLengthField_ = 0;
};

}  // namespace kova
