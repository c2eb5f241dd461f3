//
// noiseBatchJob.h
//
// What noiseBatch.cpp hands to the lane kernels: the three generators' parameters and
// tables, the two matrices, the points and the call's scratch block. Plain data only:
// the kernel files are compiled for wider instruction sets, and nothing they include
// may emit an inline function that the rest of the library could end up sharing.
//
#ifndef HXNOISE_NOISE_BATCH_JOB_H
#define HXNOISE_NOISE_BATCH_JOB_H

// The SSE2 path moves lattice indices through 64-bit general registers: x86-64 only.
#if defined(__SSE2__) && defined(__x86_64__)
#define HXNOISE_BATCH_SSE2
#endif

// Points per block: the block is taken into the deform space, displaced pass by pass
// and taken back before the next one starts. A multiple of every path's lanes times the
// vectors its octave loop carries at once (noiseBatchLanes.h checks it).
const int NOISE_BATCH_BLOCK = 256;

// Entries of a generator's gradient table in gather order, corners[k] = g2[p[k]]: as
// many as the generator's tables have (noiseBatch.cpp checks that they agree).
const int NOISE_BATCH_CORNERS = 2 * 1024 + 2;

// One generator as the kernels read it. With `octaves` below 1 the generator contributes
// 0 everywhere and the table pointers are null (its tables may not even be built).
struct NoiseBatchGenerator
{
    int octaves;
    float frequency;
    float amplitude;
    // The permutation, p[0..2049].
    const int* perm;
    // g2[p[k]] for k in 0..2049, two floats each. Because the tables repeat after 1024
    // entries, corners[i + by0 + 1] is the gradient of corner (bx0, by1): one 16-byte
    // load at corners + 2 * (i + by0) yields both corners of a lattice column.
    const float* corners;
};

struct NoiseBatchJob
{
    NoiseBatchGenerator x;
    NoiseBatchGenerator y;
    NoiseBatchGenerator z;
    double mat[4][4];
    double invMat[4][4];
    // count points of x, y, z, w doubles, deformed in place.
    double* points;
    unsigned int count;
    // Four arrays of NOISE_BATCH_BLOCK doubles (x, y, z, w), 64-byte aligned.
    double* block;
};

// The lane kernels, one per instruction set; each is compiled only where the build
// carries it and called only where the processor runs it.
void deformBatchSse2(const NoiseBatchJob& job);
void deformBatchAvx2(const NoiseBatchJob& job);
void deformBatchAvx512(const NoiseBatchJob& job);

#endif
