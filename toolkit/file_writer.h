#pragma once
// Writer of one toolkit output file. The two header blocks are written when the file is
// opened, records are appended after them, and a normal close goes back to the start and
// writes the headers again with their final values (record count, orbits, elements).
// An abandoned file (every error stop) keeps the headers written at open and every block
// handed over so far. Output is buffered: a record is not a system call, and a full buffer
// goes to the file on a thread of its own while the next one fills.
//
// Two runs must never write one regular file at once (both would end well and leave a mixed
// file): the writer opens the file without truncating it, takes an exclusive lock on it, and
// only then truncates it. A file that another run holds is left as it is. A file of another
// kind (a device such as /dev/null, a terminal, a pipe) is written as it is: never locked,
// never truncated, shared by any number of writers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "core/background_worker.h"
#include "core/storebase.h"
#include "toolkit/attitude_header.h"
#include "toolkit/ephemeris_header.h"
#include "toolkit/layout.h"
#include "toolkit/toolkit_header.h"

namespace kova {

class ToolkitFileWriter {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    // Ephemeris and attitude records are both 64 bytes.
    static constexpr std::size_t kRecordSize = ephemeris_record::kSize;
    static_assert(attitude_record::kSize == kRecordSize);

    // Opens `fileName` for binary writing, creating it or, once it is locked, truncating an
    // existing regular file; the name ends at its first NUL byte. On success writes the common
    // header, then the kind header, so the records start at offset 512. Takes a use count
    // on both blocks, open or not; the blocks must outlive the writer.
    ToolkitFileWriter(const std::string& fileName, ToolkitHeader& commonHeader, storebase& kindHeader,
                      std::string_view kind);
    ToolkitFileWriter(const ToolkitFileWriter&) = delete;
    ToolkitFileWriter& operator=(const ToolkitFileWriter&) = delete;
    // Abandons the file when it was not closed.
    virtual ~ToolkitFileWriter();

    // The file could not be opened, locked or truncated.
    bool openFailed() const { return openFailed_; }
    // The open failed because another run holds the file's lock.
    bool lockedByAnotherRun() const { return lockedByAnotherRun_; }
    // The open failed, or a write of earlier blocks did not reach the file. A buffer is
    // written while the next one fills, so a failed write shows here once that next buffer
    // is handed over too (or at close() or abandon(), whichever comes first). Stays set
    // after close() and abandon().
    bool failed() const { return failed_; }

    // Appends the whole block (64 bytes for a record, 32 for an orbit metadata record).
    void writeBlock(const storebase& block) {
        // A record is a copy into the buffer; the file sees the buffer when it is full.
        const std::size_t size = block.size();
        if (size <= kBufferSize - buffered_) {
            // Records, of one size, are nearly every block: their copy is a few moves.
            if (size == kRecordSize) {
                std::memcpy(buffer_.get() + buffered_, block.data(), kRecordSize);
            } else {
                std::memcpy(buffer_.get() + buffered_, block.data(), size);
            }
            buffered_ += size;
            return;
        }
        writeBlockPastBuffer(block);
    }

    // Normal end: rewrites both headers at offset 0, flushes, releases the blocks and
    // closes the file. Returns false when a write failed at any point; failed() then
    // says so too.
    bool close();
    // Error stop: flushes what was written, releases the blocks and closes the file
    // without rewriting the headers.
    void abandon();

    const std::string& fileName() const { return fileName_; }
    std::string_view kind() const { return kind_; }

private:
    void writeBlockPastBuffer(const storebase& block);
    // Hands the buffered bytes over to be written and goes on with the spare buffer.
    void drainBuffer();
    // Waits for the write under way and takes its outcome into failed().
    void collectWrite();
    // Opens, locks and truncates the file; false (with the file closed) on any failure.
    bool openLocked(const char* name);
    // Every byte of [data, data + size) to the file at its position; false on a failure.
    bool writeAll(const std::uint8_t* data, std::size_t size);
    // Drains the buffer and waits until it is written: the file is the writer's again.
    void writeOutBuffer();
    // The job of the worker: writes pending_ bytes of spare_.
    static void writeSpare(void* writer);
    void writeHeaders();
    void finish();

    std::string fileName_;
    std::string_view kind_;
    ToolkitHeader* commonHeader_;
    storebase* kindHeader_;
    // The writer's own buffers, the one filling and the one being written; each drain goes
    // to the file in one write.
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::unique_ptr<std::uint8_t[]> spare_;
    std::size_t buffered_ = 0;
    std::size_t pending_ = 0;
    int descriptor_ = -1;
    bool openFailed_ = false;
    bool lockedByAnotherRun_ = false;
    bool failed_ = false;
    bool writeFailed_ = false;  // set by the worker's write, taken into failed_ by collectWrite
    bool finished_ = false;
    BackgroundWorker worker_;  // last: its thread ends before the buffers and the file go
};

class EphemerisFileWriter : public ToolkitFileWriter {
public:
    EphemerisFileWriter(const std::string& fileName, ToolkitHeader& commonHeader, EphemerisHeader& ephemerisHeader);
};

class AttitudeFileWriter : public ToolkitFileWriter {
public:
    AttitudeFileWriter(const std::string& fileName, ToolkitHeader& commonHeader, AttitudeHeader& attitudeHeader);
};

}  // namespace kova
