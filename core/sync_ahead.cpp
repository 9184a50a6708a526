#include "core/sync_ahead.h"

#include <unistd.h>
#include <cerrno>
#include <system_error>

#include "core/stop_signals.h"

namespace kova {

SyncAhead::SyncAhead(std::size_t files) : slots_(files) {}

SyncAhead::~SyncAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void SyncAhead::request(std::size_t slot, int descriptor) {
    {
        const std::lock_guard lock(mutex_);
        if (!threadTried_) {
            threadTried_ = true;
            try {
                thread_ = std::thread([this] { serve(); });
            } catch (const std::system_error&) {
                // No thread: every file is synced whole by its writer, as without this.
            }
        }
        if (!thread_.joinable()) return;
        slots_[slot].descriptor = descriptor;
        slots_[slot].pending = true;
    }
    changed_.notify_all();
}

int SyncAhead::settle(std::size_t slot) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !slots_[slot].pending && !slots_[slot].running; });
    return slots_[slot].error;
}

void SyncAhead::serve() {
    leaveStopSignalsToMainThread();
    std::unique_lock lock(mutex_);
    std::size_t next = 0;  // taken in turn, so that no file waits behind another's requests
    for (;;) {
        changed_.wait(lock, [this] {
            if (stopping_) return true;
            for (const Slot& slot : slots_) {
                if (slot.pending) return true;
            }
            return false;
        });
        if (stopping_) return;
        while (!slots_[next].pending) next = (next + 1) % slots_.size();
        Slot& slot = slots_[next];
        next = (next + 1) % slots_.size();
        slot.pending = false;
        slot.running = true;
        const int descriptor = slot.descriptor;
        lock.unlock();
        const int error = ::fdatasync(descriptor) == 0 ? 0 : errno;
        lock.lock();
        slot.running = false;
        if (error != 0 && slot.error == 0) slot.error = error;
        changed_.notify_all();
    }
}

}  // namespace kova
