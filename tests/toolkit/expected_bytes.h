#pragma once
// Expected block bytes for the toolkit tests. Fields are put most significant byte first
// here by hand, independently of the codec the blocks use.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/storebase.h"

namespace kova::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(const storebase& block) { return Bytes(block.data(), block.data() + block.size()); }

inline void putU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int n = 0; n < 4; ++n) bytes[offset + n] = static_cast<std::uint8_t>(value >> (24 - 8 * n));
}
inline void putF64(Bytes& bytes, std::size_t offset, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int n = 0; n < 8; ++n) bytes[offset + n] = static_cast<std::uint8_t>(bits >> (56 - 8 * n));
}
inline void putText(Bytes& bytes, std::size_t offset, const std::string& text) {
    std::memcpy(bytes.data() + offset, text.data(), text.size());
}

}  // namespace kova::test
