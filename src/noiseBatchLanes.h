//
// noiseBatchLanes.h
//
// The batch deformation written once over a set of lane operations `L`, which each
// instruction-set file supplies (noiseBatchSse2.cpp, noiseBatchAvx2.cpp,
// noiseBatchAvx512.cpp). Lane k of every vector is one point; each lane performs the
// operations of Perlin::noise2, Perlin::perlin_noise_2D, displacePoint and the matrix
// products in their scalar order, each one IEEE operation on that lane's values, so every
// lane's result is the scalar result bit for bit.
//
// `L` provides, for L::W lanes of float (F), int (I) and mask (M) and for half as many
// lanes of double (D):
//   F fset(float), fadd, fsub, fmul              I / M: see inRange, both, keep, cell
//   D dset(double), dload, dstore, dadd, dmul    narrow(D lo, D hi) -> F; widen(F, D&, D&)
//   M inRange(F t)        lanes where -2^31 < t < 2^31 (false for NaN)
//   M both(M, M)
//   F keep(M, F)          the lane where the mask is set, +0.0f elsewhere
//   void cell(F t, I& b0, F& r0)   b0 = floor(t) & 1023 and r0 = t - floor(t)
//   I pack(I bx0, I by0)  bx0 | by0 << 16 in each lane
//   void corners(const unsigned* perm, const float* corners, I cells, F g[8])
//        the gradients of the four lattice corners of the packed cells: g[0], g[1] =
//        (bx0, by0); g[2], g[3] = (bx0, by1); g[4], g[5] = (bx1, by0); g[6], g[7] =
//        (bx1, by1), with loadChunk below doing the part in general registers.
//   void put<C>(F& v, const float* at)   four floats from `at` into 128-bit chunk C of v
//        (C = 0 may leave the other chunks undefined: the later chunks fill them)
//   unsigned unchanged(D before, D after)   bit k set where lane k of `after` equals that
//        of `before` as a number (+0 equals -0) or `before` is not a number
//   enum { W, GROUPS }    lanes per vector; vectors the octave loop carries at once
//
// The octave loop carries L::GROUPS vectors of points at once: their lattice lookups are
// independent chains, so the processor works on one while another waits for its loads.
// Everything in the loop is inlined (no call), and the packed cell numbers go from the
// vector register straight to general registers, two lanes at a time, without a store
// and reload. docs/performance.md has the measurements behind the group counts.
//
// Each instruction-set file includes this file first, then defines its `L`: everything
// here has internal linkage, since these functions are compiled for the including file's
// instruction set and must never be shared with code compiled for another.
//
#ifndef HXNOISE_NOISE_BATCH_LANES_H
#define HXNOISE_NOISE_BATCH_LANES_H

#include "noiseBatchJob.h"

#include <cstddef>
#include <cstring>

// The per-octave work must be inlined whatever the compiler's size heuristics say: a call
// per vector and octave costs more than the octave's arithmetic.
#if defined(__GNUC__)
#define NOISE_BATCH_INLINE inline __attribute__((always_inline))
#else
#define NOISE_BATCH_INLINE inline
#endif

namespace {

// One lane's lattice column, from its cell numbers packed as bx0 | by0 << 16 in the low 32
// bits of `cells`: the addresses of the gather-order entries k0 = p[bx0] + by0 and
// k1 = p[bx0 + 1] + by0, each the start of a 16-byte load holding the gradients of
// (column, by0) and (column, by1). p[bx0] and p[bx0 + 1] come in one 8-byte load.
NOISE_BATCH_INLINE void latticeColumn(const unsigned* perm, const float* corners, std::size_t cells, const float*& at0,
                                      const float*& at1)
{
    const std::size_t bx0 = cells & 0xffff;
    const std::size_t by0 = (cells >> 16) & 0xffff;
    // x86-64 is little-endian: p[bx0] is the low half.
    std::size_t pair;
    std::memcpy(&pair, perm + bx0, sizeof pair);
    at0 = corners + 2 * ((pair & 0xffffffffu) + by0);
    at1 = corners + 2 * ((pair >> 32) + by0);
}

// Lanes 4C .. 4C + 3, whose packed cell numbers are the 32-bit halves of `low` and `high`
// (low half first): the 16-byte gradient loads at k0 and k1 of lane 4C + j go into 128-bit
// chunk C of a[j] and b[j], through L::put<C>.
template <class L, int C>
NOISE_BATCH_INLINE void loadChunk(const unsigned* perm, const float* corners, std::size_t low, std::size_t high,
                                  typename L::F a[4], typename L::F b[4])
{
    const std::size_t lanes[4] = {low, low >> 32, high, high >> 32};
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) {
        const float* at0;
        const float* at1;
        latticeColumn(perm, corners, lanes[j], at0, at1);
        L::template put<C>(a[j], at0);
        L::template put<C>(b[j], at1);
    }
}

