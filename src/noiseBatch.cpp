//
// noiseBatch.cpp
//
// The batch deformation's front: the scalar reference loop, the choice of the vector
// path, and the preparation the vector paths share (table builds, gather-order tables,
// the call's one buffer).
//
#include "noiseBatch.h"

#include "axisNoiseField.h"
#include "noiseBatchJob.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The gather-order tables must have exactly one entry per entry of the generator's.
typedef char NoiseBatchCornersMatchTables[(NOISE_BATCH_CORNERS == 2 * SAMPLE_SIZE + 2) ? 1 : -1];

// Read access to a generator's parameters and tables.
class PerlinTables
{
public:
    // Fills `gen` from `perlin`. A generator with at least one octave is built first if
    // it is not yet (the scalar loop's first Get would build it), and its gradients are
    // copied into `corners` in gather order; one without octaves is never evaluated,
    // so its tables are neither built nor read.
    static void prepare(Perlin& perlin, float* corners, NoiseBatchGenerator& gen)
    {
        gen.octaves = perlin.mOctaves;
        gen.frequency = perlin.mFrequency;
        gen.amplitude = perlin.mAmplitude;
        gen.perm = 0;
        gen.corners = 0;
        if (perlin.mOctaves < 1) return;
        perlin.buildOnFirstUse();
        for (int k = 0; k < NOISE_BATCH_CORNERS; ++k) {
            const float* g = perlin.g2[perlin.p[k]];
            corners[2 * k] = g[0];
            corners[2 * k + 1] = g[1];
        }
        gen.perm = perlin.p;
        gen.corners = corners;
    }

    // Builds the tables now if an evaluation would build them.
    static void build(Perlin& perlin)
    {
        if (perlin.mOctaves >= 1) perlin.buildOnFirstUse();
    }
};

namespace {

// Row vector times matrix: c' = ((x * m[0][c] + y * m[1][c]) + z * m[2][c]) + w * m[3][c].
void transformPoint(const double m[4][4], const double in[4], double out[4])
{
    for (int c = 0; c < 4; ++c) out[c] = ((in[0] * m[0][c] + in[1] * m[1][c]) + in[2] * m[2][c]) + in[3] * m[3][c];
}

// A deform-space coordinate the noise left as it was: equal as a number (so -0 and +0
// count as one), or not a number before, and so after.
inline bool unchanged(double before, double after)
{
    return after == before || before != before;
}

void deformScalar(Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ, const double mat[4][4], const double invMat[4][4],
                  double* points, unsigned int count)
{
    for (unsigned int i = 0; i < count; ++i, points += 4) {
        double local[4];
        transformPoint(invMat, points, local);
        const FieldPoint moved = displacePoint(noiseX, noiseY, noiseZ, local[0], local[1], local[2]);
        // A point the noise did not move keeps the coordinates it was read with.
        if (unchanged(local[0], moved.x) && unchanged(local[1], moved.y) && unchanged(local[2], moved.z)) continue;
        local[0] = moved.x;
        local[1] = moved.y;
        local[2] = moved.z;
        transformPoint(mat, local, points);
    }
}

bool cpuHas(NoiseBatchPath path)
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    switch (path) {
    case kNoiseBatchSse2: return __builtin_cpu_supports("sse2");
    case kNoiseBatchAvx2: return __builtin_cpu_supports("avx2");
    case kNoiseBatchAvx512: return __builtin_cpu_supports("avx512f");
    default: return true;
    }
#else
    return path == kNoiseBatchScalar;
#endif
}

bool built(NoiseBatchPath path)
{
    switch (path) {
    case kNoiseBatchScalar: return true;
    case kNoiseBatchSse2:
#if defined(HXNOISE_BATCH_SSE2)
        return true;
#else
        return false;
#endif
    case kNoiseBatchAvx2:
#if defined(HXNOISE_BATCH_AVX2)
        return true;
#else
        return false;
#endif
    case kNoiseBatchAvx512:
#if defined(HXNOISE_BATCH_AVX512)
        return true;
#else
        return false;
#endif
    }
    return false;
}

NoiseBatchPath chooseActivePath()
{
    const NoiseBatchPath best = noiseBatchUsablePath(kNoiseBatchAvx512);
    const char* request = std::getenv("HXNOISE_SIMD");
    if (request == 0 || *request == '\0') return best;
    NoiseBatchPath wanted;
    if (!parseNoiseBatchPath(request, wanted)) {
        std::fprintf(stderr,
                     "hxNoise: HXNOISE_SIMD=%s is not one of scalar, sse2, avx2, avx512; "
                     "using the %s path\n",
                     request, noiseBatchPathName(best));
        return best;
    }
    const NoiseBatchPath usable = noiseBatchUsablePath(wanted);
    if (usable != wanted)
        std::fprintf(stderr,
                     "hxNoise: HXNOISE_SIMD=%s is not supported by this processor or build; "
                     "using the %s path\n",
                     request, noiseBatchPathName(usable));
    return usable;
}

