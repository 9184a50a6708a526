#pragma once
// File offsets of the indexed packets, kept in fixed blocks of 65536 offsets. The index of
// a year of one-second navigation packets holds 31.5 million offsets; held in one growing
// array it would pass through copies of up to three times its size while it grows, in
// blocks it never copies and never holds more than one partly used block. Offsets are 64-bit:
// packet files may exceed 4 GiB.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kova {

class PacketOffsetIndex {
public:
    static constexpr unsigned kBlockShift = 16;
    static constexpr std::size_t kBlockLength = std::size_t{1} << kBlockShift;  // 512 KiB of offsets

    void push_back(std::uint64_t offset) {
        const std::size_t within = size_ & (kBlockLength - 1);
        if (within == 0) addBlock();
        blocks_.back()[within] = offset;
        ++size_;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Offset `index` (< size()).
    std::uint64_t operator[](std::size_t index) const {
        return blocks_[index >> kBlockShift][index & (kBlockLength - 1)];
    }

private:
    void addBlock();

    std::vector<std::unique_ptr<std::uint64_t[]>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace kova
