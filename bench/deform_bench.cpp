// The batch deformation on every path this processor has, against the scalar loop and
// against the fractal noise of two libraries users might otherwise pick, in one run.
//
// Figures (all per call of deformPoints with generators already built, points deformed
// in place as the deformer does):
//   ns_per_point           wall time / points
//   ns_per_octave_sample   wall time / (points * 3 axes * octaves)
//   fastest_ns_per_point   the fastest single call / points: on a machine shared with
//                          other work, the call least disturbed by it
// The table build of three fresh generators is measured on its own, beside a whole
// 10,000-point evaluation. A summary table with the speed-up of each path over the
// scalar loop at the same size and octaves is printed after the run, with the cost of
// each octave past the fourth: (time at 8 octaves - time at 4) / (points * 3 axes * 4),
// which leaves out everything an evaluation pays once per point (matrix products,
// conversions, block copies), from the mean and from the fastest calls. With
// --benchmark_repetitions=N the summary keeps the fastest repetition of each.
//
// The reference libraries evaluate 3-D noise (libnoise's Perlin module in double
// precision, stb_perlin's fbm in float) at (a, b, 0): the same three 4-octave samples
// per point as the deformation, but each octave is a 3-D lattice evaluation (8 corners)
// where ours is 2-D (4 corners).
#include "DeformSpace.h"
#include "axisNoiseField.h"
#include "noiseBatch.h"

#include <benchmark/benchmark.h>

#if defined(HX_BENCH_LIBNOISE)
#include <libnoise/noise.h>
#endif
#if defined(HX_BENCH_STB_PERLIN)
#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const int kSizes[] = {1000, 100000, 1000000};
const int kOctaves[] = {1, 4, 8, 10};
const NoiseBatchPath kPaths[] = {kNoiseBatchScalar, kNoiseBatchSse2, kNoiseBatchAvx2, kNoiseBatchAvx512};
const int kReferencePoints = 100000;

// Points spread through a cube of side 20 around the origin, w = 1.
const std::vector<double>& cubePoints(int count)
{
    static std::map<int, std::vector<double>> cache;
    std::vector<double>& points = cache[count];
    if (points.empty()) {
        points.resize(4 * size_t(count));
        unsigned state = 12345u;
        for (int i = 0; i < count; ++i) {
            for (int c = 0; c < 3; ++c) {
                state = state * 1664525u + 1013904223u;
                points[4 * size_t(i) + c] = double(int(state >> 8) % 20000 - 10000) / 1000.0;
            }
            points[4 * size_t(i) + 3] = 1.0;
        }
    }
    return points;
}

// Three generators with the deformer's defaults but for the octaves.
struct Field
{
    alignas(Perlin) unsigned char storage[3 * sizeof(Perlin)];
    explicit Field(int octaves)
    {
        new (&get()[0]) Perlin(makeAxisNoise(octaves, 1.0f, 0.5f, 0));
        new (&get()[1]) Perlin(makeAxisNoise(octaves, 1.0f, 0.5f, 1));
        new (&get()[2]) Perlin(makeAxisNoise(octaves, 1.0f, 0.5f, 2));
    }
    Perlin* get() { return reinterpret_cast<Perlin*>(storage); }
};

void setRates(benchmark::State& state, double points, double samples)
{
    const benchmark::Counter::Flags perItem =
        benchmark::Counter::Flags(benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["ns_per_point"] = benchmark::Counter(double(state.iterations()) * points, perItem);
    state.counters["ns_per_octave_sample"] = benchmark::Counter(double(state.iterations()) * samples, perItem);
}

void deformBenchmark(benchmark::State& state, NoiseBatchPath path, int count, int octaves)
{
    if (!noiseBatchSupports(path)) {
        state.SkipWithError("this processor or build lacks the path");
        return;
    }
    std::vector<double> points = cubePoints(count);
    static const Space space;
    Field field(octaves);
    Perlin* gen = field.get();
    deformPoints(path, gen[0], gen[1], gen[2], space.mat, space.inv, points.data(), 1);
    double fastest = 1e300;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        deformPoints(path, gen[0], gen[1], gen[2], space.mat, space.inv, points.data(), unsigned(count));
        benchmark::ClobberMemory();
        const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
        fastest = std::min(fastest, ns);
    }
    setRates(state, count, 3.0 * count * octaves);
    state.counters["fastest_ns_per_point"] = fastest / count;
}

// Three fresh generators and their table builds, as every deformer evaluation pays.
void BM_TableBuildOfThree(benchmark::State& state)
{
    for (auto _ : state) {
        Field field(4);
        Perlin* gen = field.get();
        for (int a = 0; a < 3; ++a) benchmark::DoNotOptimize(gen[a].Get(0.5f, 0.5f));
    }
}