// The call's one buffer: three gather-order tables and the block, 64-byte aligned.
class Workspace
{
public:
    enum { kAlign = 64 };

    Workspace() : mRaw(std::malloc(kTableBytes * 3 + kBlockBytes + kAlign)) {}
    ~Workspace() { std::free(mRaw); }

    bool ok() const { return mRaw != 0; }
    float* table(int i) const { return reinterpret_cast<float*>(base() + kTableBytes * i); }
    double* block() const { return reinterpret_cast<double*>(base() + kTableBytes * 3); }

private:
    enum {
        kTableBytes = (NOISE_BATCH_CORNERS * 2 * sizeof(float) + kAlign - 1) / kAlign * kAlign,
        kBlockBytes = 4 * NOISE_BATCH_BLOCK * sizeof(double)
    };

    char* base() const
    {
        const std::size_t address = reinterpret_cast<std::size_t>(mRaw);
        return static_cast<char*>(mRaw) + (kAlign - address % kAlign) % kAlign;
    }

    Workspace(const Workspace&);
    Workspace& operator=(const Workspace&);

    void* mRaw;
};

} // namespace

bool noiseBatchSupports(NoiseBatchPath path)
{
    return built(path) && cpuHas(path);
}

NoiseBatchPath noiseBatchUsablePath(NoiseBatchPath path)
{
    int candidate = path;
    if (candidate > kNoiseBatchAvx512) candidate = kNoiseBatchAvx512;
    for (; candidate > kNoiseBatchScalar; --candidate)
        if (noiseBatchSupports(NoiseBatchPath(candidate))) return NoiseBatchPath(candidate);
    return kNoiseBatchScalar;
}

NoiseBatchPath noiseBatchActivePath()
{
    static const NoiseBatchPath active = chooseActivePath();
    return active;
}

const char* noiseBatchPathName(NoiseBatchPath path)
{
    switch (path) {
    case kNoiseBatchScalar: return "scalar";
    case kNoiseBatchSse2: return "sse2";
    case kNoiseBatchAvx2: return "avx2";
    case kNoiseBatchAvx512: return "avx512";
    }
    return "unknown";
}

bool parseNoiseBatchPath(const char* name, NoiseBatchPath& path)
{
    if (name == 0) return false;
    for (int candidate = kNoiseBatchScalar; candidate <= kNoiseBatchAvx512; ++candidate) {
        if (std::strcmp(name, noiseBatchPathName(NoiseBatchPath(candidate))) == 0) {
            path = NoiseBatchPath(candidate);
            return true;
        }
    }
    return false;
}

void prepareDeformation(Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ)
{
    noiseBatchActivePath();
    PerlinTables::build(noiseY);
    PerlinTables::build(noiseX);
    PerlinTables::build(noiseZ);
}

void deformPoints(Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ, const double mat[4][4], const double invMat[4][4],
                  double* points, unsigned int count)
{
    deformPoints(noiseBatchActivePath(), noiseX, noiseY, noiseZ, mat, invMat, points, count);
}

void deformPoints(NoiseBatchPath path, Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ, const double mat[4][4],
                  const double invMat[4][4], double* points, unsigned int count)
{
    if (count == 0) return;
    path = noiseBatchUsablePath(path);
    if (path == kNoiseBatchScalar) {
        deformScalar(noiseX, noiseY, noiseZ, mat, invMat, points, count);
        return;
    }

    Workspace work;
    if (!work.ok()) {
        deformScalar(noiseX, noiseY, noiseZ, mat, invMat, points, count);
        return;
    }

    // Built in the order the scalar loop's first point builds them.
    NoiseBatchJob job;
    PerlinTables::prepare(noiseY, work.table(1), job.y);
    PerlinTables::prepare(noiseX, work.table(0), job.x);
    PerlinTables::prepare(noiseZ, work.table(2), job.z);
    std::memcpy(job.mat, mat, sizeof job.mat);
    std::memcpy(job.invMat, invMat, sizeof job.invMat);
    job.points = points;
    job.count = count;
    job.block = work.block();

    switch (path) {
#if defined(HXNOISE_BATCH_AVX512)
    case kNoiseBatchAvx512: deformBatchAvx512(job); break;
#endif
#if defined(HXNOISE_BATCH_AVX2)
    case kNoiseBatchAvx2: deformBatchAvx2(job); break;
#endif
#if defined(HXNOISE_BATCH_SSE2)
    case kNoiseBatchSse2: deformBatchSse2(job); break;
#endif
    default: deformScalar(noiseX, noiseY, noiseZ, mat, invMat, points, count); break;
    }
}
