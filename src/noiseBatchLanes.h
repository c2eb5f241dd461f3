//
// noiseBatchLanes.h
//
// The batch deformation written once over a set of lane operations `L`, which each
// instruction-set file supplies (noiseBatchSse2.cpp, noiseBatchAvx2.cpp,
// noiseBatchAvx512.cpp) before including this file. Lane k of every vector is one point;
// each lane performs the operations of Perlin::noise2, Perlin::perlin_noise_2D,
// displacePoint and the matrix products in their scalar order, each one IEEE operation
// on that lane's values, so every lane's result is the scalar result bit for bit.
//
// `L` provides, for L::W lanes of float (F), int (I) and mask (M) and for half as many
// lanes of double (D):
//   F fset(float), fadd, fsub, fmul              I / M: see inRange, both, keep, cell
//   D dset(double), dload, dstore, dadd, dmul    narrow(D lo, D hi) -> F; widen(F, D&, D&)
//   M inRange(F t)        lanes where -2^31 < t < 2^31 (false for NaN)
//   M both(M, M)
//   F keep(M, F)          the lane where the mask is set, +0.0f elsewhere
//   void cell(F t, I& b0, F& r0)   b0 = floor(t) & 1023 and r0 = t - floor(t)
//   void corners(const int* perm, const float* corners, I bx0, I by0, F g[8])
//        the gradients of the four lattice corners: g[0], g[1] = (bx0, by0);
//        g[2], g[3] = (bx0, by1); g[4], g[5] = (bx1, by0); g[6], g[7] = (bx1, by1).
//
// Everything here has internal linkage: these functions are compiled for the including
// file's instruction set and must never be shared with code compiled for another.
//
#ifndef HXNOISE_NOISE_BATCH_LANES_H
#define HXNOISE_NOISE_BATCH_LANES_H

#include "noiseBatchJob.h"

#include <cstddef>

namespace {

template <class L>
struct LaneKernel
{
    typedef typename L::F F;
    typedef typename L::D D;
    typedef typename L::I I;
    typedef typename L::M M;

    // lerp(t, a, b) = a + t * (b - a)
    static F lerp(F t, F a, F b) { return L::fadd(a, L::fmul(t, L::fsub(b, a))); }

    // at2 = rx * q0 + ry * q1
    static F at2(F rx, F ry, F q0, F q1) { return L::fadd(L::fmul(rx, q0), L::fmul(ry, q1)); }

    // (t * t) * (3 - 2t)
    static F sCurve(F t)
    {
        return L::fmul(L::fmul(t, t), L::fsub(L::fset(3.0f), L::fmul(L::fset(2.0f), t)));
    }

    // One octave. Lanes whose coordinates have no cell (NaN, |t| >= 2^31) give +0, as the
    // scalar early return does; their t is replaced by 0 first, so they compute on
    // harmless values and every table index stays in range whatever the input.
    static F noise2(const NoiseBatchGenerator& gen, F x, F y)
    {
        const F offset = L::fset(4096.0f);
        const F tx = L::fadd(x, offset);
        const F ty = L::fadd(y, offset);
        const M valid = L::both(L::inRange(tx), L::inRange(ty));

        I bx0, by0;
        F rx0, ry0;
        L::cell(L::keep(valid, tx), bx0, rx0);
        L::cell(L::keep(valid, ty), by0, ry0);
        const F one = L::fset(1.0f);
        const F rx1 = L::fsub(rx0, one);
        const F ry1 = L::fsub(ry0, one);

        F g[8];
        L::corners(gen.perm, gen.corners, bx0, by0, g);

        const F sx = sCurve(rx0);
        const F sy = sCurve(ry0);

        F u = at2(rx0, ry0, g[0], g[1]);
        F v = at2(rx1, ry0, g[4], g[5]);
        const F a = lerp(sx, u, v);

        u = at2(rx0, ry1, g[2], g[3]);
        v = at2(rx1, ry1, g[6], g[7]);
        const F b = lerp(sx, u, v);

        return L::keep(valid, lerp(sy, a, b));
    }

    // The fractal sum of Perlin::Get at (x, y).
    static F fractal(const NoiseBatchGenerator& gen, F x, F y)
    {
        F result = L::fset(0.0f);
        const F frequency = L::fset(gen.frequency);
        x = L::fmul(x, frequency);
        y = L::fmul(y, frequency);
        float amp = gen.amplitude;
        for (int i = 0; i < gen.octaves; ++i) {
            result = L::fadd(result, L::fmul(noise2(gen, x, y), L::fset(amp)));
            x = L::fadd(x, x);
            y = L::fadd(y, y);
            amp = 0.5f * amp;
        }
        return result;
    }

    // One pass of the displacement over `n` block points (a multiple of W):
    // target += gen.Get(float(a), float(b)), the sum in double.
    static void displace(const NoiseBatchGenerator& gen, const double* a, const double* b,
                         double* target, int n)
    {
        const int half = L::W / 2;
        for (int i = 0; i < n; i += L::W) {
            const F fa = L::narrow(L::dload(a + i), L::dload(a + i + half));
            const F fb = L::narrow(L::dload(b + i), L::dload(b + i + half));
            D lo, hi;
            L::widen(fractal(gen, fa, fb), lo, hi);
            L::dstore(target + i, L::dadd(L::dload(target + i), lo));
            L::dstore(target + i + half, L::dadd(L::dload(target + i + half), hi));
        }
    }

    // Row vectors times a 4x4 matrix, in place over `n` block points:
    // c' = ((x * m[0][c] + y * m[1][c]) + z * m[2][c]) + w * m[3][c].
    static void transform(const double m[4][4], double* x, double* y, double* z, double* w,
                          int n)
    {
        D col[4][4];
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                col[r][c] = L::dset(m[r][c]);
        for (int i = 0; i < n; i += L::W / 2) {
            const D px = L::dload(x + i);
            const D py = L::dload(y + i);
            const D pz = L::dload(z + i);
            const D pw = L::dload(w + i);
            D out[4];
            for (int c = 0; c < 4; ++c)
                out[c] = L::dadd(L::dadd(L::dadd(L::dmul(px, col[0][c]), L::dmul(py, col[1][c])),
                                         L::dmul(pz, col[2][c])),
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

        for (unsigned int start = 0; start < job.count; start += NOISE_BATCH_BLOCK) {
            const unsigned int left = job.count - start;
            const int n = left < unsigned(NOISE_BATCH_BLOCK) ? int(left) : NOISE_BATCH_BLOCK;
            const int lanes = (n + L::W - 1) / L::W * L::W;

            // Into the block, one array per component; spare lanes of the last vector
            // hold the origin and are never written back.
            double* point = job.points + 4 * std::size_t(start);
            for (int i = 0; i < n; ++i, point += 4) {
                bx[i] = point[0];
                by[i] = point[1];
                bz[i] = point[2];
                bw[i] = point[3];
            }
            for (int i = n; i < lanes; ++i)
                bx[i] = by[i] = bz[i] = bw[i] = 0.0;

            transform(job.invMat, bx, by, bz, bw, lanes);
            displace(job.y, bx, bz, by, lanes);
            displace(job.x, by, bz, bx, lanes);
            displace(job.z, bx, by, bz, lanes);
            transform(job.mat, bx, by, bz, bw, lanes);

            point = job.points + 4 * std::size_t(start);
            for (int i = 0; i < n; ++i, point += 4) {
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
