#include "spice/large_array.h"

#include <sys/mman.h>

#include <new>

namespace kova::large_array_memory {

void* map(std::size_t bytes) {
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    // Only advice: where large pages are not offered the mapping works as it is.
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

void unmap(void* memory, std::size_t bytes) { munmap(memory, bytes); }

}  // namespace kova::large_array_memory
