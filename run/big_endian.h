#pragma once
// Big-endian field codecs. Every number in the packet file and in the toolkit files is
// stored most significant byte first; these are the only routines that know the byte order.
#include <bit>
#include <cstdint>

namespace kova::be {

inline std::uint16_t loadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t loadU32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
           (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}
inline std::uint64_t loadU64(const std::uint8_t* p) {
    return (std::uint64_t{loadU32(p)} << 32) | loadU32(p + 4);
}
inline std::int32_t loadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(loadU32(p)); }
inline float loadF32(const std::uint8_t* p) { return std::bit_cast<float>(loadU32(p)); }
inline double loadF64(const std::uint8_t* p) { return std::bit_cast<double>(loadU64(p)); }

inline void storeU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
inline void storeU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}
inline void storeU64(std::uint8_t* p, std::uint64_t v) {
    storeU32(p, static_cast<std::uint32_t>(v >> 32));
    storeU32(p + 4, static_cast<std::uint32_t>(v));
}
inline void storeI32(std::uint8_t* p, std::int32_t v) { storeU32(p, static_cast<std::uint32_t>(v)); }
inline void storeF32(std::uint8_t* p, float v) { storeU32(p, std::bit_cast<std::uint32_t>(v)); }
inline void storeF64(std::uint8_t* p, double v) { storeU64(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace kova::be
