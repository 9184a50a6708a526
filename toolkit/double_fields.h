#pragma once
// The double fields of the toolkit blocks: big-endian, and every NaN stored as the one quiet
// NaN, so a file holds the same bytes whatever build computed its values.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/big_endian.h"
#include "core/canonical_nan.h"

namespace kova {

inline void storeDoubleField(std::uint8_t* field, double value) { be::storeF64(field, withCanonicalNan(value)); }

// Three consecutive doubles.
inline void storeVector3(std::uint8_t* field, const std::array<double, 3>& values) {
    for (std::size_t n = 0; n < values.size(); ++n) storeDoubleField(field + n * sizeof(double), values[n]);
}

inline std::array<double, 3> loadVector3(const std::uint8_t* field) {
    return {be::loadF64(field), be::loadF64(field + sizeof(double)), be::loadF64(field + 2 * sizeof(double))};
}

}  // namespace kova
