#pragma once
// Fixed-width text fields of the toolkit blocks: a value is copied up to the field width,
// unused bytes are zero, and a value that fills the field has no terminating zero.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kova {

// Clears the field, then copies min(text length, width) bytes of `text` to its start.
inline void putTextField(std::uint8_t* field, std::size_t width, std::string_view text) {
    std::memset(field, 0, width);
    if (!text.empty()) std::memcpy(field, text.data(), std::min(text.size(), width));
}

// The field's text up to, not including, its first zero byte; all of it when it has none.
inline std::string_view textField(const std::uint8_t* field, std::size_t width) {
    const auto* begin = reinterpret_cast<const char*>(field);
    return std::string_view(begin, static_cast<std::size_t>(std::find(begin, begin + width, '\0') - begin));
}

}  // namespace kova
