#include "toolkit/file_writer.h"

#include <cstring>
#include <ios>

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
    // Unbuffered, which the stream takes only before the file is opened: every drain of the
    // writer's buffer then goes to the file in one write.
    stream_.rdbuf()->pubsetbuf(nullptr, 0);
    stream_.open(fileName.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
    openFailed_ = !stream_.is_open();
    failed_ = stream_.fail();
    if (!openFailed_) writeHeaders();
}

ToolkitFileWriter::~ToolkitFileWriter() { abandon(); }

void ToolkitFileWriter::writeBlockPastBuffer(const storebase& block) {
    drainBuffer();
    if (block.size() > kBufferSize) {
        collectWrite();
        stream_.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
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
    // A stream that has failed writes nothing more, as for every write before.
    if (!failed_) worker_.start(&ToolkitFileWriter::writeSpare, this);
}

void ToolkitFileWriter::writeOutBuffer() {
    drainBuffer();
    collectWrite();
}

void ToolkitFileWriter::collectWrite() {
    worker_.wait();
    failed_ = stream_.fail();
}

void ToolkitFileWriter::writeSpare(void* writer) {
    auto& self = *static_cast<ToolkitFileWriter*>(writer);
    self.stream_.write(reinterpret_cast<const char*>(self.spare_.get()), static_cast<std::streamsize>(self.pending_));
}

void ToolkitFileWriter::writeHeaders() {
    writeBlock(*commonHeader_);
    writeBlock(*kindHeader_);
}

bool ToolkitFileWriter::close() {
    if (finished_) return !failed();
    if (!openFailed_) {
        // The buffered records go out first; a failure there sets the stream's state and
        // the headers are not written over a short file.
        writeOutBuffer();
        stream_.seekp(0);
        if (!stream_.fail()) writeHeaders();
        writeOutBuffer();
        stream_.flush();
    }
    finish();
    return !failed();
}

void ToolkitFileWriter::abandon() {
    if (finished_) return;
    if (!openFailed_) {
        writeOutBuffer();
        stream_.flush();
    }
    finish();
}

void ToolkitFileWriter::finish() {
    finished_ = true;
    commonHeader_->release();
    kindHeader_->release();
    if (stream_.is_open()) stream_.close();
    failed_ = stream_.fail();
}

EphemerisFileWriter::EphemerisFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                         EphemerisHeader& ephemerisHeader)
    : ToolkitFileWriter(fileName, commonHeader, ephemerisHeader, file_kind::kEphemeris) {}

AttitudeFileWriter::AttitudeFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                       AttitudeHeader& attitudeHeader)
    : ToolkitFileWriter(fileName, commonHeader, attitudeHeader, file_kind::kAttitude) {}

}  // namespace kova
