#include "tools/block_reads.h"

#include <istream>

#include "core/storebase.h"
#include "toolkit/layout.h"

namespace kova {

void readBlock(std::istream& input, storebase& block) {
    input.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
}

std::int64_t inputPosition(std::istream& input) {
    return static_cast<std::int64_t>(static_cast<std::streamoff>(input.tellg()));
}

void skipUniversalReferences(std::istream& input, std::uint32_t count) {
    if (input.fail()) return;
    const std::uint64_t distance = std::uint64_t{count} * kUniversalRefSize;
    input.seekg(static_cast<std::streamoff>(distance), std::ios::cur);
}

}  // namespace kova
