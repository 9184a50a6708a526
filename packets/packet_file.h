#pragma once
// The packet file: telemetry packets back to back from offset 0, each with a six-byte
// primary header. The constructor walks the file once and indexes the file offsets of the
// packets of one APID; afterwards any indexed packet is read by seeking to its offset.
//
// The state of the file stream is part of the interface, as for a standard input stream:
// good; end of file together with failed; failed; bad.
#include <cstdint>
#include <string>
#include <string_view>

#include "packets/nav_record.h"
#include "packets/packet.h"
#include "packets/packet_input.h"
#include "packets/packet_layout.h"
#include "packets/packet_offset_index.h"

namespace kova {

class PacketFile {
public:
    // Opens `fileName` (as a C string) for binary input and indexes the packets whose APID
    // is `apid`. Never stops the run: an open failure leaves the stream failed, a read
    // error while indexing leaves it failed or bad, and an invalid primary header
    // (version not 0, or a length field of 32767 or more) leaves it bad. End of file,
    // including a partial header at the end, ends the walk with the stream good. The walk
    // remembers how far the file reached then (indexedLength()).
    PacketFile(const std::string& fileName, int apid,
               std::size_t bufferSize = PacketInput::kDefaultBufferSize);

    const std::string& fileName() const { return fileName_; }

    std::int32_t firstIndex() const { return 0; }
    // Number of indexed packets minus 1, or 0 when none is indexed.
    std::int32_t lastIndex() const;
    std::int32_t indexCount() const { return static_cast<std::int32_t>(offsets_.size()); }
    // File offset of indexed packet `index` (0 <= index < indexCount()).
    std::uint64_t offsetOf(std::int32_t index) const { return offsets_[static_cast<std::size_t>(index)]; }

    // Reads indexed packet `index` into `target` (for a NavRecord this also decodes).
    // Seeks only on a good stream; a read on a stream that is not good reads nothing.
    // The stream then tells the outcome: good; end of file and failed after a short read
    // at the end of the file or for an index outside the index (nothing read); bad when
    // the length field of what the target holds does not fit its buffer size.
    void readPacket(Packet& target, std::int32_t index) { readInto(target, index); }
    // The same for a navigation record, with its read and decode called directly: the
    // record stream reads every navigation packet of the file this way.
    void readPacket(NavRecord& target, std::int32_t index) { readInto(target, index); }
    // The index of the last readPacket, -1 before the first.
    std::int32_t currentIndex() const { return currentIndex_; }
    // Bytes of the file the indexing walk saw: every packet that ends there or before was
    // whole when it was indexed.
    std::uint64_t indexedLength() const { return indexedLength_; }
    // A read met the end of the file before the end of a packet that was whole when indexed.
    bool shrankSinceIndexing() const { return shrank_; }
    // Makes the stream good again after a walk that ended at the end of the indexed packets,
    // for another walk over the same index (a second pass over what the first one planned
    // from, without indexing the file again). False, with nothing changed, after a walk that
    // ended otherwise: a read error, a bad packet, a file that shrank.
    bool rewind();

    bool good() const { return input_.good(); }
    bool eof() const { return input_.eof(); }
    bool fail() const { return input_.fail(); }  // failed or bad, as for a standard stream
    bool bad() const { return input_.bad(); }
    std::ios_base::iostate rdstate() const { return input_.rdstate(); }

private:
    void buildIndex();
    // The length of the file at the end of the walk, whose last header read at `offset`
    // stored `stored` bytes before the end of the file; `lastHeader` is the offset of the
    // last whole header.
    std::uint64_t walkedLength(std::int64_t offset, std::int64_t stored, std::int64_t lastHeader);
    template <typename Target>
    void readInto(Target& target, std::int32_t index) {
        currentIndex_ = index;
        if (index >= 0 && static_cast<std::size_t>(index) < offsets_.size()) {
            const bool wasGood = input_.good();
            const std::uint64_t offset = offsets_[static_cast<std::size_t>(index)];
            if (wasGood) input_.seek(static_cast<std::int64_t>(offset));
            target.readFrom(input_);
            if (wasGood && input_.eof() && offset + target.size() <= indexedLength_) {
                input_.clear(std::ios_base::failbit | std::ios_base::badbit);
                shrank_ = true;
            }
            if (static_cast<std::int64_t>(target.packetSize()) + static_cast<std::int64_t>(primary_header::kSize) !=
                static_cast<std::int64_t>(target.size())) {
                input_.setstate(std::ios_base::badbit);
            }
            return;
        }
        input_.setstate(std::ios_base::eofbit | std::ios_base::failbit);
    }

    std::string fileName_;
    int apid_;
    PacketInput input_;
    PacketOffsetIndex offsets_;
    std::int32_t currentIndex_ = -1;
    std::uint64_t indexedLength_ = 0;
    bool shrank_ = false;
};

}  // namespace kova
