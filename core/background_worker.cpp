#include "core/background_worker.h"

#include <utility>

#include "core/stop_signals.h"

namespace kova {

BackgroundWorker::BackgroundWorker() : thread_([this] { serve(); }) {}

BackgroundWorker::~BackgroundWorker() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWorker::start(Job job, void* context) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        job_ = job;
        context_ = context;
        busy_ = true;
    }
    changed_.notify_all();
}

void BackgroundWorker::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
}

bool BackgroundWorker::takeFailure() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return std::exchange(failure_, nullptr) != nullptr;
}

void BackgroundWorker::waitAndRethrow() {
    std::exception_ptr failure;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        failure = std::exchange(failure_, nullptr);
    }
    if (failure) std::rethrow_exception(failure);
}

void BackgroundWorker::serve() {
    leaveStopSignalsToMainThread();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_) return;  // stopping, with nothing left to do
        const Job job = job_;
        void* const context = context_;
        lock.unlock();
        std::exception_ptr thrown;
        try {
            job(context);
        } catch (...) {
            thrown = std::current_exception();
        }
        lock.lock();
        if (thrown && !failure_) failure_ = thrown;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace kova
