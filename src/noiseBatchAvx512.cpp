//
// noiseBatchAvx512.cpp
//
// The batch deformation sixteen points at a time with AVX-512 (the foundation
// instructions only). Compiled with -mavx512f (no contraction: products and sums stay
// separate roundings) and called only after the processor has been found to support it.
//
// The table reads are plain 16-byte loads, as on the narrower paths, not gather
// instructions: gathers measured only a few per cent faster on the development machine,
// and the microcode fix for Gather Data Sampling slows them markedly on many
// of the processors that have AVX-512.
//
#include "noiseBatchJob.h"

#if defined(HXNOISE_BATCH_AVX512)

#include <cstddef>

// GCC 12's AVX-512 intrinsics start their results from a deliberately undefined value,
// which its own -Wuninitialized then reports inside the header (fixed in later GCCs).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include "noiseBatchLanes.h"

namespace {

struct Avx512Lanes
{
    enum { W = 16, GROUPS = 2 };
    typedef __m512 F;
    typedef __m512i I;
    typedef __m512d D;
    typedef __mmask16 M;

    static F fset(float v) { return _mm512_set1_ps(v); }
    static F fadd(F a, F b) { return _mm512_add_ps(a, b); }
    static F fsub(F a, F b) { return _mm512_sub_ps(a, b); }
    static F fmul(F a, F b) { return _mm512_mul_ps(a, b); }

    static D dset(double v) { return _mm512_set1_pd(v); }
    static D dload(const double* p) { return _mm512_loadu_pd(p); }
    static void dstore(double* p, D v) { _mm512_storeu_pd(p, v); }
    static D dadd(D a, D b) { return _mm512_add_pd(a, b); }
    static D dmul(D a, D b) { return _mm512_mul_pd(a, b); }

    static F narrow(D lo, D hi)
    {
        const __m512d low = _mm512_castps_pd(_mm512_castps256_ps512(_mm512_cvtpd_ps(lo)));
        return _mm512_castpd_ps(_mm512_insertf64x4(low, _mm256_castps_pd(_mm512_cvtpd_ps(hi)), 1));
    }
    static void widen(F f, D& lo, D& hi)
    {
        lo = _mm512_cvtps_pd(_mm512_castps512_ps256(f));
        hi = _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(f), 1)));
    }

    static unsigned unchanged(D before, D after)
    {
        return unsigned(_mm512_cmp_pd_mask(after, before, _CMP_EQ_OQ) |
                        _mm512_cmp_pd_mask(before, before, _CMP_UNORD_Q));
    }

    static M inRange(F t)
    {
        return _mm512_cmp_ps_mask(t, _mm512_set1_ps(-2147483648.0f), _CMP_GT_OS) &
               _mm512_cmp_ps_mask(t, _mm512_set1_ps(2147483648.0f), _CMP_LT_OS);
    }
    static M both(M a, M b) { return M(a & b); }
    static F keep(M m, F v) { return _mm512_maskz_mov_ps(m, v); }

    // For |t| < 2^31 floor(t) is a whole float equal to the scalar cell, so t - floor(t)
    // is the scalar r0.
    static void cell(F t, I& b0, F& r0)
    {
        const F f = _mm512_roundscale_ps(t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        r0 = _mm512_sub_ps(t, f);
        b0 = _mm512_and_si512(_mm512_cvttps_epi32(f), _mm512_set1_epi32(1023));
    }

    // bx0 | by0 << 16: both cell numbers of a lane in one 32-bit word.
    static I pack(I bx0, I by0) { return _mm512_or_si512(bx0, _mm512_slli_epi32(by0, 16)); }

    // Lanes 4c .. 4c + 3 fill 128-bit chunk c of a[0..3] (gradients at k0) and b[0..3] (at
    // k1), lane 4c + j going to a[j] and b[j]; the in-chunk 4x4 transposes then leave every
    // lane where it was. The packed cell numbers leave the vector register two lanes at a
    // time, straight into general registers.
    static NOISE_BATCH_INLINE void corners(const unsigned* perm, const float* table, I cells, F g[8])
    {
        F a[4], b[4];
        chunk<0>(perm, table, _mm512_castsi512_si128(cells), a, b);
        chunk<1>(perm, table, _mm512_extracti32x4_epi32(cells, 1), a, b);
        chunk<2>(perm, table, _mm512_extracti32x4_epi32(cells, 2), a, b);
        chunk<3>(perm, table, _mm512_extracti32x4_epi32(cells, 3), a, b);
        transpose(a, g);
        transpose(b, g + 4);
    }

    template <int C>
    static NOISE_BATCH_INLINE void chunk(const unsigned* perm, const float* table, __m128i cells, F a[4], F b[4])
    {
        const std::size_t low = std::size_t(_mm_cvtsi128_si64(cells));
        const std::size_t high = std::size_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(cells, cells)));
        loadChunk<Avx512Lanes, C>(perm, table, low, high, a, b);
    }

    template <int C>
    static NOISE_BATCH_INLINE void put(F& v, const float* at)
    {
        const __m128 four = _mm_loadu_ps(at);
        if (C == 0)
            v = _mm512_castps128_ps512(four);
        else
            v = _mm512_insertf32x4(v, four, C & 3);
    }

    static NOISE_BATCH_INLINE void transpose(const F r[4], F* out)
    {
        const F t0 = _mm512_unpacklo_ps(r[0], r[1]);
        const F t1 = _mm512_unpackhi_ps(r[0], r[1]);
        const F t2 = _mm512_unpacklo_ps(r[2], r[3]);
        const F t3 = _mm512_unpackhi_ps(r[2], r[3]);
        out[0] = _mm512_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
        out[1] = _mm512_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
        out[2] = _mm512_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
        out[3] = _mm512_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
    }
};

} // namespace

void deformBatchAvx512(const NoiseBatchJob& job)
{
    LaneKernel<Avx512Lanes>::run(job);
}

#endif
