#pragma once
// The toolkit file a dump reads: an input file stream opened in binary mode over a large
// buffer, so reading record by record costs no system call per record. Reads, positions and
// the end-of-file state are the stream's own: a read that meets the end of the file keeps the
// bytes that were there and fails the stream, and a failed stream reports position -1.
#include <fstream>
#include <memory>
#include <string>

namespace kova {

class DumpInputFile {
public:
    explicit DumpInputFile(const std::string& fileName);
    DumpInputFile(const DumpInputFile&) = delete;
    DumpInputFile& operator=(const DumpInputFile&) = delete;

    // False too for anything but a regular file (a directory, a device, a pipe).
    bool isOpen() const { return open_; }
    std::istream& stream() { return stream_; }

private:
    std::unique_ptr<char[]> buffer_;  // declared first: it must outlive the stream
    std::ifstream stream_;
    bool open_ = false;
};

}  // namespace kova
