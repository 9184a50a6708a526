#include "packets/packet_offset_index.h"

namespace kova {

void PacketOffsetIndex::addBlock() {
    // Left uninitialised: the memory of a block becomes resident only as offsets fill it.
    blocks_.emplace_back(new std::uint64_t[kBlockLength]);
}

}  // namespace kova
