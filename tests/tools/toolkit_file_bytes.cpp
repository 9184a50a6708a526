#include "tests/tools/toolkit_file_bytes.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kova::test {

namespace {
void putBigEndian(std::string& bytes, std::size_t offset, std::uint64_t value, std::size_t size) {
    if (bytes.size() < offset + size) bytes.resize(offset + size, '\0');
    for (std::size_t index = 0; index < size; ++index)
        bytes[offset + index] = static_cast<char>((value >> (8 * (size - 1 - index))) & 0xFFu);
}
}  // namespace

void ToolkitFileBytes::putText(std::size_t offset, std::string_view text) {
    if (bytes_.size() < offset + text.size()) bytes_.resize(offset + text.size(), '\0');
    bytes_.replace(offset, text.size(), text.data(), text.size());
}

void ToolkitFileBytes::putU32(std::size_t offset, std::uint32_t value) {
    putBigEndian(bytes_, offset, value, 4);
}

void ToolkitFileBytes::putF32(std::size_t offset, float value) {
    putBigEndian(bytes_, offset, std::bit_cast<std::uint32_t>(value), 4);
}

void ToolkitFileBytes::putF64(std::size_t offset, double value) {
    putBigEndian(bytes_, offset, std::bit_cast<std::uint64_t>(value), 8);
}

void ToolkitFileBytes::appendRecord(double tai93Seconds, const double (&first)[3],
                                    const double (&second)[3], std::uint32_t flagWord) {
    const std::size_t start = bytes_.size();
    bytes_.append(64, '\0');
    putF64(start, tai93Seconds);
    for (std::size_t index = 0; index < 3; ++index) {
        putF64(start + 8 + 8 * index, first[index]);
        putF64(start + 32 + 8 * index, second[index]);
    }
    putU32(start + 56, flagWord);
}

void ToolkitFileBytes::appendOrbitMetadata(std::uint32_t orbitNumber, double ascendingNodeTai93,
                                           double descendingNodeTai93,
                                           double descendingNodeLongitude) {
    const std::size_t start = bytes_.size();
    bytes_.append(32, '\0');
    putU32(start, orbitNumber);
    putF64(start + 8, ascendingNodeTai93);
    putF64(start + 16, descendingNodeTai93);
    putF64(start + 24, descendingNodeLongitude);
}

void ToolkitFileBytes::writeTo(const std::string& path, std::size_t length) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::size_t size = length < bytes_.size() ? length : bytes_.size();
    file.write(bytes_.data(), static_cast<std::streamsize>(size));
}

void ToolkitFileBytes::putKovaCommonHeader(std::uint32_t recordCount) {
    putText(kSpacecraft, "MARU");
    putText(kTimeRange, "2003-01-01T00:00:00Z to ");
    putText(kTimeRange + 25, "2003-01-01T00:00:09Z ");
    putText(kSource, "DB");
    putText(kVersion, "2.0");
    putF32(kInterval, 1.0f);
    putU32(kRecordCount, recordCount);
}

std::string kovaCommonHeaderDump(std::uint32_t recordCount) {
    return "\nSpacecraft = MARU\nSource     = DB\nVersion    = 2.0\nTime Range = 2003-01-01T00:00:00Z to "
           "\nInterval   = 1.000000\nNo. Records= " + std::to_string(recordCount) + "\nNo. U. Refs= 0";
}

std::string testFilePath(std::string_view suffix) {
    const std::filesystem::path directory =
        std::filesystem::path(KOVA_BINARY_DIR) / "tests" / "tools_test_files";
    std::filesystem::create_directories(directory);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return (directory / (name + "." + std::string(suffix))).string();
}

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace kova::test