template <class L>
struct LaneKernel
{
    typedef typename L::F F;
    typedef typename L::D D;
    typedef typename L::I I;
    typedef typename L::M M;

    enum { W = L::W, G = L::GROUPS, STEP = L::W * L::GROUPS };
    // A block is a whole number of steps, and the per-vector loops unroll fully.
    typedef char BlockHoldsWholeSteps[(NOISE_BATCH_BLOCK % STEP == 0 && G <= 4) ? 1 : -1];

    // Where one vector of points falls in the lattice.
    struct Cell
    {
        I cells; // bx0 | by0 << 16 per lane
        F rx0;
        F ry0;
        M valid;
    };

    // lerp(t, a, b) = a + t * (b - a)
    static NOISE_BATCH_INLINE F lerp(F t, F a, F b) { return L::fadd(a, L::fmul(t, L::fsub(b, a))); }

    // at2 = rx * q0 + ry * q1
    static NOISE_BATCH_INLINE F at2(F rx, F ry, F q0, F q1) { return L::fadd(L::fmul(rx, q0), L::fmul(ry, q1)); }

    // (t * t) * (3 - 2t)
    static NOISE_BATCH_INLINE F sCurve(F t)
    {
        return L::fmul(L::fmul(t, t), L::fsub(L::fset(3.0f), L::fmul(L::fset(2.0f), t)));
    }

    // Lanes whose coordinates have no cell (NaN, |t| >= 2^31) give +0, as the scalar early
    // return does; their t is replaced by 0 first, so they compute on harmless values and
    // every table index stays in range whatever the input.
    static NOISE_BATCH_INLINE void locate(F x, F y, Cell& cell)
    {
        const F offset = L::fset(4096.0f);
        const F tx = L::fadd(x, offset);
        const F ty = L::fadd(y, offset);
        cell.valid = L::both(L::inRange(tx), L::inRange(ty));
        I bx0, by0;
        L::cell(L::keep(cell.valid, tx), bx0, cell.rx0);
        L::cell(L::keep(cell.valid, ty), by0, cell.ry0);
        cell.cells = L::pack(bx0, by0);
    }

    static NOISE_BATCH_INLINE F blend(const Cell& cell, const F g[8])
    {
        const F one = L::fset(1.0f);
        const F rx1 = L::fsub(cell.rx0, one);
        const F ry1 = L::fsub(cell.ry0, one);
        const F sx = sCurve(cell.rx0);
        const F sy = sCurve(cell.ry0);

        F u = at2(cell.rx0, cell.ry0, g[0], g[1]);
        F v = at2(rx1, cell.ry0, g[4], g[5]);
        const F a = lerp(sx, u, v);

        u = at2(cell.rx0, ry1, g[2], g[3]);
        v = at2(rx1, ry1, g[6], g[7]);
        const F b = lerp(sx, u, v);

        return L::keep(cell.valid, lerp(sy, a, b));
    }

    // The fractal sum of Perlin::Get at (x[k], y[k]) for each of the G vectors. The cells
    // of all vectors are found first, so that every vector's lookups can start before the
    // first vector's arithmetic waits for its loads.
    static NOISE_BATCH_INLINE void fractal(const NoiseBatchGenerator& gen, F x[G], F y[G], F result[G])
    {
        const unsigned* const perm = reinterpret_cast<const unsigned*>(gen.perm);
        const F frequency = L::fset(gen.frequency);
#pragma GCC unroll 4
        for (int k = 0; k < G; ++k) {
            result[k] = L::fset(0.0f);
            x[k] = L::fmul(x[k], frequency);
            y[k] = L::fmul(y[k], frequency);
        }
        float amp = gen.amplitude;
        for (int i = 0; i < gen.octaves; ++i) {
            Cell cell[G];
#pragma GCC unroll 4
            for (int k = 0; k < G; ++k) locate(x[k], y[k], cell[k]);
            const F weight = L::fset(amp);
#pragma GCC unroll 4
            for (int k = 0; k < G; ++k) {
                F g[8];
                L::corners(perm, gen.corners, cell[k].cells, g);
                result[k] = L::fadd(result[k], L::fmul(blend(cell[k], g), weight));
                x[k] = L::fadd(x[k], x[k]);
                y[k] = L::fadd(y[k], y[k]);
            }
            amp = 0.5f * amp;
        }
    }

