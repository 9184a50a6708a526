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

void populate([[maybe_unused]] void* memory, [[maybe_unused]] std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    // The system zeroes every fresh page it hands out: tens of megabytes for a long pass, as
    // much time as decoding its records. Asked for here, on a spare core, that work is done
    // before the records reach the pages (a page the records reach first is simply faulted in
    // by them). The memory itself is never touched from here, so no value is shared.
    if (memory != nullptr && bytes > 0) madvise(memory, bytes, MADV_POPULATE_WRITE);
#endif
}

}  // namespace kova::large_array_memory
