//
// seededRandom.h
//
// The random sequence the noise tables are drawn from: exactly the values glibc's rand()
// returns after srand(seed), but drawn from a private state, so that a table build
// neither depends on nor disturbs the process-wide generator. Builds may then run on
// several threads at once, and other code's rand() calls never change them.
//
// glibc's srand() seeds its default 128-byte state: an additive feedback generator over
// 31 words (taps 31 and 3), filled by the Park-Miller recurrence from the seed and run 310
// steps before the first value is returned. It is written out here rather than called
// through initstate_r/random_r because the table build draws 7,167 values and the
// library call costs more than the arithmetic. Tests hold it to rand()'s sequence.
// Where the C library is not glibc, the process-wide srand()/rand() stand in.
//
#ifndef HXNOISE_SEEDED_RANDOM_H
#define HXNOISE_SEEDED_RANDOM_H

#include <cstdlib>

#if defined(__GLIBC__)
#include <stdint.h>
#endif

class SeededRandom
{
public:
    explicit SeededRandom(unsigned int seed)
    {
#if defined(__GLIBC__)
        if (seed == 0) seed = 1;
        int32_t word = static_cast<int32_t>(seed);
        mState[0] = static_cast<uint32_t>(word);
        for (int i = 1; i < kDegree; ++i) {
            // state[i] = 16807 * state[i - 1] mod (2^31 - 1), without overflowing 31 bits.
            const long hi = word / 127773;
            const long lo = word % 127773;
            word = static_cast<int32_t>(16807 * lo - 2836 * hi);
            if (word < 0) word += 2147483647;
            mState[i] = static_cast<uint32_t>(word);
        }
        mFront = kSeparation;
        mRear = 0;
        for (int i = 0; i < 10 * kDegree; ++i) next();
#else
        std::srand(seed);
#endif
    }

    // The next value, in 0..RAND_MAX.
    int next()
    {
#if defined(__GLIBC__)
        const uint32_t value = mState[mFront] + mState[mRear];
        mState[mFront] = value;
        if (++mFront == kDegree) {
            mFront = 0;
            ++mRear;
        } else if (++mRear == kDegree) {
            mRear = 0;
        }
        return static_cast<int>(value >> 1);
#else
        return std::rand();
#endif
    }

private:
#if defined(__GLIBC__)
    enum { kDegree = 31, kSeparation = 3 };
    uint32_t mState[kDegree];
    int mFront;
    int mRear;
#endif
};

#endif
