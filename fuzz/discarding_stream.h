#pragma once
// An output stream that counts and drops what is written to it: the dumps, listings and
// diagnostic prints of a fuzz input go here, so formatting runs in full but nothing piles up.
#include <cstddef>
#include <ostream>
#include <streambuf>

namespace kova::fuzz {

class CountingDiscardBuffer : public std::streambuf {
public:
    std::size_t count() const { return count_; }

protected:
    int_type overflow(int_type character) override {
        if (!traits_type::eq_int_type(character, traits_type::eof())) ++count_;
        return traits_type::not_eof(character);
    }
    std::streamsize xsputn(const char*, std::streamsize length) override {
        count_ += static_cast<std::size_t>(length);
        return length;
    }

private:
    std::size_t count_ = 0;
};

// The buffer is a base ahead of std::ostream, so it exists before the stream is built on it.
struct CountingDiscardBufferHolder {
    CountingDiscardBuffer buffer;
};

class DiscardingStream : private CountingDiscardBufferHolder, public std::ostream {
public:
    DiscardingStream() : CountingDiscardBufferHolder(), std::ostream(&buffer) {}
    // Characters written so far.
    std::size_t count() const { return buffer.count(); }
};

}  // namespace kova::fuzz
