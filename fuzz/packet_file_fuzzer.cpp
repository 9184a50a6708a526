// libFuzzer target: the packet file walk, packet reads and decoding, the record stream and orbit pass.
#include <cstddef>
#include <cstdint>

#include "fuzz/packet_file_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kova::fuzz::fuzzPacketFile(data, size);
}
