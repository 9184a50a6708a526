#pragma once
// A thread that runs one job at a time for its owner: kova's file input and output use it
// to copy the next (or last) buffer between the file and memory while the run computes
// records on the buffer it has. The copies through the page cache cost about as much as
// the records themselves, and the machines kova runs on have a core to spare.
//
// Whatever a job touches belongs to the thread from start() until the wait() after it.
// A job is a plain function and a pointer, so starting one allocates nothing.
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace kova {

class BackgroundWorker {
public:
    using Job = void (*)(void* context);

    BackgroundWorker();
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;
    // Waits for the job under way, then ends the thread.
    ~BackgroundWorker();

    // Runs job(context) on the thread; waits first for a job still under way.
    void start(Job job, void* context);
    // Returns once no job is under way.
    void wait();
    // True when a job ended with an exception since the last call (which clears it). The
    // exception stops there: it never ends the process, the owner takes it as a failure of
    // the job (a read or write that did not happen).
    bool takeFailure();
    // Waits like wait(), then throws here, on the owner's thread, the exception a job ended
    // with (and clears it): for owners that treat it as if the job had run on their thread.
    void waitAndRethrow();

private:
    void serve();

    std::mutex mutex_;
    std::condition_variable changed_;
    Job job_ = nullptr;
    void* context_ = nullptr;
    bool busy_ = false;
    std::exception_ptr failure_;  // of the last job that threw, until taken
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything it uses is constructed
};

}  // namespace kova
