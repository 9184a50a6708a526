#include "packets/packet_input.h"

#include <algorithm>
#include <cstring>

namespace kova {

PacketInput::PacketInput(const char* fileName, std::size_t bufferSize)
    : buffer_(new std::uint8_t[std::max<std::size_t>(bufferSize, 1)]),
      bufferSize_(std::max<std::size_t>(bufferSize, 1)),
      ahead_(new std::uint8_t[bufferSize_]) {
    // The window is the only buffer: the file buffer passes every read straight through.
    file_.pubsetbuf(nullptr, 0);
    if (file_.open(fileName, std::ios_base::in | std::ios_base::binary) == nullptr) {
        state_ |= std::ios_base::failbit;
    }
}

void PacketInput::readAcrossWindows(std::uint8_t* destination, std::int64_t count) {
    gcount_ = 0;
    if (!good()) {
        state_ |= std::ios_base::failbit;
        return;
    }
    if (count <= 0) return;
    ++windowReads_;

    std::int64_t stored = 0;
    bool readError = false;
    while (stored < count) {
        if (windowHolds(position_)) {
            const std::int64_t available = windowStart_ + windowLength_ - position_;
            const std::int64_t take = std::min(available, count - stored);
            std::memcpy(destination + stored, buffer_.get() + (position_ - windowStart_),
                        static_cast<std::size_t>(take));
            stored += take;
            position_ += take;
            continue;
        }
        // Past the end of a window that reached the end of the file: nothing more to read.
        if (windowEndsFile_ && position_ >= windowStart_ + windowLength_) break;
        if (!refillWindow()) {
            readError = bad();
            break;
        }
    }
    gcount_ = stored;
    if (stored < count && !readError) state_ |= std::ios_base::eofbit | std::ios_base::failbit;
}

bool PacketInput::refillWindow() {
    const bool sparse = windowLength_ > 0 && position_ > windowStart_ + windowLength_ &&
                        windowReads_ * static_cast<std::int64_t>(kSparseChunkSize) <= windowLength_;
    const bool readAhead = !sparse && bufferSize_ >= kReadAheadMinimum;
    windowReads_ = 0;
    if (takeReadAhead(readAhead)) return windowLength_ > 0;
    const std::size_t chunkSize = sparse ? std::min(bufferSize_, kSparseChunkSize) : bufferSize_;
    windowStart_ = position_;
    windowLength_ = 0;
    windowEndsFile_ = false;
    try {
        if (filePosition_ != position_) {
            const auto reached = file_.pubseekpos(std::streampos(std::streamoff(position_)),
                                                  std::ios_base::in);
            if (reached == std::streampos(std::streamoff(-1))) {
                state_ |= std::ios_base::badbit;
                return false;
            }
            filePosition_ = position_;
        }
        const std::streamsize got =
            file_.sgetn(reinterpret_cast<char*>(buffer_.get()), static_cast<std::streamsize>(chunkSize));
        filePosition_ += got;
        windowLength_ = got;
        windowEndsFile_ = static_cast<std::size_t>(got) < chunkSize;
        if (!windowEndsFile_ && readAhead) startReadAhead();
        return got > 0;
    } catch (...) {
        // A read error of the file (a standard stream turns the exception of its buffer
        // into the bad state the same way). Where the file stands is unknown now.
        state_ |= std::ios_base::badbit;
        filePosition_ = -1;
        return false;
    }
}

bool PacketInput::takeReadAhead(bool readFurther) {
    if (!aheadPending_) return false;
    worker_.wait();
    if (worker_.takeFailure()) aheadFailed_ = true;
    aheadPending_ = false;
    // Where the file stands now; unknown after a failed read, which forces a repositioning.
    filePosition_ = aheadFailed_ ? -1 : aheadStart_ + aheadLength_;
    // The walk over the headers usually lands a little into the chunk, past the data of
    // the packet that straddled the end of the window.
    if (aheadFailed_ ? position_ != aheadStart_ : position_ < aheadStart_ || position_ >= aheadStart_ + aheadLength_) {
        return false;
    }

    buffer_.swap(ahead_);
    windowStart_ = aheadStart_;
    windowLength_ = aheadLength_;
    windowEndsFile_ = static_cast<std::size_t>(aheadLength_) < bufferSize_;
    if (aheadFailed_) {
        state_ |= std::ios_base::badbit;
        windowLength_ = 0;
        return true;
    }
    if (!windowEndsFile_ && readFurther) startReadAhead();
    return true;
}

void PacketInput::startReadAhead() {
    aheadStart_ = filePosition_;
    aheadLength_ = 0;
    aheadFailed_ = false;
    aheadPending_ = true;
    worker_.start(&PacketInput::readAhead, this);
}

void PacketInput::readAhead(void* input) {
    auto& self = *static_cast<PacketInput*>(input);
    try {
        self.aheadLength_ = self.file_.sgetn(reinterpret_cast<char*>(self.ahead_.get()),
                                             static_cast<std::streamsize>(self.bufferSize_));
    } catch (...) {
        self.aheadFailed_ = true;
    }
}

}  // namespace kova
