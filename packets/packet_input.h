#pragma once
// Buffered binary input of the packet file with the observable behaviour of a binary
// std::ifstream: the same four states (good; end of file together with failed; failed;
// bad), the same effect of every read, seek and tell on them, and the same bytes.
//
// The file is read through one buffer (the window, 1 MiB by default) in sequential chunks,
// so reading and seeking packet by packet costs no system call as long as the positions
// stay inside the window; a seek outside it costs one repositioning at the next read.
// While the run works on one window, a background thread reads the chunk that follows it
// into a second buffer, which becomes the window when the reads get there; after a seek
// elsewhere it is dropped and the file is read where the seek went. A window that served
// only a few reads for its size before they jumped past its end was mostly skipped over
// (filler packets far larger than the header reads between them), so the next chunk is
// read small and without read-ahead: such a file is not read in full to look at its headers.
// All offsets are 64-bit.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <ios>
#include <limits>
#include <memory>

#include "core/background_worker.h"

namespace kova {

class PacketInput {
public:
    static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;
    // A window left by a jump past its end after no more than one read per this many of its
    // bytes makes the next chunk small: this many bytes, enough for a packet header and the
    // start of its data.
    static constexpr std::size_t kSparseChunkSize = 4096;
    // Smaller windows are not read ahead: their reads cost less than handing them over.
    static constexpr std::size_t kReadAheadMinimum = std::size_t{1} << 16;

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
    void read(std::uint8_t* destination, std::int64_t count) {
        // Nearly every read of a packet lies wholly inside the window: one copy, no state change.
        if (state_ == std::ios_base::goodbit && count > 0 && position_ >= windowStart_ &&
            count <= windowStart_ + windowLength_ - position_) {
            std::memcpy(destination, buffer_.get() + (position_ - windowStart_), static_cast<std::size_t>(count));
            position_ += count;
            gcount_ = count;
            ++windowReads_;
            return;
        }
        readAcrossWindows(destination, count);
    }
    // Bytes stored by the last read.
    std::int64_t gcount() const { return gcount_; }

    // Seeks first clear end of file; on a stream that is still not good they do nothing
    // but set failed. A target before the start of the file fails; one past its end is
    // allowed (the next read then meets end of file).
    // Inline, as read(): the indexing walk tells, reads and seeks once per packet.
    void seek(std::int64_t position) {
        state_ &= ~std::ios_base::eofbit;
        if (!good() || position < 0) {
            state_ |= std::ios_base::failbit;
            return;
        }
        position_ = position;
    }
    void seekRelative(std::int64_t offset) {
        state_ &= ~std::ios_base::eofbit;
        // Failed too before the start of the file, or beyond any offset the file can have.
        if (!good() || offset < -position_ || offset > std::numeric_limits<std::int64_t>::max() - position_) {
            state_ |= std::ios_base::failbit;
            return;
        }
        position_ += offset;
    }
    // The read position, or -1 (and failed) on a stream that is not good.
    std::int64_t tell() {
        if (!good()) {
            state_ |= std::ios_base::failbit;
            return -1;
        }
        return position_;
    }

private:
    bool windowHolds(std::int64_t position) const {
        return position >= windowStart_ && position < windowStart_ + windowLength_;
    }
    // read() for every other case: a stream that is not good, a read that starts outside the
    // window or runs past its end.
    void readAcrossWindows(std::uint8_t* destination, std::int64_t count);
    // Loads the window from `position_`; false at end of file or on a read error.
    bool refillWindow();
    // Takes the chunk read ahead as the window when it holds `position_`, and starts reading
    // the next one if `readFurther`; false when there is none or it lies elsewhere (the
    // file then stands after it).
    bool takeReadAhead(bool readFurther);
    // Starts reading the chunk that follows the window, where the file stands.
    void startReadAhead();
    // The job of the worker: reads a chunk into ahead_.
    static void readAhead(void* input);

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
    std::int64_t windowReads_ = 0;   // reads the window served

    std::unique_ptr<std::uint8_t[]> ahead_;  // the chunk read ahead
    bool aheadPending_ = false;      // a chunk was started and not yet taken or dropped
    std::int64_t aheadStart_ = 0;    // its file offset
    std::int64_t aheadLength_ = 0;   // bytes it holds (once the worker is done)
    bool aheadFailed_ = false;       // its read failed
    BackgroundWorker worker_;        // last: its thread ends before the buffers and the file go
};

}  // namespace kova