// A whole evaluation on the default path: three fresh generators and a 10,000-point mesh.
void BM_Evaluation10k(benchmark::State& state)
{
    static const Space space;
    const std::vector<double>& source = cubePoints(10000);
    std::vector<double> points = source;
    for (auto _ : state) {
        Field field(4);
        Perlin* gen = field.get();
        deformPoints(gen[0], gen[1], gen[2], space.mat, space.inv, points.data(), 10000);
        benchmark::ClobberMemory();
    }
    state.SetLabel(noiseBatchPathName(noiseBatchActivePath()));
}

#if defined(HX_BENCH_LIBNOISE)
void BM_LibnoisePerlin3D(benchmark::State& state)
{
    noise::module::Perlin axes[3];
    for (int a = 0; a < 3; ++a) {
        axes[a].SetOctaveCount(4);
        axes[a].SetFrequency(1.0);
        axes[a].SetPersistence(0.5);
        axes[a].SetSeed(a);
    }
    const std::vector<double>& points = cubePoints(kReferencePoints);
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i < kReferencePoints; ++i) {
            const double* p = &points[4 * size_t(i)];
            sum += axes[1].GetValue(p[0], p[2], 0.0);
            sum += axes[0].GetValue(p[1], p[2], 0.0);
            sum += axes[2].GetValue(p[0], p[1], 0.0);
        }
        benchmark::DoNotOptimize(sum);
    }
    setRates(state, kReferencePoints, 3.0 * kReferencePoints * 4);
}
#endif

#if defined(HX_BENCH_STB_PERLIN)
void BM_StbPerlinFbm3D(benchmark::State& state)
{
    const std::vector<double>& points = cubePoints(kReferencePoints);
    for (auto _ : state) {
        float sum = 0.0f;
        for (int i = 0; i < kReferencePoints; ++i) {
            const double* p = &points[4 * size_t(i)];
            const float x = float(p[0]), y = float(p[1]), z = float(p[2]);
            sum += stb_perlin_fbm_noise3(x, z, 0.0f, 2.0f, 0.5f, 4);
            sum += stb_perlin_fbm_noise3(y, z, 0.0f, 2.0f, 0.5f, 4);
            sum += stb_perlin_fbm_noise3(x, y, 0.0f, 2.0f, 0.5f, 4);
        }
        benchmark::DoNotOptimize(sum);
    }
    setRates(state, kReferencePoints, 3.0 * kReferencePoints * 4);
}
#endif

// The processor as the kernel names it in /proc/cpuinfo ("model name", with the family and
// model numbers, since a virtual machine may give only a brand): every figure is to be read
// beside it and the paths it runs.
std::string processorName()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, name = "unknown processor", family, model;
    while (std::getline(cpuinfo, line) && !line.empty()) {
        const std::string::size_type colon = line.find(':');
        if (colon == std::string::npos || colon + 2 > line.size()) continue;
        const std::string value = line.substr(colon + 2);
        if (line.rfind("model name", 0) == 0)
            name = value;
        else if (line.rfind("cpu family", 0) == 0)
            family = value;
        else if (line.rfind("model\t", 0) == 0)
            model = value;
    }
    if (!family.empty() && !model.empty()) name += " (family " + family + ", model " + model + ")";
    return name;
}

// Deformation figures by (points, octaves, path), filled as the runs are reported.
struct Figure
{
    double nsPerPoint;
    double nsPerSample;
    double fastestPerPoint;
};

std::string deformName(NoiseBatchPath path, int points, int octaves)
{
    char name[96];
    std::snprintf(name, sizeof name, "Deform/%s/points:%d/octaves:%d", noiseBatchPathName(path), points, octaves);
    return name;
}

