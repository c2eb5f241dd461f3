#include <maya/MThreadPool.h>

#include "../engine/Access.h"
#include "../engine/Faults.h"
#include "../engine/ThreadPool.h"

#include <mutex>
#include <new>
#include <vector>

using hx::Access;

// The tasks a region's callback has created and not yet run.
class MThreadRootTask {
public:
    std::vector<hx::ThreadPool::Task> mTasks;
};

namespace {

// The fault plan is the host's, kept for one thread; a task may call the pool too.
MStatus plannedFault(const char* function) {
    static std::mutex plan;
    std::lock_guard<std::mutex> lock(plan);
    return hx::injectedFault(function);
}

}  // namespace

MStatus MThreadPool::init() {
    MStatus fault = plannedFault("MThreadPool::init");
    if (!fault) return fault;
    hx::ThreadPool::get().acquire();
    return MStatus::kSuccess;
}

MStatus MThreadPool::newParallelRegion(MThreadCallbackFunc func, void* data) {
    if (!func) return Access::fail(MStatus::kInvalidParameter, "MThreadPool::newParallelRegion: no callback");
    MStatus fault = plannedFault("MThreadPool::newParallelRegion");
    if (!fault) return fault;
    if (!hx::ThreadPool::get().inUse())
        return Access::fail(MStatus::kFailure,
                            "MThreadPool::newParallelRegion: the pool is not initialised "
                            "(MThreadPool::init)");
    MThreadRootTask root;
    func(data, &root);
    // Tasks the callback created but did not join still run before the region ends.
    executeAndJoin(&root);
    return MStatus::kSuccess;
}

MStatus MThreadPool::createTask(MThreadFunc func, void* data, MThreadRootTask* root) {
    if (!func || !root)
        return Access::fail(MStatus::kInvalidParameter, func ? "MThreadPool::createTask: no root task"
                                                             : "MThreadPool::createTask: no task function");
    MStatus fault = plannedFault("MThreadPool::createTask");
    if (!fault) return fault;
    try {
        root->mTasks.push_back(hx::ThreadPool::Task{func, data});
    } catch (const std::bad_alloc&) {
        return Access::fail(MStatus::kInsufficientMemory, "MThreadPool::createTask: out of memory");
    }
    return MStatus::kSuccess;
}

void MThreadPool::executeAndJoin(MThreadRootTask* root) {
    if (!root) return;
    // The root is empty again at once, ready for the callback's next batch.
    std::vector<hx::ThreadPool::Task> tasks;
    tasks.swap(root->mTasks);
    hx::ThreadPool::get().run(tasks);
}

void MThreadPool::release() { hx::ThreadPool::get().release(); }
