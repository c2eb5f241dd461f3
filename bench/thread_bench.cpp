// The deformation of 1,000,000 points at 4 octaves on the host's thread pool, against one
// thread, in one run; and what more cores than this machine has would give, simulated by
// the share of one task.
//
//   BM_Deformer/threads:N     the plug-in through the host, as hxnoise runs it: the host
//                             evaluates the deformed mesh (deform: points out of the
//                             iterator into an MPointArray, split over tasks in the pool
//                             that deform it in place, written back into the output mesh,
//                             which the host lends), on a pool of N threads
//   BM_HostAlone              the same evaluation with the deform space scaled to nothing,
//                             where deform reads its attributes and moves no point: what
//                             the host costs around the deformation (BM_Deformer less
//                             this is the deformer's own time)
//   BM_PoolCore/threads:N     the same split of the noise core's deformation over the
//                             pool's tasks, without the host's geometry around it
//   BM_OneTaskOf/tasks:N      one thread deforming 1/N of the points: with N cores and
//                             N tasks, the time the slowest core would need (the
//                             simulated figure; it leaves out what threads share, such as
//                             memory bandwidth, and the serial part around the tasks)
//
// Each records the fastest single evaluation (fastest_ms) beside the mean wall time, and
// processor times (see timed) from which the wall time on an otherwise idle machine can
// be told apart from what the other work on a shared machine adds to it.
#include "DeformSpace.h"
#include "axisNoiseField.h"
#include "noiseBatch.h"

#include <engine/Host.h>

#include <maya/MThreadPool.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <time.h>

