#pragma once
// An output file that appears under its name only once it is complete. The bytes go to a
// temporary file beside the target (same directory, so the rename stays on one file
// system) through a 1 MiB buffer; commit() flushes, closes and renames it over the target.
// A file that is never committed, or whose writing failed, is removed: a refused or failed
// run leaves no file that looks complete, and an existing target stays as it was.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace kova {

class AtomicOutputFile {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    // Creates the temporary file for `target` (the name up to its first NUL). isOpen()
    // tells whether that worked; error() says why not.
    explicit AtomicOutputFile(const std::string& target);
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~AtomicOutputFile();

    bool isOpen() const { return descriptor_ >= 0 || committed_; }
    // True once a write, the flush, the close or the rename failed; error() says why.
    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }
    const std::string& target() const { return target_; }
    const std::string& temporaryName() const { return temporary_; }

    void write(const char* data, std::size_t size) {
        if (size <= kBufferSize - buffered_) {
            std::memcpy(buffer_.get() + buffered_, data, size);
            buffered_ += size;
            return;
        }
        writePastBuffer(data, size);
    }
    void write(std::string_view text) { write(text.data(), text.size()); }

    // Writes out the buffer, closes the file and renames it to the target. False, with the
    // temporary file removed and the target untouched, when anything failed on the way.
    bool commit();
    // Removes the temporary file without touching the target.
    void discard();

private:
    void writePastBuffer(const char* data, std::size_t size);
    bool writeOut(const char* data, std::size_t size);
    void fail(std::string_view what, int errorNumber);

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t buffered_ = 0;
    bool failed_ = false;
    bool committed_ = false;
    std::string error_;
};

}  // namespace kova
