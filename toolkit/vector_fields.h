#pragma once
// Three consecutive big-endian doubles of a record block.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/big_endian.h"

namespace kova {

inline void storeVector3(std::uint8_t* field, const std::array<double, 3>& values) {
    for (std::size_t n = 0; n < values.size(); ++n) be::storeF64(field + n * sizeof(double), values[n]);
}

inline std::array<double, 3> loadVector3(const std::uint8_t* field) {
    return {be::loadF64(field), be::loadF64(field + sizeof(double)), be::loadF64(field + 2 * sizeof(double))};
}

}  // namespace kova