namespace {

const int kPoints = 1000000;
const int kOctaves = 4;
const unsigned int kTask = 16384; // the deformer's points per task

// Points spread through a cube of side 20 around the origin (x, y, z each).
std::vector<double> cubePoints()
{
    std::vector<double> points(3 * size_t(kPoints));
    unsigned state = 12345u;
    for (double& value : points) {
        state = state * 1664525u + 1013904223u;
        value = double(int(state >> 8) % 20000 - 10000) / 1000.0;
    }
    return points;
}

double cpuMs(clockid_t clock)
{
    timespec now;
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Times `work` per iteration: wall time (the benchmark's time), the fastest wall time, and
// processor time, which other work on a shared machine disturbs far less than wall time:
//   main_cpu_ms   the calling thread's, fewest of any iteration
//   all_cpu_ms    every thread's together, fewest of any iteration
//   idle_ms       max(main, all - main): the wall time with a core for each of two threads
//                 and nothing else running (the pool's workers run while the calling
//                 thread does its share; what the calling thread does alone is in main)
template <class Work>
void timed(benchmark::State& state, Work work)
{
    double fastest = 1e300, fewestMain = 1e300, fewestAll = 1e300, fewestIdle = 1e300;
    rusage before;
    getrusage(RUSAGE_SELF, &before);
    for (auto _ : state) {
        const double main0 = cpuMs(CLOCK_THREAD_CPUTIME_ID), all0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        const auto start = std::chrono::steady_clock::now();
        work();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const double main = cpuMs(CLOCK_THREAD_CPUTIME_ID) - main0, all = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - all0;
        fastest = std::min(fastest, ms);
        fewestMain = std::min(fewestMain, main);
        fewestAll = std::min(fewestAll, all);
        fewestIdle = std::min(fewestIdle, std::max(main, all - main));
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["fastest_ms"] = fastest;
    state.counters["main_cpu_ms"] = fewestMain;
    state.counters["all_cpu_ms"] = fewestAll;
    state.counters["idle_ms"] = fewestIdle;
    rusage after;
    getrusage(RUSAGE_SELF, &after);
    // Page faults per evaluation: fresh memory costs the kernel a fault per page touched.
    state.counters["faults"] = double(after.ru_minflt - before.ru_minflt) / double(state.iterations());
}

// A scene with hxNoise on a 1,000,000-point mesh, 4 octaves on every axis, placed.
bool makeScene()
{
    hx::Host& host = hx::Host::instance();
    static bool made = false;
    if (made) return true;
    host.reset();
    if (!host.loadPlugin(HX_NOISE_PLUGIN) || !host.createNode("transform", "blob") ||
        !host.createNode("mesh", "blobShape", "blob") || !host.setMesh("blobShape", cubePoints(), {}, {}) ||
        !host.deformer("hxNoise", "blobShape")) {
        std::fprintf(stderr, "thread_bench: cannot set up the scene: %s\n", host.lastError().c_str());
        return false;
    }
    for (const char* axis : {"ox", "oy", "oz"}) {
        host.setAttr(std::string("hxNoise1.") + axis + "NoiseOctaves", kOctaves);
        host.setAttr(std::string("hxNoise1.") + axis + "NoiseAmp", 0.5);
    }
    host.setAttr("transform1.rotate", {30, 20, 0});
    std::vector<double> points;
    host.meshPoints("blobShape", points); // the first evaluation also sets the scene up
    made = true;
    return true;
}

void BM_Deformer(benchmark::State& state)
{
    if (!makeScene()) {
        state.SkipWithError("no scene");
        return;
    }
    hx::Host& host = hx::Host::instance();
    host.setThreadCount(unsigned(state.range(0)));
    std::shared_ptr<const std::vector<double>> points; // lent, as a viewer or writer reads them
    int seed = 0;
    timed(state, [&] {
        host.setAttr("hxNoise1.oxNoiseSeed", ++seed % 2); // a new evaluation each time
        host.meshPoints("blobShape", points);
    });
    host.setThreadCount(0);
}

void BM_HostAlone(benchmark::State& state)
{
    if (!makeScene()) {
        state.SkipWithError("no scene");
        return;
    }
    hx::Host& host = hx::Host::instance();
    host.setAttr("transform1.scale", {0, 0, 0});
    std::shared_ptr<const std::vector<double>> points; // lent, as a viewer or writer reads them
    int seed = 0;
    timed(state, [&] {
        host.setAttr("hxNoise1.oxNoiseSeed", ++seed % 2);
        host.meshPoints("blobShape", points);
    });
    host.setAttr("transform1.scale", {1, 1, 1});
}

struct Range
{
    Perlin* gen;
    double* points;
    unsigned int count;
    const double (*mat)[4];
    const double (*inv)[4];
};

MThreadRetVal deformRange(void* data)
{
    Range& r = *static_cast<Range*>(data);
    deformPoints(r.gen[0], r.gen[1], r.gen[2], r.mat, r.inv, r.points, r.count);
    return nullptr;
}

struct CoreField
{
    std::vector<Perlin> gen;
    std::vector<double> source; // x, y, z, w per point
    Space space;
    CoreField()
    {
        for (int a = 0; a < 3; ++a) gen.push_back(makeAxisNoise(kOctaves, 1.0f, 0.5f, a));
        const std::vector<double> xyz = cubePoints();
        source.resize(4 * size_t(kPoints));
        for (size_t i = 0; i < size_t(kPoints); ++i) {
            std::copy(&xyz[3 * i], &xyz[3 * i] + 3, &source[4 * i]);
            source[4 * i + 3] = 1.0;
        }
        prepareDeformation(gen[0], gen[1], gen[2]);
    }
};

CoreField& coreField()
{
    static CoreField field;
    return field;
}

void BM_PoolCore(benchmark::State& state)
{
    CoreField& field = coreField();
    hx::Host::instance().setThreadCount(unsigned(state.range(0)));
    std::vector<double> points = field.source;
    std::vector<Range> ranges;
    for (unsigned int begin = 0; begin < unsigned(kPoints); begin += kTask)
        ranges.push_back(Range{field.gen.data(), &points[4 * size_t(begin)], std::min(kTask, kPoints - begin),
                               field.space.mat, field.space.inv});
    MThreadPool::init();
    timed(state, [&] {
        MThreadPool::newParallelRegion(
            [](void* data, MThreadRootTask* root) {
                for (Range& range : *static_cast<std::vector<Range>*>(data))
                    MThreadPool::createTask(deformRange, &range, root);
                MThreadPool::executeAndJoin(root);
            },
            &ranges);
    });
    MThreadPool::release();
    hx::Host::instance().setThreadCount(0);
}

void BM_OneTaskOf(benchmark::State& state)
{
    CoreField& field = coreField();
    const unsigned int share = unsigned(kPoints / state.range(0));
    std::vector<double> points(field.source.begin(), field.source.begin() + 4 * size_t(share));
    Range range{field.gen.data(), points.data(), share, field.space.mat, field.space.inv};
    timed(state, [&] { deformRange(&range); });
}

} // namespace

BENCHMARK(BM_Deformer)->ArgName("threads")->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostAlone)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PoolCore)->ArgName("threads")->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneTaskOf)
    ->ArgName("tasks")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
