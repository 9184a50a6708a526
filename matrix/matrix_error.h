#pragma once
// The one failure of the matrix library: a shape or index that does not fit. It carries a
// fixed message and four numbers whose meaning depends on the message (shapes, indexes,
// sizes). Nothing in kova catches it; an uncaught one ends the process.
#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace kova {

// The messages, byte for byte, and what the four values hold.
namespace matrix_error {
inline constexpr const char* kConstructor = "matrix constructor";            // rows, cols, 1, 1
inline constexpr const char* kZeroIndex = "zero index";                      // i, j, 1, 1
inline constexpr const char* kIndex = "Matrix index \"()\"";                 // rows, cols, i, j
inline constexpr const char* kArraySize = "getarray";                        // rows, cols, size, 0
inline constexpr const char* kMultiply = "Matrix multiply \"*\"";            // a rows, a cols, b rows, b cols
inline constexpr const char* kSubConstructor = "subarray constructor";       // rows, cols, firstRow, firstCol
inline constexpr const char* kSubAssignment = "subarray assignment";         // target rows, target cols, source rows, source cols
}  // namespace matrix_error

class MatrixError : public std::exception {
public:
    MatrixError(std::string message, std::uint32_t value1, std::uint32_t value2,
                std::uint32_t value3, std::uint32_t value4)
        : message_(std::move(message)), values_{value1, value2, value3, value4} {}

    const std::string& message() const { return message_; }
    const std::array<std::uint32_t, 4>& values() const { return values_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    std::array<std::uint32_t, 4> values_;
};

}  // namespace kova
