#pragma once
// Big-endian field codecs. Every number in the packet file and in the toolkit files is
// stored most significant byte first; these are the only routines that know the byte order.
// Each field is moved as one unaligned word and its bytes reversed in a register (on a
// little-endian host), so a record of a dozen fields costs a dozen loads or stores.
#include <bit>
#include <cstdint>
#include <cstring>

namespace kova::be {

namespace detail {
inline std::uint16_t fromBigEndian(std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap16(v);
    return v;
}
inline std::uint32_t fromBigEndian(std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap32(v);
    return v;
}
inline std::uint64_t fromBigEndian(std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(v);
    return v;
}
template <typename Word>
inline Word loadWord(const std::uint8_t* p) {
    Word v;
    std::memcpy(&v, p, sizeof v);
    return fromBigEndian(v);
}
template <typename Word>
inline void storeWord(std::uint8_t* p, Word v) {
    v = fromBigEndian(v);  // the reversal is its own inverse
    std::memcpy(p, &v, sizeof v);
}
}  // namespace detail

inline std::uint16_t loadU16(const std::uint8_t* p) { return detail::loadWord<std::uint16_t>(p); }
inline std::uint32_t loadU32(const std::uint8_t* p) { return detail::loadWord<std::uint32_t>(p); }
inline std::uint64_t loadU64(const std::uint8_t* p) { return detail::loadWord<std::uint64_t>(p); }
inline std::int32_t loadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(loadU32(p)); }
inline float loadF32(const std::uint8_t* p) { return std::bit_cast<float>(loadU32(p)); }
inline double loadF64(const std::uint8_t* p) { return std::bit_cast<double>(loadU64(p)); }

inline void storeU16(std::uint8_t* p, std::uint16_t v) { detail::storeWord(p, v); }
inline void storeU32(std::uint8_t* p, std::uint32_t v) { detail::storeWord(p, v); }
inline void storeU64(std::uint8_t* p, std::uint64_t v) { detail::storeWord(p, v); }
inline void storeI32(std::uint8_t* p, std::int32_t v) { storeU32(p, static_cast<std::uint32_t>(v)); }
inline void storeF32(std::uint8_t* p, float v) { storeU32(p, std::bit_cast<std::uint32_t>(v)); }
inline void storeF64(std::uint8_t* p, double v) { storeU64(p, std::bit_cast<std::uint64_t>(v)); }

}  // namespace kova::be
