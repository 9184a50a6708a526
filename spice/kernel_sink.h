#pragma once
// Where a kernel's bytes go: the program plugs in its output files. The writers hand over
// large blocks (up to a megabyte at a time) and never read back; a sink that fails keeps the
// reason itself, and the program asks it after the kernel is written.
#include <cstddef>

namespace kova {

class KernelSink {
public:
    virtual ~KernelSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
};

}  // namespace kova
