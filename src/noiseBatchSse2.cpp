//
// noiseBatchSse2.cpp
//
// The batch deformation four points at a time with SSE2, which every x86-64 processor
// has: the baseline vector path (x86-64 only: lattice indices travel in 64-bit general
// registers).
//
#include "noiseBatchJob.h"

#if defined(HXNOISE_BATCH_SSE2)

#include <cstddef>

#include <emmintrin.h>

#include "noiseBatchLanes.h"

namespace {

struct Sse2Lanes
{
    enum { W = 4, GROUPS = 4 };
    typedef __m128 F;
    typedef __m128i I;
    typedef __m128d D;
    typedef __m128 M;

    static F fset(float v) { return _mm_set1_ps(v); }
    static F fadd(F a, F b) { return _mm_add_ps(a, b); }
    static F fsub(F a, F b) { return _mm_sub_ps(a, b); }
    static F fmul(F a, F b) { return _mm_mul_ps(a, b); }

    static D dset(double v) { return _mm_set1_pd(v); }
    static D dload(const double* p) { return _mm_loadu_pd(p); }
    static void dstore(double* p, D v) { _mm_storeu_pd(p, v); }
    static D dadd(D a, D b) { return _mm_add_pd(a, b); }
    static D dmul(D a, D b) { return _mm_mul_pd(a, b); }

    // Double to float rounds to nearest, as static_cast<float> does.
    static F narrow(D lo, D hi) { return _mm_movelh_ps(_mm_cvtpd_ps(lo), _mm_cvtpd_ps(hi)); }
    static void widen(F f, D& lo, D& hi)
    {
        lo = _mm_cvtps_pd(f);
        hi = _mm_cvtps_pd(_mm_movehl_ps(f, f));
    }

    static unsigned unchanged(D before, D after)
    {
        return unsigned(_mm_movemask_pd(_mm_or_pd(_mm_cmpeq_pd(after, before), _mm_cmpunord_pd(before, before))));
    }

    static M inRange(F t)
    {
        return _mm_and_ps(_mm_cmpgt_ps(t, _mm_set1_ps(-2147483648.0f)), _mm_cmplt_ps(t, _mm_set1_ps(2147483648.0f)));
    }
    static M both(M a, M b) { return _mm_and_ps(a, b); }
    static F keep(M m, F v) { return _mm_and_ps(m, v); }

    // Floor without SSE4.1: truncate, then step down where truncation went up (t < 0
    // and not whole), exactly the scalar cell rule.
    static void cell(F t, I& b0, F& r0)
    {
        I c = _mm_cvttps_epi32(t);
        c = _mm_add_epi32(c, _mm_castps_si128(_mm_cmpgt_ps(_mm_cvtepi32_ps(c), t)));
        r0 = _mm_sub_ps(t, _mm_cvtepi32_ps(c));
        b0 = _mm_and_si128(c, _mm_set1_epi32(1023));
    }

    // bx0 | by0 << 16: both cell numbers of a lane in one 32-bit word.
    static I pack(I bx0, I by0) { return _mm_or_si128(bx0, _mm_slli_epi32(by0, 16)); }

    // The packed cell numbers leave the vector register two lanes at a time, straight
    // into general registers.
    static NOISE_BATCH_INLINE void corners(const unsigned* perm, const float* table, I cells, F g[8])
    {
        F a[4], b[4];
        const std::size_t low = std::size_t(_mm_cvtsi128_si64(cells));
        const std::size_t high = std::size_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(cells, cells)));
        loadChunk<Sse2Lanes, 0>(perm, table, low, high, a, b);
        _MM_TRANSPOSE4_PS(a[0], a[1], a[2], a[3]);
        _MM_TRANSPOSE4_PS(b[0], b[1], b[2], b[3]);
        for (int k = 0; k < 4; ++k) {
            g[k] = a[k];
            g[4 + k] = b[k];
        }
    }

    // One vector is one chunk.
    template <int C>
    static NOISE_BATCH_INLINE void put(F& v, const float* at)
    {
        v = _mm_loadu_ps(at);
    }
};

} // namespace

void deformBatchSse2(const NoiseBatchJob& job)
{
    LaneKernel<Sse2Lanes>::run(job);
}

#endif
