// Costs of the noise core: the table build, the fractal sum per octave, one displaced
// point and one visualisation curve. The baseline for speed work on the deformer.
#include "axisNoiseField.h"

#include <benchmark/benchmark.h>

#include <new>
#include <vector>

namespace {

// Sample points spread over a few lattice cells, positive and negative.
std::vector<float> samplePoints(int count)
{
    std::vector<float> points(2 * count);
    unsigned state = 12345u;
    for (float& value : points) {
        state = state * 1664525u + 1013904223u;
        value = float(int(state >> 8) % 20000 - 10000) / 1000.0f;
    }
    return points;
}

void BM_TableBuild(benchmark::State& state)
{
    alignas(Perlin) unsigned char storage[sizeof(Perlin)];
    int seed = 0;
    for (auto _ : state) {
        Perlin* perlin = new (storage) Perlin(1, 1.0f, 1.0f, seed++);
        benchmark::DoNotOptimize(perlin->Get(0.5f, 0.5f)); // the first evaluation builds
    }
}
BENCHMARK(BM_TableBuild);

void BM_Get(benchmark::State& state)
{
    const int octaves = int(state.range(0));
    Perlin perlin(octaves, 1.0f, 1.0f, 1);
    const std::vector<float> points = samplePoints(4096);
    perlin.Get(0.5f, 0.5f);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(perlin.Get(points[i], points[i + 1]));
        i = (i + 2) & 8191;
    }
    state.counters["ns_per_octave"] = benchmark::Counter(double(state.iterations()) * octaves,
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Get)->Arg(1)->Arg(4)->Arg(10);

void BM_DisplacePoint(benchmark::State& state)
{
    Perlin x = makeAxisNoise(4, 1.0f, 0.5f, 0);
    Perlin y = makeAxisNoise(4, 1.0f, 0.5f, 1);
    Perlin z = makeAxisNoise(4, 1.0f, 0.5f, 2);
    const std::vector<float> points = samplePoints(4096);
    displacePoint(x, y, z, 0.1, 0.2, 0.3);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(displacePoint(x, y, z, points[i], points[i + 1], 0.25));
        i = (i + 2) & 8191;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DisplacePoint);

void BM_SampleCurve500(benchmark::State& state)
{
    Perlin y = makeAxisNoise(4, 1.0f, 0.5f, 1);
    Perlin z = makeAxisNoise(4, 1.0f, 0.5f, 2);
    static FieldPoint curve[MAX_PTS];
    sampleCurve(kNoiseAxisX, 10.0f, 500, y, z, curve);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sampleCurve(kNoiseAxisX, 10.0f, 500, y, z, curve));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SampleCurve500);

} // namespace
