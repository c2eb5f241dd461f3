// The host's pool of worker threads, behind the API's MThreadPool: plug-ins hand it tasks
// in regions and it runs them on its workers and on the calling thread.
//
// The pool's size is the host's setting (Host::setThreadCount): the calling thread plus
// size - 1 workers, so a size of 1 runs every task inline, in the order created. Workers
// start with the first region that has more than one task and stop when the last user
// lets the pool go (release); a new size takes effect with the next region.
//
// One region runs at a time; a region opened from inside a task (or while another thread
// holds the pool) runs its tasks on its own thread, in order, so nested use never waits on
// workers that are busy with the outer region.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace hx {

class ThreadPool {
public:
    using Function = void* (*)(void*);
    struct Task {
        Function function;
        void* data;
    };

    static ThreadPool& get();

    // 0: one thread per processor core (std::thread::hardware_concurrency, at least 1).
    void setSize(unsigned int size);
    unsigned int size() const;
    static unsigned int coreCount();

    // Reference counted: the last release stops the workers.
    void acquire();
    void release();
    bool inUse() const;

    // Runs every task once, on the workers and the calling thread, and returns when all
    // have returned. An exception thrown by a task is thrown again here, after the others
    // have finished (the first one, if several threw).
    void run(const std::vector<Task>& tasks);

    ~ThreadPool();

private:
    ThreadPool() = default;
    // Brings the workers to `count` (fewer if the system refuses threads). Called only
    // between regions, with mRegionMutex held.
    void resizeWorkers(unsigned int count);
    void stopWorkers();
    void workerLoop(unsigned long seenRegion);
    // Takes tasks of the current region until none is left; `lock` holds mMutex.
    void work(std::unique_lock<std::mutex>& lock);
    static void runInline(const std::vector<Task>& tasks);

    mutable std::mutex mMutex;
    std::condition_variable mWake;  // a region for the workers, or stop
    std::condition_variable mDone;  // the region's last task has returned
    std::vector<std::thread> mWorkers;
    unsigned int mSize = 0;  // 0: coreCount()
    unsigned int mUsers = 0;
    bool mStopping = false;

    // The region in progress (guarded by mMutex).
    const std::vector<Task>* mTasks = nullptr;
    std::size_t mNext = 0;
    std::size_t mFinished = 0;
    unsigned long mRegion = 0;
    std::exception_ptr mError;

    std::mutex mRegionMutex;  // one region at a time
};

}  // namespace hx
