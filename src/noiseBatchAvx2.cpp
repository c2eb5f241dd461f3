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

#include "noiseBatchLanes.h"

namespace {

struct Avx2Lanes
{
    enum { W = 8, GROUPS = 4 };
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
        return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(lo)), _mm256_cvtpd_ps(hi), 1);
    }
    static void widen(F f, D& lo, D& hi)
    {
        lo = _mm256_cvtps_pd(_mm256_castps256_ps128(f));
        hi = _mm256_cvtps_pd(_mm256_extractf128_ps(f, 1));
    }

    static unsigned unchanged(D before, D after)
    {
        return unsigned(_mm256_movemask_pd(
            _mm256_or_pd(_mm256_cmp_pd(after, before, _CMP_EQ_OQ), _mm256_cmp_pd(before, before, _CMP_UNORD_Q))));
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

    // bx0 | by0 << 16: both cell numbers of a lane in one 32-bit word.
    static I pack(I bx0, I by0) { return _mm256_or_si256(bx0, _mm256_slli_epi32(by0, 16)); }

    // Lanes 4c .. 4c + 3 fill 128-bit chunk c of a[0..3] (gradients at k0) and b[0..3] (at
    // k1), lane 4c + j going to a[j] and b[j]; the in-chunk 4x4 transposes then leave every
    // lane where it was. The packed cell numbers leave the vector register two lanes at a
    // time, straight into general registers.
    static NOISE_BATCH_INLINE void corners(const unsigned* perm, const float* table, I cells, F g[8])
    {
        F a[4], b[4];
        chunk<0>(perm, table, _mm256_castsi256_si128(cells), a, b);
        chunk<1>(perm, table, _mm256_extracti128_si256(cells, 1), a, b);
        transpose(a, g);
        transpose(b, g + 4);
    }

    template <int C>
    static NOISE_BATCH_INLINE void chunk(const unsigned* perm, const float* table, __m128i cells, F a[4], F b[4])
    {
        const std::size_t low = std::size_t(_mm_cvtsi128_si64(cells));
        const std::size_t high = std::size_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(cells, cells)));
        loadChunk<Avx2Lanes, C>(perm, table, low, high, a, b);
    }

    template <int C>
    static NOISE_BATCH_INLINE void put(F& v, const float* at)
    {
        const __m128 four = _mm_loadu_ps(at);
        if (C == 0)
            v = _mm256_castps128_ps256(four);
        else
            v = _mm256_insertf128_ps(v, four, 1);
    }

    static NOISE_BATCH_INLINE void transpose(const F r[4], F* out)
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

void deformBatchAvx2(const NoiseBatchJob& job)
{
    LaneKernel<Avx2Lanes>::run(job);
}

#endif
