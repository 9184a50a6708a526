#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/background_worker.h"

namespace kova {
namespace {

struct Log {
    std::vector<int> entries;
    int next = 0;
};

void appendSlowly(void* context) {
    auto& log = *static_cast<Log*>(context);
    // Slow enough that start() and wait() meet a job still under way.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    log.entries.push_back(log.next);
}

// Each start() waits for the job before it, wait() for the last one, and the destructor
// for whatever is still under way: the jobs' effects are all there, in order.
TEST(BackgroundWorker, RunsJobsOneAtATimeInOrder) {
    Log log;
    {
        BackgroundWorker worker;
        for (int n = 0; n < 5; ++n) {
            worker.start(&appendSlowly, &log);
            worker.wait();
            log.next = n + 1;  // the job is done: the log is the owner's again
        }
        EXPECT_EQ(log.entries, (std::vector<int>{0, 1, 2, 3, 4}));
        worker.start(&appendSlowly, &log);
    }
    EXPECT_EQ(log.entries.size(), 6u);
    EXPECT_EQ(log.entries.back(), 5);
}

// A job that throws is a failed job for its owner, never the end of the process; the worker
// goes on with the next job.
TEST(BackgroundWorker, AJobThatThrowsIsReportedAsAFailure) {
    Log log;
    BackgroundWorker worker;
    worker.start([](void*) { throw std::runtime_error("read failed"); }, nullptr);
    EXPECT_TRUE(worker.takeFailure());
    EXPECT_FALSE(worker.takeFailure());
    worker.start(&appendSlowly, &log);
    EXPECT_FALSE(worker.takeFailure());
    EXPECT_EQ(log.entries.size(), 1u);
}

// A worker that never gets a job: wait() returns at once, there is no failure to take, and
// the destructor ends the idle thread instead of waiting for a job that never comes. Run on
// a thread of its own, so that a hang fails the test instead of stopping the program.
TEST(BackgroundWorker, EndsCleanlyWithoutAJob) {
    std::promise<bool> ended;
    std::future<bool> failure = ended.get_future();
    std::thread([done = std::move(ended)]() mutable {
        bool failed = true;
        {
            BackgroundWorker worker;
            worker.wait();
            failed = worker.takeFailure();
        }
        done.set_value(failed);
    }).detach();
    ASSERT_EQ(failure.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "an idle worker did not end";
    EXPECT_FALSE(failure.get());
}

// A stop signal never reaches a worker: the main thread, which holds the signals back while it
// renames a run's files, is the one that takes it.
TEST(BackgroundWorker, LeavesTheStopSignalsToTheMainThread) {
    sigset_t blocked;
    sigemptyset(&blocked);
    BackgroundWorker worker;
    worker.start([](void* mask) { pthread_sigmask(SIG_BLOCK, nullptr, static_cast<sigset_t*>(mask)); }, &blocked);
    worker.wait();
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) EXPECT_EQ(sigismember(&blocked, signalNumber), 1);
    EXPECT_EQ(sigismember(&blocked, SIGPIPE), 0);
}

}  // namespace
}  // namespace kova
