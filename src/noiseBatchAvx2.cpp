//
// noiseBatchAvx2.cpp
//
// The batch deformation eight points at a time with AVX2. Compiled with -mavx2 alone
// (no FMA: products and sums stay separate roundings) and called only after the
// processor has been found to support AVX2.
//
#include "noiseBatchJob.h"

#if defined(HXNOISE_BATCH_AVX2)

#include <cstddef>

#include <immintrin.h>

namespace {

struct Avx2Lanes
{
    enum { W = 8 };
    typedef __m256 F;
    typedef __m256i I;
    typedef __m256d D;
    typedef __m256 M;

    static F fset(float v) { return _mm256_set1_ps(v); }
    static F fadd(F a, F b) { return _mm256_add_ps(a, b); }
    static F fsub(F a, F b) { return _mm256_sub_ps(a, b); }
    static F fmul(F a, F b) { return _mm256_mul_ps(a, b); }

    static D dset(double v) { return _mm256_set1_pd(v); }
    static D dload(const double* p) { return _mm256_loadu_pd(p); }
    static void dstore(double* p, D v) { _mm256_storeu_pd(p, v); }
    static D dadd(D a, D b) { return _mm256_add_pd(a, b); }
    static D dmul(D a, D b) { return _mm256_mul_pd(a, b); }

    static F narrow(D lo, D hi)
    {
        return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(lo)),
                                    _mm256_cvtpd_ps(hi), 1);
    }
    static void widen(F f, D& lo, D& hi)
    {
        lo = _mm256_cvtps_pd(_mm256_castps256_ps128(f));
        hi = _mm256_cvtps_pd(_mm256_extractf128_ps(f, 1));
    }

    static M inRange(F t)
    {
        return _mm256_and_ps(_mm256_cmp_ps(t, _mm256_set1_ps(-2147483648.0f), _CMP_GT_OS),
                             _mm256_cmp_ps(t, _mm256_set1_ps(2147483648.0f), _CMP_LT_OS));
    }
    static M both(M a, M b) { return _mm256_and_ps(a, b); }
    static F keep(M m, F v) { return _mm256_and_ps(m, v); }

    // For |t| < 2^31 floor(t) is a whole float equal to the scalar cell, so t - floor(t)
    // is the scalar r0.
    static void cell(F t, I& b0, F& r0)
    {
        const F f = _mm256_floor_ps(t);
        r0 = _mm256_sub_ps(t, f);
        b0 = _mm256_and_si256(_mm256_cvttps_epi32(f), _mm256_set1_epi32(1023));
    }

    // Lane k and lane k + 4 share a register; the in-lane 4x4 transposes then leave
    // every lane where it was. Indices are handled unsigned (all are in 0..2047), so
    // that they widen to addresses for free.
    static void corners(const int* perm, const float* table, I bx0, I by0, F g[8])
    {
        unsigned xs[W], ys[W];
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(xs), bx0);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(ys), by0);
        // Read the indices back from memory rather than let the compiler extract them
        // lane by lane with shuffles, which would crowd the shuffle port.
        __asm__ __volatile__("" : : "r"(xs), "r"(ys) : "memory");
        const unsigned* p = reinterpret_cast<const unsigned*>(perm);
        unsigned k0[W], k1[W];
        for (int l = 0; l < W; ++l) {
            const unsigned* column = p + xs[l];
            const unsigned row = ys[l];
            k0[l] = column[0] + row;
            k1[l] = column[1] + row;
        }
        F a[4], b[4];
        for (int k = 0; k < 4; ++k) {
            a[k] = two(table, k0[k], k0[k + 4]);
            b[k] = two(table, k1[k], k1[k + 4]);
        }
        transpose(a, g);
        transpose(b, g + 4);
    }

    // Entries k and k + 1 (both corners of a lattice column) of two lanes.
    static F two(const float* table, unsigned k0, unsigned k1)
    {
        return _mm256_insertf128_ps(
            _mm256_castps128_ps256(_mm_loadu_ps(table + 2 * std::size_t(k0))),
            _mm_loadu_ps(table + 2 * std::size_t(k1)), 1);
    }

    static void transpose(const F r[4], F* out)
    {
        const F t0 = _mm256_unpacklo_ps(r[0], r[1]);
        const F t1 = _mm256_unpackhi_ps(r[0], r[1]);
        const F t2 = _mm256_unpacklo_ps(r[2], r[3]);
        const F t3 = _mm256_unpackhi_ps(r[2], r[3]);
        out[0] = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
        out[1] = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
        out[2] = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
        out[3] = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
    }
};

} // namespace

#include "noiseBatchLanes.h"

void deformBatchAvx2(const NoiseBatchJob& job)
{
    LaneKernel<Avx2Lanes>::run(job);
}

#endif
