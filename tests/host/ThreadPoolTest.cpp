// The thread pool the host lends plug-ins (MThreadPool): tasks in regions, run on the
// host's threads and the calling thread, joined; the pool taken and given back by count;
// and what a plug-in meets when the host refuses it the pool.
#include "HostFixture.h"

#include <engine/HostTesting.h>

#include <maya/MThreadPool.h>

#include <atomic>
#include <chrono>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// A task's record: how often it ran and on which thread.
struct Slot {
    std::atomic<int> runs{0};
    std::thread::id thread;
};

MThreadRetVal countRun(void* data) {
    Slot& slot = *static_cast<Slot*>(data);
    slot.thread = std::this_thread::get_id();
    // Long enough that the other threads get their share of the tasks.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    ++slot.runs;
    return nullptr;
}

// A region that runs one task per slot.
void oneTaskPerSlot(void* data, MThreadRootTask* root) {
    auto& slots = *static_cast<std::vector<Slot>*>(data);
    for (Slot& slot : slots) ASSERT_EQ(MThreadPool::createTask(countRun, &slot, root).statusCode(), MStatus::kSuccess);
    MThreadPool::executeAndJoin(root);
}

// A region that runs `task` once on each of `items`, each its own task, in the order of `items`.
template <class Item>
MStatus taskPerItem(std::vector<Item>& items, MThreadFunc task) {
    struct Region {
        std::vector<Item>* items;
        MThreadFunc task;
    } region{&items, task};
    return MThreadPool::newParallelRegion(
        [](void* data, MThreadRootTask* root) {
            Region& r = *static_cast<Region*>(data);
            for (Item& item : *r.items) MThreadPool::createTask(r.task, &item, root);
            MThreadPool::executeAndJoin(root);
        },
        &region);
}

// Runs `tasks` tasks in one region; returns the slots (each must have run once).
std::vector<Slot> runRegion(size_t tasks, MStatus* status = nullptr) {
    std::vector<Slot> slots(tasks);
    const MStatus ran = MThreadPool::newParallelRegion(oneTaskPerSlot, &slots);
    if (status) *status = ran;
    return slots;
}

int timesRun(const std::vector<Slot>& slots) {
    int runs = 0;
    for (const Slot& slot : slots) runs += slot.runs;
    return runs;
}

std::string reason(const MStatus& status) { return status.errorString().asChar(); }

}  // namespace

class ThreadPool : public HostTest {
protected:
    void TearDown() override {
        host().setThreadCount(0);
        HostTest::TearDown();
    }
};

TEST_F(ThreadPool, EveryTaskRunsOnceWhateverThePoolSize) {
    for (unsigned int threads : {1u, 2u, 3u, 7u}) {
        host().setThreadCount(threads);
        EXPECT_EQ(host().threadCount(), threads);
        ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
        for (size_t tasks : {size_t(1), size_t(2), size_t(13), size_t(64)}) {
            MStatus status;
            const std::vector<Slot> slots = runRegion(tasks, &status);
            EXPECT_EQ(status.statusCode(), MStatus::kSuccess);
            std::set<std::thread::id> threadsUsed;
            for (const Slot& slot : slots) {
                EXPECT_EQ(slot.runs, 1) << threads << " threads, " << tasks << " tasks";
                threadsUsed.insert(slot.thread);
            }
            EXPECT_LE(threadsUsed.size(), threads) << "no more threads than the pool has";
        }
        MThreadPool::release();
    }
}

TEST_F(ThreadPool, OneThreadRunsEveryTaskOnTheCallingThreadInTheOrderCreated) {
    host().setThreadCount(1);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    std::vector<int> order;
    struct Step {
        std::vector<int>* order;
        int number;
        std::thread::id thread;
    };
    std::vector<Step> steps;
    for (int i = 0; i < 5; ++i) steps.push_back(Step{&order, i, {}});
    taskPerItem(steps, [](void* s) -> MThreadRetVal {
        Step& step = *static_cast<Step*>(s);
        step.order->push_back(step.number);
        step.thread = std::this_thread::get_id();
        return nullptr;
    });
    MThreadPool::release();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    for (const Step& step : steps) EXPECT_EQ(step.thread, std::this_thread::get_id());
}

