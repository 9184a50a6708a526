#pragma once
// Fixed-size, zero-filled byte block with a use count: the base of every packet buffer,
// navigation record and toolkit header or record block. The use count is not ownership:
// it guards against destroying a header block while a file writer still refers to it.
#include <cstdint>
#include <memory>

namespace kova {

class storebase {
public:
    explicit storebase(std::uint32_t size);
    storebase(const storebase& other);             // copies the bytes; use count 0
    storebase& operator=(const storebase& other);  // copies size and bytes; use count kept
    // Destroying a block that is still referred to is a program error: the message
    // "Program error: storebase use count = N" goes to the error stream and the process
    // exits with status -1.
    virtual ~storebase();

    std::uint8_t* data() { return buffer_.get(); }
    const std::uint8_t* data() const { return buffer_.get(); }
    std::uint32_t size() const { return size_; }

    void addRef() { ++useCount_; }
    void release() { --useCount_; }
    std::int32_t useCount() const { return useCount_; }

private:
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::uint32_t size_;
    std::int32_t useCount_ = 0;
};

}  // namespace kova
