#include "core/temporary_names.h"

#include <unistd.h>
#include <atomic>
#include <cstring>

namespace kova::temporary_names {

namespace {

// A slot is free, being filled by its owner, or holds a name the handler may unlink.
constexpr int kFree = 0;
constexpr int kFilling = 1;
constexpr int kHeld = 2;

std::atomic<int> slotStates[kSlots];
char slotNames[kSlots][kNameCapacity];

static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the slot states");

}  // namespace

int remember(const std::string& name) {
    if (name.size() >= kNameCapacity) return -1;
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        int expected = kFree;
        if (!slotStates[slot].compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slotNames[slot], name.c_str(), name.size() + 1);
        slotStates[slot].store(kHeld);
        return static_cast<int>(slot);
    }
    return -1;
}

void forget(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= kSlots) return;
    slotStates[slot].store(kFree);
}

void removeAll() noexcept {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        if (slotStates[slot].load() == kHeld) ::unlink(slotNames[slot]);
    }
}

}  // namespace kova::temporary_names
