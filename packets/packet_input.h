#pragma once
// Buffered binary input of the packet file with the observable behaviour of a binary
// std::ifstream: the same four states (good; end of file together with failed; failed;
// bad), the same effect of every read, seek and tell on them, and the same bytes.
//
// The file is read through one large buffer (1 MiB by default) in sequential chunks, so
// reading and seeking packet by packet costs no system call as long as the positions stay
// inside the buffered window; a seek outside it costs one repositioning at the next read.
// All offsets are 64-bit.
#include <cstdint>
#include <fstream>
#include <ios>
#include <memory>

namespace kova {

class PacketInput {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

    // Opens `fileName` for binary input; a failed open leaves the stream failed.
    explicit PacketInput(const char* fileName, std::size_t bufferSize = kDefaultBufferSize);
    PacketInput(const PacketInput&) = delete;
    PacketInput& operator=(const PacketInput&) = delete;

    bool isOpen() const { return file_.is_open(); }

    std::ios_base::iostate rdstate() const { return state_; }
    bool good() const { return state_ == std::ios_base::goodbit; }
    bool eof() const { return (state_ & std::ios_base::eofbit) != 0; }
    // As for a standard stream: true when failed or bad.
    bool fail() const { return (state_ & (std::ios_base::failbit | std::ios_base::badbit)) != 0; }
    bool bad() const { return (state_ & std::ios_base::badbit) != 0; }
    void clear(std::ios_base::iostate state = std::ios_base::goodbit) { state_ = state; }
    void setstate(std::ios_base::iostate state) { state_ |= state; }

    // Unformatted read of `count` bytes into `destination`. On a stream that is not good
    // nothing is read and the stream becomes failed. When the file ends first, the bytes
    // that were there are stored at the start of `destination` and the stream becomes
    // end of file and failed. A read error makes the stream bad.
    void read(std::uint8_t* destination, std::int64_t count);
    // Bytes stored by the last read.
    std::int64_t gcount() const { return gcount_; }

    // Seeks first clear end of file; on a stream that is still not good they do nothing
    // but set failed. A target before the start of the file fails; one past its end is
    // allowed (the next read then meets end of file).
    void seek(std::int64_t position);
    void seekRelative(std::int64_t offset);
    // The read position, or -1 (and failed) on a stream that is not good.
    std::int64_t tell();

private:
    bool windowHolds(std::int64_t position) const {
        return position >= windowStart_ && position < windowStart_ + windowLength_;
    }
    // Loads the window from `position_`; false at end of file or on a read error.
    bool refillWindow();

    std::filebuf file_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t bufferSize_;
    std::ios_base::iostate state_ = std::ios_base::goodbit;
    std::int64_t gcount_ = 0;

    std::int64_t position_ = 0;      // logical read position
    std::int64_t filePosition_ = 0;  // where the file itself stands
    std::int64_t windowStart_ = 0;   // file offset of buffer_[0]
    std::int64_t windowLength_ = 0;  // valid bytes in buffer_
    bool windowEndsFile_ = false;    // the file ended at the end of the window
};

}  // namespace kova
