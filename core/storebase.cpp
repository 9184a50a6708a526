#include "core/storebase.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace kova {

storebase::storebase(std::uint32_t size) : buffer_(new std::uint8_t[size]()), size_(size) {}

storebase::storebase(const storebase& other)
    : buffer_(new std::uint8_t[other.size_]), size_(other.size_) {
    if (size_ != 0) std::memcpy(buffer_.get(), other.buffer_.get(), size_);
}

storebase& storebase::operator=(const storebase& other) {
    if (buffer_.get() == other.buffer_.get()) return *this;
    if (size_ != other.size_) {
        buffer_.reset(new std::uint8_t[other.size_]);
        size_ = other.size_;
    }
    if (size_ != 0) std::memcpy(buffer_.get(), other.buffer_.get(), size_);
    return *this;
}

storebase::~storebase() {
    if (useCount_ != 0) {
        std::cerr << "Program error: storebase use count = " << useCount_ << std::endl;
        std::exit(-1);
    }
}

}  // namespace kova
