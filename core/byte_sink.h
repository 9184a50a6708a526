#pragma once
// Where a writer's bytes go: the program plugs in its output files (or, in tests, memory).
// Writers hand over large blocks and never read back. A sink that can fail keeps the reason
// itself; the writer, or the program after it, asks.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kova {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
    // True once a write failed; error() then says why. A sink that cannot fail keeps these.
    virtual bool failed() const { return false; }
    virtual std::string error() const { return {}; }
    // Called by the writer after its last byte. A sink whose bytes must reach a disk may make
    // them durable here, on the writer's thread, so that the wait overlaps the making of other
    // files; false, with error() saying why, when that failed.
    virtual bool complete() { return !failed(); }

    // For writers that know the start of their file only at its end: true when the sink can
    // take bytes again where it already has some (a file on a disk, not a pipe or a device).
    virtual bool canRewrite() const { return false; }
    // Writes `size` bytes at `offset`, over bytes written before (offset + size at most the
    // bytes written so far); only where canRewrite().
    virtual void overwrite(std::uint64_t /*offset*/, const char* /*data*/, std::size_t /*size*/) {}
    // Drops every byte written so far: the next write is the first byte again; only where
    // canRewrite().
    virtual void startOver() {}
};

}  // namespace kova
