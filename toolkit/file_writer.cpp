#include "toolkit/file_writer.h"

#include <ios>

#include "run/options.h"

namespace kova {

ToolkitFileWriter::ToolkitFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                     storebase& kindHeader, std::string_view kind)
    : fileName_(fileName),
      kind_(kind),
      commonHeader_(&commonHeader),
      kindHeader_(&kindHeader),
      buffer_(new char[kBufferSize]) {
    commonHeader_->addRef();
    kindHeader_->addRef();
    // The buffer is only taken when it is set before the file is opened.
    stream_.rdbuf()->pubsetbuf(buffer_.get(), static_cast<std::streamsize>(kBufferSize));
    stream_.open(fileName.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
    openFailed_ = !stream_.is_open();
    if (!openFailed_) writeHeaders();
}

ToolkitFileWriter::~ToolkitFileWriter() { abandon(); }

void ToolkitFileWriter::writeBlock(const storebase& block) {
    stream_.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
}

void ToolkitFileWriter::writeHeaders() {
    writeBlock(*commonHeader_);
    writeBlock(*kindHeader_);
}

bool ToolkitFileWriter::close() {
    if (finished_) return !failed();
    if (!openFailed_) {
        // The seek writes out the buffered records first; a failure there sets the
        // stream's state and the headers are not written over a short file.
        stream_.seekp(0);
        if (!stream_.fail()) writeHeaders();
        stream_.flush();
    }
    finish();
    return !failed();
}

void ToolkitFileWriter::abandon() {
    if (finished_) return;
    if (!openFailed_) stream_.flush();
    finish();
}

void ToolkitFileWriter::finish() {
    finished_ = true;
    commonHeader_->release();
    kindHeader_->release();
    if (stream_.is_open()) stream_.close();
}

EphemerisFileWriter::EphemerisFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                         EphemerisHeader& ephemerisHeader)
    : ToolkitFileWriter(fileName, commonHeader, ephemerisHeader, file_kind::kEphemeris) {}

AttitudeFileWriter::AttitudeFileWriter(const std::string& fileName, ToolkitHeader& commonHeader,
                                       AttitudeHeader& attitudeHeader)
    : ToolkitFileWriter(fileName, commonHeader, attitudeHeader, file_kind::kAttitude) {}

}  // namespace kova
