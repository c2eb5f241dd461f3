// The host's own parallel loops: a large copy between a mesh and the arrays a plug-in works
// on, split over the host's thread pool (Host::setThreadCount) as a plug-in's tasks are.
#pragma once

#include "ThreadPool.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace hx {

// Fewer elements than this are done on the calling thread: waking the workers would cost
// more than it saves.
constexpr std::size_t kPoolShareMin = 65536;

// Calls work(begin, end) over disjoint ranges that together cover [0, count), on the pool's
// threads at once when the count is large enough, and returns when all are done. `work`
// must not throw, and must touch only its own range.
template <class Work>
void inPoolShares(std::size_t count, Work work) {
    ThreadPool& pool = ThreadPool::get();
    const std::size_t shares =
        count < 2 * kPoolShareMin ? 1 : std::min<std::size_t>(pool.size(), count / kPoolShareMin);
    if (shares <= 1) {
        work(std::size_t(0), count);
        return;
    }
    struct Share {
        Work* work;
        std::size_t begin, end;
        static void* run(void* data) {
            Share& share = *static_cast<Share*>(data);
            (*share.work)(share.begin, share.end);
            return nullptr;
        }
    };
    std::vector<Share> ranges(shares);
    std::vector<ThreadPool::Task> tasks(shares);
    for (std::size_t s = 0; s < shares; ++s) {
        ranges[s] = Share{&work, count * s / shares, count * (s + 1) / shares};
        tasks[s] = ThreadPool::Task{&Share::run, &ranges[s]};
    }
    // The pool is let go however the region ends (the system may refuse a thread).
    struct Use {
        ThreadPool& pool;
        explicit Use(ThreadPool& p) : pool(p) { pool.acquire(); }
        ~Use() { pool.release(); }
    } use(pool);
    pool.run(tasks);
}

}  // namespace hx