// Two tasks that each wait for the other to have started finish only if they run at once.
TEST_F(ThreadPool, TwoThreadsRunTwoTasksAtOnce) {
    host().setThreadCount(2);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    struct Meeting {
        std::atomic<int> arrived{0};
        std::atomic<int> met{0};
    } meeting;
    MThreadPool::newParallelRegion(
        [](void* data, MThreadRootTask* root) {
            auto meet = [](void* m) -> MThreadRetVal {
                Meeting& meeting = *static_cast<Meeting*>(m);
                ++meeting.arrived;
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (meeting.arrived < 2 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
                if (meeting.arrived == 2) ++meeting.met;
                return nullptr;
            };
            MThreadPool::createTask(meet, data, root);
            MThreadPool::createTask(meet, data, root);
            MThreadPool::executeAndJoin(root);
        },
        &meeting);
    MThreadPool::release();
    EXPECT_EQ(meeting.met, 2);
}

TEST_F(ThreadPool, ARegionRunsSeveralBatchesAndEveryTaskItCreated) {
    host().setThreadCount(3);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    struct Batches {
        std::vector<Slot> first = std::vector<Slot>(9);
        std::vector<Slot> second = std::vector<Slot>(9);
        int firstDoneBeforeSecond = 0;
        std::vector<Slot> unjoined = std::vector<Slot>(4);
    } batches;
    const MStatus status = MThreadPool::newParallelRegion(
        [](void* data, MThreadRootTask* root) {
            Batches& b = *static_cast<Batches*>(data);
            for (Slot& slot : b.first) MThreadPool::createTask(countRun, &slot, root);
            MThreadPool::executeAndJoin(root);
            b.firstDoneBeforeSecond = timesRun(b.first);
            for (Slot& slot : b.second) MThreadPool::createTask(countRun, &slot, root);
            MThreadPool::executeAndJoin(root);
            // Created and never joined: the region still runs them before it returns.
            for (Slot& slot : b.unjoined) MThreadPool::createTask(countRun, &slot, root);
        },
        &batches);
    MThreadPool::release();
    EXPECT_EQ(status.statusCode(), MStatus::kSuccess);
    EXPECT_EQ(batches.firstDoneBeforeSecond, 9) << "executeAndJoin returns when its tasks have";
    EXPECT_EQ(timesRun(batches.second), 9) << "each task once: the first batch is not run again";
    EXPECT_EQ(timesRun(batches.unjoined), 4);
}

TEST_F(ThreadPool, ThePoolIsCountedAndUsableAgainAfterItsRelease) {
    host().setThreadCount(2);
    MStatus status;
    runRegion(3, &status);
    EXPECT_EQ(status.statusCode(), MStatus::kFailure) << "no region before init";
    EXPECT_EQ(reason(status),
              "(kFailure): MThreadPool::newParallelRegion: the pool is not initialised "
              "(MThreadPool::init)");

    // Two users (a plug-in's deform inside another's, say): the pool stays until both
    // have let it go.
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    MThreadPool::release();
    EXPECT_EQ(timesRun(runRegion(8, &status)), 8);
    EXPECT_EQ(status.statusCode(), MStatus::kSuccess);
    MThreadPool::release();
    EXPECT_EQ(timesRun(runRegion(8, &status)), 0);
    EXPECT_EQ(status.statusCode(), MStatus::kFailure) << "released as often as taken";
    MThreadPool::release();  // one release too many changes nothing

    // Taken again, with another size.
    host().setThreadCount(3);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    EXPECT_EQ(timesRun(runRegion(20, &status)), 20);
    EXPECT_EQ(status.statusCode(), MStatus::kSuccess);
    MThreadPool::release();
    EXPECT_EQ(runRegion(1, &status)[0].runs, 0) << "the extra release was not banked";
}

TEST_F(ThreadPool, TheSizeIsTheHostsSettingAllCoresByDefault) {
    EXPECT_EQ(host().threadCount(), std::max(1u, std::thread::hardware_concurrency()));
    host().setThreadCount(5);
    EXPECT_EQ(host().threadCount(), 5u);
    host().reset();
    EXPECT_EQ(host().threadCount(), 5u) << "a reset empties the scene, not the host's settings";
    host().setThreadCount(0);
    EXPECT_EQ(host().threadCount(), std::max(1u, std::thread::hardware_concurrency()));
}

TEST_F(ThreadPool, ARefusedInitOrRegionRunsNothing) {
    host().setThreadCount(2);
    {
        hx::FaultPlan faults;
        faults.failCall("MThreadPool::init", 1);
        const MStatus refused = MThreadPool::init();
        EXPECT_EQ(refused.statusCode(), MStatus::kFailure);
        EXPECT_EQ(reason(refused), "(kFailure): MThreadPool::init: injected failure");
        MStatus status;
        EXPECT_EQ(timesRun(runRegion(4, &status)), 0);
        EXPECT_EQ(status.statusCode(), MStatus::kFailure) << "a refused init takes no share of the pool";
    }
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    {
        hx::FaultPlan faults;
        faults.failCall("MThreadPool::newParallelRegion", 2, MStatus::kInsufficientMemory);
        MStatus status;
        EXPECT_EQ(timesRun(runRegion(4, &status)), 4);
        EXPECT_EQ(status.statusCode(), MStatus::kSuccess);
        EXPECT_EQ(timesRun(runRegion(4, &status)), 0) << "the callback is never called";
        EXPECT_EQ(status.statusCode(), MStatus::kInsufficientMemory);
        EXPECT_EQ(timesRun(runRegion(4, &status)), 4);
        EXPECT_EQ(faults.calls("MThreadPool::newParallelRegion"), 3u);
    }
    MThreadPool::release();
}

TEST_F(ThreadPool, ARefusedOrMalformedTaskIsNotRun) {
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    struct Attempt {
        std::vector<Slot> slots = std::vector<Slot>(3);
        std::vector<MStatus> statuses;
    } attempt;
    hx::FaultPlan faults;
    faults.failCall("MThreadPool::createTask", 2);
    MThreadPool::newParallelRegion(
        [](void* data, MThreadRootTask* root) {
            Attempt& a = *static_cast<Attempt*>(data);
            for (Slot& slot : a.slots) a.statuses.push_back(MThreadPool::createTask(countRun, &slot, root));
            a.statuses.push_back(MThreadPool::createTask(nullptr, &a.slots[0], root));
            a.statuses.push_back(MThreadPool::createTask(countRun, &a.slots[0], nullptr));
            MThreadPool::executeAndJoin(root);
        },
        &attempt);
    MThreadPool::executeAndJoin(nullptr);  // nothing to run
    EXPECT_EQ(MThreadPool::newParallelRegion(nullptr, nullptr).statusCode(), MStatus::kInvalidParameter);
    MThreadPool::release();

    ASSERT_EQ(attempt.statuses.size(), 5u);
    EXPECT_EQ(attempt.statuses[0].statusCode(), MStatus::kSuccess);
    EXPECT_EQ(reason(attempt.statuses[1]), "(kFailure): MThreadPool::createTask: injected failure");
    EXPECT_EQ(attempt.statuses[2].statusCode(), MStatus::kSuccess);
    EXPECT_EQ(attempt.statuses[3].statusCode(), MStatus::kInvalidParameter);
    EXPECT_EQ(attempt.statuses[4].statusCode(), MStatus::kInvalidParameter);
    EXPECT_EQ(attempt.slots[0].runs, 1);
    EXPECT_EQ(attempt.slots[1].runs, 0);
    EXPECT_EQ(attempt.slots[2].runs, 1);
}

TEST_F(ThreadPool, ATaskThatThrowsFailsItsRegionAfterTheOthersFinish) {
    host().setThreadCount(3);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    std::vector<Slot> slots(12);
    EXPECT_THROW(MThreadPool::newParallelRegion(
                     [](void* data, MThreadRootTask* root) {
                         auto& s = *static_cast<std::vector<Slot>*>(data);
                         MThreadPool::createTask(
                             [](void*) -> MThreadRetVal { throw std::runtime_error("task failed"); }, nullptr, root);
                         for (Slot& slot : s) MThreadPool::createTask(countRun, &slot, root);
                         MThreadPool::executeAndJoin(root);
                     },
                     &slots),
                 std::runtime_error);
    EXPECT_EQ(timesRun(slots), 12);
    EXPECT_EQ(timesRun(runRegion(6)), 6) << "the pool goes on working";
    MThreadPool::release();
}

TEST_F(ThreadPool, ARegionOpenedInsideATaskRunsItsTasksOnThatTasksThread) {
    host().setThreadCount(2);
    ASSERT_EQ(MThreadPool::init().statusCode(), MStatus::kSuccess);
    struct Outer {
        std::vector<Slot> inner[4] = {std::vector<Slot>(5), std::vector<Slot>(5), std::vector<Slot>(5),
                                      std::vector<Slot>(5)};
        std::thread::id outerThread[4];
    } outer;
    struct Part {
        Outer* outer;
        int index;
    };
    std::vector<Part> parts;
    for (int i = 0; i < 4; ++i) parts.push_back(Part{&outer, i});
    taskPerItem(parts, [](void* p) -> MThreadRetVal {
        Part& part = *static_cast<Part*>(p);
        part.outer->outerThread[part.index] = std::this_thread::get_id();
        MThreadPool::init();
        MThreadPool::newParallelRegion(oneTaskPerSlot, &part.outer->inner[part.index]);
        MThreadPool::release();
        return nullptr;
    });
    MThreadPool::release();
    for (int i = 0; i < 4; ++i)
        for (const Slot& slot : outer.inner[i]) {
            EXPECT_EQ(slot.runs, 1);
            EXPECT_EQ(slot.thread, outer.outerThread[i]);
        }
}
