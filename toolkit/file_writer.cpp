#include "toolkit/file_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "core/file_kind.h"

namespace kova {

ToolkitFileWriter::ToolkitFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                     storebase& kindHeader, std::string_view kind)
    : fileName_(fileName),
      kind_(kind),
      commonHeader_(&commonHeader),
      kindHeader_(&kindHeader),
      buffer_(new std::uint8_t[kBufferSize]),
      spare_(new std::uint8_t[kBufferSize]) {
    commonHeader_->addRef();
    kindHeader_->addRef();
    openFailed_ = !openLocked(fileName.c_str());
    failed_ = openFailed_;
    if (!openFailed_) writeHeaders();
}

ToolkitFileWriter::~ToolkitFileWriter() { abandon(); }

bool ToolkitFileWriter::openLocked(const char* name) {
    // Not truncated at open: a file another run holds must stay as that run writes it.
    descriptor_ = ::open(name, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor_ < 0) return false;
    // Only a regular file keeps what is written to it, so only a regular file is locked and
    // cut: a device (or a pipe) takes the bytes as they come, from any number of writers.
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        return false;
    }
    if (!S_ISREG(status.st_mode)) return true;
    // A lock on the open file, not on the process: a second writer of the same file in this
    // process is refused as well.
    if (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        lockedByAnotherRun_ = errno == EWOULDBLOCK;
        ::close(descriptor_);
        descriptor_ = -1;
        return false;
    }
    if (::ftruncate(descriptor_, 0) != 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        return false;
    }
    return true;
}

bool ToolkitFileWriter::writeAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void ToolkitFileWriter::writeBlockPastBuffer(const storebase& block) {
    drainBuffer();
    if (block.size() > kBufferSize) {
        collectWrite();
        // A writer that has failed writes nothing more, as for every write before.
        if (!failed_ && !writeAll(block.data(), block.size())) failed_ = true;
        return;
    }
    std::memcpy(buffer_.get(), block.data(), block.size());
    buffered_ = block.size();
}

void ToolkitFileWriter::drainBuffer() {
    if (buffered_ == 0) return;
    collectWrite();
    buffer_.swap(spare_);
    pending_ = buffered_;
    buffered_ = 0;
    if (!failed_) worker_.start(&ToolkitFileWriter::writeSpare, this);
}

void ToolkitFileWriter::writeOutBuffer() {
    drainBuffer();
    collectWrite();
}

void ToolkitFileWriter::collectWrite() {
    worker_.wait();
    if (worker_.takeFailure() || writeFailed_) failed_ = true;
}

void ToolkitFileWriter::writeSpare(void* writer) {
    auto& self = *static_cast<ToolkitFileWriter*>(writer);
    if (!self.writeAll(self.spare_.get(), self.pending_)) self.writeFailed_ = true;
}

void ToolkitFileWriter::writeHeaders() {
    writeBlock(*commonHeader_);
    writeBlock(*kindHeader_);
}

bool ToolkitFileWriter::close() {
    if (finished_) return !failed();
    if (!openFailed_) {
        // The buffered records go out first; after a failure there the headers are not
        // written over a short file.
        writeOutBuffer();
        if (!failed_ && ::lseek(descriptor_, 0, SEEK_SET) < 0) failed_ = true;
        if (!failed_) writeHeaders();
        writeOutBuffer();
    }
    finish();
    return !failed();
}

void ToolkitFileWriter::abandon() {
    if (finished_) return;
    if (!openFailed_) writeOutBuffer();
    finish();
}

void ToolkitFileWriter::finish() {
    finished_ = true;
    commonHeader_->release();
    kindHeader_->release();
    // Closing releases the lock; a failed close (a write the file system took late) is a
    // failed write too.
    if (descriptor_ >= 0 && ::close(descriptor_) != 0) failed_ = true;
    descriptor_ = -1;
}

EphemerisFileWriter::EphemerisFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                         EphemerisHeader& ephemerisHeader)
    : ToolkitFileWriter(fileName, commonHeader, ephemerisHeader, file_kind::kEphemeris) {}

AttitudeFileWriter::AttitudeFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                       AttitudeHeader& attitudeHeader)
    : ToolkitFileWriter(fileName, commonHeader, attitudeHeader, file_kind::kAttitude) {}

}  // namespace kova
