#include "ThreadPool.h"

#include <system_error>

namespace hx {

namespace {

// Set on a thread while it runs one of the pool's tasks: a region it opens runs inline.
thread_local bool tInsideTask = false;

class InsideTask {
public:
    InsideTask() : mWas(tInsideTask) { tInsideTask = true; }
    ~InsideTask() { tInsideTask = mWas; }

private:
    bool mWas;
};

}  // namespace

ThreadPool& ThreadPool::get() {
    // Never destroyed: a pool still held at exit must not be torn down under threads
    // waiting on it.
    static ThreadPool* pool = new ThreadPool();
    return *pool;
}

ThreadPool::~ThreadPool() { stopWorkers(); }

unsigned int ThreadPool::coreCount() {
    const unsigned int cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

void ThreadPool::setSize(unsigned int size) {
    std::lock_guard<std::mutex> lock(mMutex);
    mSize = size;
}

unsigned int ThreadPool::size() const {
    std::lock_guard<std::mutex> lock(mMutex);
    return mSize == 0 ? coreCount() : mSize;
}

void ThreadPool::acquire() {
    std::lock_guard<std::mutex> lock(mMutex);
    ++mUsers;
}

void ThreadPool::release() {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mUsers == 0) return;  // a release without its acquire changes nothing
        if (--mUsers > 0) return;
    }
    // The last user has gone. Inside a task the region is still running: its workers stay
    // until the next time the pool is let go, or are reused.
    if (tInsideTask) return;
    std::lock_guard<std::mutex> region(mRegionMutex);
    if (!inUse()) stopWorkers();
}

bool ThreadPool::inUse() const {
    std::lock_guard<std::mutex> lock(mMutex);
    return mUsers > 0;
}

void ThreadPool::stopWorkers() {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStopping = true;
    }
    mWake.notify_all();
    for (std::thread& worker : mWorkers) worker.join();
    mWorkers.clear();
    std::lock_guard<std::mutex> lock(mMutex);
    mStopping = false;
}

void ThreadPool::resizeWorkers(unsigned int count) {
    stopWorkers();
    unsigned long region;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        region = mRegion;
    }
    mWorkers.reserve(count);
    for (unsigned int i = 0; i < count; ++i) {
        try {
            mWorkers.emplace_back(&ThreadPool::workerLoop, this, region);
        } catch (const std::system_error&) {
            break;  // the system gives no more threads: the calling thread takes up the rest
        }
    }
}

void ThreadPool::workerLoop(unsigned long seenRegion) {
    std::unique_lock<std::mutex> lock(mMutex);
    for (;;) {
        mWake.wait(lock, [&] { return mStopping || (mTasks && mRegion != seenRegion); });
        if (mStopping) return;
        seenRegion = mRegion;
        work(lock);
    }
}

void ThreadPool::work(std::unique_lock<std::mutex>& lock) {
    while (mTasks && mNext < mTasks->size()) {
        const Task task = (*mTasks)[mNext++];
        lock.unlock();
        std::exception_ptr error;
        {
            InsideTask inside;
            try {
                task.function(task.data);
            } catch (...) {
                error = std::current_exception();
            }
        }
        lock.lock();
        if (error && !mError) mError = error;
        if (++mFinished == mTasks->size()) mDone.notify_all();
    }
}

void ThreadPool::runInline(const std::vector<Task>& tasks) {
    std::exception_ptr error;
    InsideTask inside;
    for (const Task& task : tasks) {
        try {
            task.function(task.data);
        } catch (...) {
            if (!error) error = std::current_exception();
        }
    }
    if (error) std::rethrow_exception(error);
}

void ThreadPool::run(const std::vector<Task>& tasks) {
    if (tasks.empty()) return;
    if (tInsideTask || tasks.size() == 1) {
        runInline(tasks);
        return;
    }
    std::lock_guard<std::mutex> region(mRegionMutex);
    const unsigned int workers = size() - 1;
    if (mWorkers.size() != workers) resizeWorkers(workers);
    if (mWorkers.empty()) {
        runInline(tasks);
        return;
    }

    std::exception_ptr error;
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mTasks = &tasks;
        mNext = 0;
        mFinished = 0;
        mError = nullptr;
        ++mRegion;
        mWake.notify_all();
        // The calling thread takes tasks too, then waits for those still running.
        work(lock);
        mDone.wait(lock, [&] { return mFinished == tasks.size(); });
        mTasks = nullptr;
        error = mError;
        mError = nullptr;
    }
    if (error) std::rethrow_exception(error);
}

}  // namespace hx
