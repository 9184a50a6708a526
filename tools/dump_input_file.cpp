#include "tools/dump_input_file.h"

#include "core/file_identity.h"

namespace kova {

namespace {
constexpr std::streamsize kInputBufferSize = std::streamsize{1} << 20;
}  // namespace

DumpInputFile::DumpInputFile(const std::string& fileName)
    : buffer_(new char[static_cast<std::size_t>(kInputBufferSize)]) {
    // The buffer must be given before the file is opened to be used.
    stream_.rdbuf()->pubsetbuf(buffer_.get(), kInputBufferSize);
    // Only a regular file is a toolkit file: a directory reads as empty, a device or a pipe
    // may never end (or block before its first byte).
    if (!namesRegularFile(fileName)) return;
    stream_.open(fileName, std::ios::in | std::ios::binary);
    open_ = stream_.is_open();
}

}  // namespace kova
