#pragma once
// Little-endian field codecs of the binary SPICE kernels. Those files are written least
// significant byte first on every host (their file record says so), so each number is stored
// through these routines, never as a copy of a struct in memory.
#include <bit>
#include <cstdint>
#include <cstring>

namespace kova::le {

namespace detail {
inline std::uint32_t toLittleEndian(std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) return __builtin_bswap32(v);
    return v;
}
inline std::uint64_t toLittleEndian(std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::big) return __builtin_bswap64(v);
    return v;
}
}  // namespace detail

inline void storeU32(std::uint8_t* p, std::uint32_t v) {
    v = detail::toLittleEndian(v);
    std::memcpy(p, &v, sizeof v);
}
inline void storeU64(std::uint8_t* p, std::uint64_t v) {
    v = detail::toLittleEndian(v);
    std::memcpy(p, &v, sizeof v);
}
inline void storeI32(std::uint8_t* p, std::int32_t v) { storeU32(p, static_cast<std::uint32_t>(v)); }
inline void storeF64(std::uint8_t* p, double v) { storeU64(p, std::bit_cast<std::uint64_t>(v)); }

inline std::uint32_t loadU32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return detail::toLittleEndian(v);  // the reversal is its own inverse
}
inline std::uint64_t loadU64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return detail::toLittleEndian(v);
}
inline std::int32_t loadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(loadU32(p)); }
inline double loadF64(const std::uint8_t* p) { return std::bit_cast<double>(loadU64(p)); }

}  // namespace kova::le
