#include "packets/packet_file.h"

#include <limits>

#include "packets/packet.h"
#include "packets/packet_layout.h"

namespace kova {

PacketFile::PacketFile(const std::string& fileName, int apid, std::size_t bufferSize)
    : fileName_(fileName), apid_(apid), input_(fileName.c_str(), bufferSize) {
    if (input_.fail()) return;  // not openable: no index
    buildIndex();
}

void PacketFile::buildIndex() {
    Packet header(primary_header::kSize);
    std::int64_t lastHeader = 0;
    for (;;) {
        const std::int64_t offset = input_.tell();
        // The read of header.readFrom, with the header's fixed size known here.
        input_.read(header.data(), primary_header::kSize);
        if (input_.fail()) {
            // The end of the file, even in the middle of a header, ends the walk normally;
            // any other read failure leaves the stream failed.
            if (input_.eof()) {
                input_.clear();
                indexedLength_ = walkedLength(offset, input_.gcount(), lastHeader);
            }
            return;
        }
        lastHeader = offset;
        // The next header follows the data; the move comes before the validity test.
        input_.seekRelative(header.packetSize());
        if (header.version() != 0 || header.packetSize() < 1) {
            input_.setstate(std::ios_base::badbit);
            return;
        }
        if (header.apid() == apid_) {
            // The index counts with 32-bit numbers; a file with more selected packets than
            // that cannot be read in full, so it is refused like an unreadable one.
            if (offsets_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
                input_.setstate(std::ios_base::badbit);
                return;
            }
            offsets_.push_back(static_cast<std::uint64_t>(offset));
        }
    }
}

std::uint64_t PacketFile::walkedLength(std::int64_t offset, std::int64_t stored, std::int64_t lastHeader) {
    if (stored > 0) return static_cast<std::uint64_t>(offset + stored);
    if (offset == 0) return 0;
    // Nothing at `offset`: the file ends there, just after the last packet, or that
    // packet's data already ran past its end. One byte before `offset` tells which.
    std::uint8_t byte = 0;
    input_.seek(offset - 1);
    input_.read(&byte, 1);
    const bool wholeLastPacket = input_.good();
    input_.clear();
    if (wholeLastPacket) return static_cast<std::uint64_t>(offset);
    return static_cast<std::uint64_t>(lastHeader) + primary_header::kSize;
}

bool PacketFile::rewind() {
    if (!eof() || bad() || shrank_) return false;
    input_.clear();
    currentIndex_ = -1;
    return true;
}

std::int32_t PacketFile::lastIndex() const {
    return offsets_.empty() ? 0 : static_cast<std::int32_t>(offsets_.size() - 1);
}

}  // namespace kova
