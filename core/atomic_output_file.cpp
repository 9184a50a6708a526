#include "core/atomic_output_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace kova {

namespace {

// Distinct temporary names for the files one process writes at once.
std::atomic<unsigned> temporaryCounter{0};

std::string temporaryNameFor(const std::string& target, unsigned attempt) {
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(const std::string& target)
    : target_(target.c_str()), buffer_(new char[kBufferSize]) {
    // Created new, never opened over something that is there: 0666 less the umask, the mode
    // any newly written file gets.
    for (int tries = 0; tries < 100; ++tries) {
        temporary_ = temporaryNameFor(target_, temporaryCounter.fetch_add(1));
        descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0 || errno != EEXIST) break;
    }
    if (descriptor_ < 0) {
        fail("cannot create", errno);
        temporary_.clear();
    }
}

AtomicOutputFile::~AtomicOutputFile() { discard(); }

void AtomicOutputFile::writePastBuffer(const char* data, std::size_t size) {
    if (!writeOut(buffer_.get(), buffered_)) return;
    buffered_ = 0;
    if (size >= kBufferSize) {
        writeOut(data, size);
        return;
    }
    std::memcpy(buffer_.get(), data, size);
    buffered_ = size;
}

bool AtomicOutputFile::writeOut(const char* data, std::size_t size) {
    if (failed_ || descriptor_ < 0) return false;
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            fail("write failed", errno);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicOutputFile::commit() {
    if (committed_) return true;
    if (descriptor_ < 0 || failed_) {
        discard();
        return false;
    }
    const bool written = writeOut(buffer_.get(), buffered_);
    buffered_ = 0;
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (!written) {
        discard();
        return false;
    }
    if (closed != 0) {
        fail("write failed", errno);
        discard();
        return false;
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail("cannot rename the temporary file to it", errno);
        discard();
        return false;
    }
    committed_ = true;
    return true;
}

void AtomicOutputFile::discard() {
    if (committed_) return;
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void AtomicOutputFile::fail(std::string_view what, int errorNumber) {
    if (failed_) return;
    failed_ = true;
    error_ = std::string(what) + ": " + std::strerror(errorNumber);
}

}  // namespace kova