// The console output, then a table of the deformation figures with the speed-up of each
// path over the scalar loop, and the reference libraries per octave-sample.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    // Colours on a terminal only, so that a saved or piped run is plain text.
    SummaryReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const auto perPoint = run.counters.find("ns_per_point");
            const auto perSample = run.counters.find("ns_per_octave_sample");
            if (perPoint == run.counters.end() || perSample == run.counters.end()) continue;
            const auto fastest = run.counters.find("fastest_ns_per_point");
            Figure figure = {perPoint->second.value * 1e9, perSample->second.value * 1e9,
                             fastest == run.counters.end() ? 0.0 : fastest->second.value};
            const auto known = mFigures.find(run.run_name.function_name);
            if (known != mFigures.end()) {
                figure.fastestPerPoint = std::min(figure.fastestPerPoint, known->second.fastestPerPoint);
                if (known->second.nsPerPoint < figure.nsPerPoint) {
                    figure.nsPerPoint = known->second.nsPerPoint;
                    figure.nsPerSample = known->second.nsPerSample;
                }
            }
            mFigures[run.run_name.function_name] = figure;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        std::FILE* out = stdout;
        std::fflush(out);
        std::fprintf(out, "\nProcessor: %s\n", processorName().c_str());
        std::fprintf(out,
                     "Deformation, ns per point (ns per octave-sample) and speed-up "
                     "over scalar; processor paths: %s%s%s\n",
                     noiseBatchSupports(kNoiseBatchSse2) ? "sse2 " : "",
                     noiseBatchSupports(kNoiseBatchAvx2) ? "avx2 " : "",
                     noiseBatchSupports(kNoiseBatchAvx512) ? "avx512" : "");
        std::fprintf(out, "%-9s %-3s", "points", "oct");
        for (NoiseBatchPath path : kPaths) std::fprintf(out, " | %-26s", noiseBatchPathName(path));
        std::fprintf(out, "\n");
        for (int points : kSizes) {
            for (int octaves : kOctaves) {
                const Figure* scalar = find(deformName(kNoiseBatchScalar, points, octaves));
                if (scalar == nullptr) continue;
                std::fprintf(out, "%-9d %-3d", points, octaves);
                for (NoiseBatchPath path : kPaths) {
                    const Figure* f = find(deformName(path, points, octaves));
                    if (f == nullptr)
                        std::fprintf(out, " | %-26s", "-");
                    else
                        std::fprintf(out, " | %7.2f (%5.2f) x%-8.2f", f->nsPerPoint, f->nsPerSample,
                                     scalar->nsPerPoint / f->nsPerPoint);
                }
                std::fprintf(out, "\n");
            }
        }
        std::fprintf(out,
                     "\nEach octave past the fourth, ns per octave-sample "
                     "((8 octaves - 4 octaves) / (points * 3 * 4)): mean (fastest calls)\n");
        std::fprintf(out, "%-9s", "points");
        for (NoiseBatchPath path : kPaths) std::fprintf(out, " | %-15s", noiseBatchPathName(path));
        std::fprintf(out, "\n");
        for (int points : kSizes) {
            std::string row;
            bool any = false;
            for (NoiseBatchPath path : kPaths) {
                const Figure* four = find(deformName(path, points, 4));
                const Figure* eight = find(deformName(path, points, 8));
                char cell[48];
                if (four == nullptr || eight == nullptr) {
                    std::snprintf(cell, sizeof cell, " | %-15s", "-");
                } else {
                    std::snprintf(cell, sizeof cell, " | %6.3f (%6.3f)", (eight->nsPerPoint - four->nsPerPoint) / 12.0,
                                  (eight->fastestPerPoint - four->fastestPerPoint) / 12.0);
                    any = true;
                }
                row += cell;
            }
            if (any) std::fprintf(out, "%-9d%s\n", points, row.c_str());
        }
        const char* references[] = {"LibnoisePerlin3D", "StbPerlinFbm3D"};
        for (const char* reference : references) {
            const Figure* f = find(reference);
            if (f != nullptr)
                std::fprintf(out,
                             "%s (3-D noise, %d points, 4 octaves): %.2f ns per "
                             "octave-sample\n",
                             reference, kReferencePoints, f->nsPerSample);
        }
        ConsoleReporter::Finalize();
    }

private:
    const Figure* find(const std::string& name) const
    {
        const auto it = mFigures.find(name);
        return it == mFigures.end() ? nullptr : &it->second;
    }

    std::map<std::string, Figure> mFigures;
};

} // namespace

int main(int argc, char** argv)
{
    for (int points : kSizes)
        for (int octaves : kOctaves)
            for (NoiseBatchPath path : kPaths)
                benchmark::RegisterBenchmark(deformName(path, points, octaves).c_str(), deformBenchmark, path, points,
                                             octaves)
                    ->Unit(benchmark::kMicrosecond)
                    ->UseRealTime()
                    ->MinTime(points >= 1000000 ? 0.5 : 0.2);
    benchmark::RegisterBenchmark("TableBuildOfThree", BM_TableBuildOfThree)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Evaluation10k", BM_Evaluation10k)->Unit(benchmark::kMicrosecond);
#if defined(HX_BENCH_LIBNOISE)
    benchmark::RegisterBenchmark("LibnoisePerlin3D", BM_LibnoisePerlin3D)->Unit(benchmark::kMicrosecond)->UseRealTime();
#endif
#if defined(HX_BENCH_STB_PERLIN)
    benchmark::RegisterBenchmark("StbPerlinFbm3D", BM_StbPerlinFbm3D)->Unit(benchmark::kMicrosecond)->UseRealTime();
#endif

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("hxNoise batch deformation: default path %s\n", noiseBatchPathName(noiseBatchActivePath()));
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