    // One pass of the displacement over `n` block points (a multiple of STEP):
    // target += gen.Get(float(a), float(b)), the sum in double. Clears the bit of each
    // point in `still` (a word per vector, a bit per lane) whose target coordinate the
    // pass changed.
    static void displace(const NoiseBatchGenerator& gen, const double* a, const double* b, double* target, int n,
                         unsigned* still)
    {
        const int half = W / 2;
        for (int i = 0; i < n; i += STEP) {
            F fa[G], fb[G], noise[G];
#pragma GCC unroll 4
            for (int k = 0; k < G; ++k) {
                const int at = i + k * W;
                fa[k] = L::narrow(L::dload(a + at), L::dload(a + at + half));
                fb[k] = L::narrow(L::dload(b + at), L::dload(b + at + half));
            }
            fractal(gen, fa, fb, noise);
#pragma GCC unroll 4
            for (int k = 0; k < G; ++k) {
                const int at = i + k * W;
                D lo, hi;
                L::widen(noise[k], lo, hi);
                const D beforeLo = L::dload(target + at);
                const D beforeHi = L::dload(target + at + half);
                const D afterLo = L::dadd(beforeLo, lo);
                const D afterHi = L::dadd(beforeHi, hi);
                L::dstore(target + at, afterLo);
                L::dstore(target + at + half, afterHi);
                still[at / W] &= L::unchanged(beforeLo, afterLo) | L::unchanged(beforeHi, afterHi) << half;
            }
        }
    }

    // Row vectors times a 4x4 matrix, in place over `n` block points:
    // c' = ((x * m[0][c] + y * m[1][c]) + z * m[2][c]) + w * m[3][c].
    static void transform(const double m[4][4], double* x, double* y, double* z, double* w, int n)
    {
        D col[4][4];
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) col[r][c] = L::dset(m[r][c]);
        for (int i = 0; i < n; i += W / 2) {
            const D px = L::dload(x + i);
            const D py = L::dload(y + i);
            const D pz = L::dload(z + i);
            const D pw = L::dload(w + i);
            D out[4];
            for (int c = 0; c < 4; ++c)
                out[c] =
                    L::dadd(L::dadd(L::dadd(L::dmul(px, col[0][c]), L::dmul(py, col[1][c])), L::dmul(pz, col[2][c])),
                            L::dmul(pw, col[3][c]));
            L::dstore(x + i, out[0]);
            L::dstore(y + i, out[1]);
            L::dstore(z + i, out[2]);
            L::dstore(w + i, out[3]);
        }
    }

    static void run(const NoiseBatchJob& job)
    {
        double* const bx = job.block;
        double* const by = bx + NOISE_BATCH_BLOCK;
        double* const bz = by + NOISE_BATCH_BLOCK;
        double* const bw = bz + NOISE_BATCH_BLOCK;
        // A bit per point of the block, a word per vector: set while the noise has left the
        // point's deform-space coordinates as they were.
        unsigned still[NOISE_BATCH_BLOCK / W];

        for (unsigned int start = 0; start < job.count; start += NOISE_BATCH_BLOCK) {
            const unsigned int left = job.count - start;
            const int n = left < unsigned(NOISE_BATCH_BLOCK) ? int(left) : NOISE_BATCH_BLOCK;
            const int lanes = (n + STEP - 1) / STEP * STEP;

            // Into the block, one array per component; spare lanes of the last vectors
            // hold the origin and are never written back.
            double* point = job.points + 4 * std::size_t(start);
            for (int i = 0; i < n; ++i, point += 4) {
                bx[i] = point[0];
                by[i] = point[1];
                bz[i] = point[2];
                bw[i] = point[3];
            }
            for (int i = n; i < lanes; ++i) bx[i] = by[i] = bz[i] = bw[i] = 0.0;
            for (int v = 0; v < lanes / W; ++v) still[v] = ~0u;

            transform(job.invMat, bx, by, bz, bw, lanes);
            displace(job.y, bx, bz, by, lanes, still);
            displace(job.x, by, bz, bx, lanes, still);
            displace(job.z, bx, by, bz, lanes, still);
            transform(job.mat, bx, by, bz, bw, lanes);

            // A point the noise did not move keeps the coordinates it was read with.
            point = job.points + 4 * std::size_t(start);
            for (int i = 0; i < n; ++i, point += 4) {
                if ((still[i / W] >> (i % W)) & 1u) continue;
                point[0] = bx[i];
                point[1] = by[i];
                point[2] = bz[i];
                point[3] = bw[i];
            }
        }
    }
};

} // namespace

#endif
