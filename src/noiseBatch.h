//
// noiseBatch.h
//
// The deformation of many points at once: each point is taken into the deform space by
// the inverse deform-space matrix, displaced by the three axis generators exactly as
// displacePoint does it, and taken back by the matrix; a point the noise leaves where it
// is keeps its coordinates as they were. The work runs across points in SIMD lanes (SSE2,
// AVX2 or AVX-512, whichever the processor has), and every lane performs the
// single-precision operations of Perlin::Get and the double operations of the
// displacement and the matrix products in the scalar order: the results are the scalar
// results, bit for bit, on every path.
//
// Plain C++98, no host types. One buffer is allocated per call (the gradient tables in
// gather order and a block of points); nothing per point.
//
#ifndef HXNOISE_NOISE_BATCH_H
#define HXNOISE_NOISE_BATCH_H

#include "perlin.h"

// The ways through the batch deformation, narrowest first.
enum NoiseBatchPath {
    kNoiseBatchScalar = 0, // one point at a time through displacePoint: the reference
    kNoiseBatchSse2 = 1,   // 4 lanes
    kNoiseBatchAvx2 = 2,   // 8 lanes
    kNoiseBatchAvx512 = 3  // 16 lanes
};

// Deforms `count` points held as x, y, z, w doubles one after another, in place. For
// each point pt (a row vector): pt = pt * invMat; then y += Y(x, z), x += X(y, z),
// z += Z(x, y) as displacePoint does (w unchanged, no division by w); then pt = pt * mat.
// A product component is ((x * m[0][c] + y * m[1][c]) + z * m[2][c]) + w * m[3][c].
//
// A point the noise does not move keeps its x, y, z and w exactly as they were handed in,
// instead of coming back through the two matrix products, whose rounding would change it
// (and, with the deform space 1e16 away, round each coordinate it passes through to a
// multiple of 2). The noise has not moved a point when each of its three deform-space coordinates comes
// out of the passes equal to what went in:
//   - equal as numbers, so +0 and -0 count as the same, and a displacement too small to
//     change the coordinate (absorbed by its rounding) counts as none; every displacement
//     of exactly 0 (zero amplitudes, a frequency of 0, lattice points, coordinates beyond
//     the lattice's range) is such a case;
//   - a coordinate that is not a number counts as unchanged whatever was added to it (it
//     is not a number after, too), so a point that the inverse sends to NaN comes back as
//     it was read rather than as NaN. A finite coordinate made NaN by the noise (an
//     infinite amplitude times a zero octave) has changed.
// Every other point takes the matrix products above, unchanged. The rule is the same on
// every path, the scalar loop included.
//
// Generators whose tables are not yet built are built here, exactly when the scalar
// loop would build them: when there is at least one point and the generator has at
// least one octave. The generators are read only after that.
//
// Uses noiseBatchActivePath().
void deformPoints(Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ, const double mat[4][4], const double invMat[4][4],
                  double* points, unsigned int count);

// The same through a chosen path. A path this processor or build lacks falls back to
// the widest one it has below it (noiseBatchUsablePath), as does every path if the
// call's one buffer cannot be allocated (the scalar loop needs none).
void deformPoints(NoiseBatchPath path, Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ, const double mat[4][4],
                  const double invMat[4][4], double* points, unsigned int count);

// Builds the generators' tables, if they are not yet built, exactly as the first point
// of deformPoints would (Y, then X, then Z; a generator without octaves never), and fixes
// the active path. Afterwards deformPoints only reads the generators, so that several
// calls may run at once over disjoint points with the same three.
void prepareDeformation(Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ);

// True if this build carries the path and this processor (and its operating system)
// can run it. The scalar and SSE2 paths are always there on x86-64.
bool noiseBatchSupports(NoiseBatchPath path);

// The widest supported path not wider than `path`.
NoiseBatchPath noiseBatchUsablePath(NoiseBatchPath path);

// The path the first deformPoints overload runs: the widest supported one, or the one
// that the environment variable HXNOISE_SIMD (scalar, sse2, avx2 or avx512) asks for,
// narrowed to what is supported. Read once per process; an unknown value or a path that
// must be narrowed is reported once on standard error, naming the path that runs.
NoiseBatchPath noiseBatchActivePath();

// "scalar", "sse2", "avx2" or "avx512".
const char* noiseBatchPathName(NoiseBatchPath path);

// Parses one of the names above; returns false (and leaves `path` alone) for any other.
bool parseNoiseBatchPath(const char* name, NoiseBatchPath& path);

#endif
