// The mesh layer on the million-vertex blob (`cmake --build build --target blob_1m`): the OBJ
// read against a bare single-pass std::from_chars parse of the same file in the same run (the
// yardstick: no checks, no statements, no messages, just the numbers into arrays), and the
// OBJ write of the mesh it read. Each benchmark runs a few times; compare figures of one run.
//
//   build/bench/mesh_bench [--benchmark_repetitions=3]   (MESH=path overrides the blob)
#include "Mesh.h"
#include "ObjReader.h"
#include "ObjWriter.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string meshPath()
{
    const char* overridden = std::getenv("MESH");
    return overridden ? overridden : HX_BLOB_1M;
}

// What the yardstick fills: the same arrays the reader fills.
struct BareMesh
{
    std::vector<double> positions, texCoords;
    std::vector<unsigned> faceSizes;
    std::vector<int> vertices, texIndices;
};

const char* skipBlanks(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    return p;
}

// Numbers of one line into `out`, as many as there are.
const char* bareNumbers(const char* p, const char* end, std::vector<double>& out)
{
    for (;;) {
        p = skipBlanks(p, end);
        if (p == end || *p == '\n') return p;
        double value;
        p = std::from_chars(p, end, value).ptr;
        out.push_back(value);
    }
}

// The file's text, read once outside the timings.
const std::string& fileText()
{
    static const std::string text = [] {
        std::string t;
        std::FILE* file = std::fopen(meshPath().c_str(), "rb");
        if (!file) return t;
        char block[1 << 16];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) t.append(block, got);
        std::fclose(file);
        return t;
    }();
    return text;
}

// One pass over the text already in memory: every v, vt and f line parsed with from_chars,
// nothing checked, arrays reserved to their final size beforehand (`sized` is the result of
// an earlier run). No I/O, no growth, no checks: a lower bound for any exact parse.
BareMesh bareParse(const std::string& text, const BareMesh& sized)
{
    BareMesh mesh;
    mesh.positions.reserve(sized.positions.size());
    mesh.texCoords.reserve(sized.texCoords.size());
    mesh.faceSizes.reserve(sized.faceSizes.size());
    mesh.vertices.reserve(sized.vertices.size());
    mesh.texIndices.reserve(sized.texIndices.size());
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        if (p[0] == 'v' && p[1] == ' ') {
            p = bareNumbers(p + 2, end, mesh.positions);
        } else if (p[0] == 'v' && p[1] == 't') {
            p = bareNumbers(p + 3, end, mesh.texCoords);
        } else if (p[0] == 'f' && p[1] == ' ') {
            unsigned corners = 0;
            p += 2;
            for (;;) {
                p = skipBlanks(p, end);
                if (p == end || *p == '\n') break;
                int index = 0;
                p = std::from_chars(p, end, index).ptr;
                mesh.vertices.push_back(index - 1);
                if (*p == '/') {
                    p = std::from_chars(p + 1, end, index).ptr;
                    mesh.texIndices.push_back(index - 1);
                }
                ++corners;
            }
            mesh.faceSizes.push_back(corners);
        }
        while (p < end && *p != '\n') ++p;
        ++p;
    }
    return mesh;
}

void BM_BareFromCharsParse(benchmark::State& state)
{
    const std::string& text = fileText();
    const BareMesh sized = bareParse(text, BareMesh());
    for (auto _ : state) {
        BareMesh mesh = bareParse(text, sized);
        benchmark::DoNotOptimize(mesh.positions.data());
    }
}
BENCHMARK(BM_BareFromCharsParse)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ObjRead(benchmark::State& state)
{
    const std::string path = meshPath();
    for (auto _ : state) {
        hx::Mesh mesh = hx::readObjFile(path);
        benchmark::DoNotOptimize(mesh.positions().data());
    }
}
BENCHMARK(BM_ObjRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// Writing to /dev/null: the formatting and buffering, not the disk.
void BM_ObjWrite(benchmark::State& state)
{
    hx::Mesh mesh = hx::readObjFile(meshPath());
    // Points as a deformation leaves them: no short decimals.
    for (double& v : mesh.positions()) v = v * 1.0000001 + 1e-9;
    const int fd = ::open("/dev/null", O_WRONLY);
    for (auto _ : state) hx::writeObj(mesh, fd, "/dev/null");
    ::close(fd);
}
BENCHMARK(BM_ObjWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
