#pragma once
// Syncs the files of an output set while they are still being written.
//
// On the virtual disks kova's machines have, the host caches what the guest writes, and a sync
// waits until the host has written it: about half a millisecond per MiB written since the last
// sync of the file, whatever the guest had already sent to the disk. One sync of a 200 MB file
// at its end waits a tenth of a second; a thread that syncs each file every few MiB while it
// grows leaves that sync only the tail. The thread starts with the first request, so small
// files never cost one.
//
// A sync that fails here is kept for the file and reported when its writer settles it: the
// system reports a write-back failure to one sync only, and it must not be lost to this one.
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace kova {

class SyncAhead {
public:
    // `files`: the number of slots, one per file of the set.
    explicit SyncAhead(std::size_t files);
    SyncAhead(const SyncAhead&) = delete;
    SyncAhead& operator=(const SyncAhead&) = delete;
    // Waits for a sync under way and ends the thread; pending requests are dropped.
    ~SyncAhead();

    // Asks for a sync of the file open as `descriptor` in `slot`; never waits for one under way
    // (a request while one is pending for the slot adds nothing). Without a thread (the system
    // would not start one) the request is dropped: the writer's own sync does all of it.
    void request(std::size_t slot, int descriptor);
    // Waits until the slot has no sync pending or under way; the descriptor may be closed after
    // it. (A pending sync is not dropped: what it sends, the writer's last sync need not.)
    // Returns the errno of a sync of the slot that failed, or 0.
    int settle(std::size_t slot);

private:
    void serve();

    struct Slot {
        int descriptor = -1;
        bool pending = false;
        bool running = false;
        int error = 0;
    };
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Slot> slots_;
    bool stopping_ = false;
    bool threadTried_ = false;
    std::thread thread_;
};

}  // namespace kova
