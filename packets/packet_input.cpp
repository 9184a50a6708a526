#include "packets/packet_input.h"

#include <algorithm>
#include <cstring>

namespace kova {

PacketInput::PacketInput(const char* fileName, std::size_t bufferSize)
    : buffer_(new std::uint8_t[std::max<std::size_t>(bufferSize, 1)]),
      bufferSize_(std::max<std::size_t>(bufferSize, 1)) {
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
            file_.sgetn(reinterpret_cast<char*>(buffer_.get()), static_cast<std::streamsize>(bufferSize_));
        filePosition_ += got;
        windowLength_ = got;
        windowEndsFile_ = static_cast<std::size_t>(got) < bufferSize_;
        return got > 0;
    } catch (...) {
        // A read error of the file (a standard stream turns the exception of its buffer
        // into the bad state the same way). Where the file stands is unknown now.
        state_ |= std::ios_base::badbit;
        filePosition_ = -1;
        return false;
    }
}

}  // namespace kova
