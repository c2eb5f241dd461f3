//
// seededRandom.h
//
// The random sequence the noise tables are drawn from: exactly the values glibc's rand()
// returns after srand(seed), but drawn from a private state, so that a table build
// neither depends on nor disturbs the process-wide generator. Builds may then run on
// several threads at once, and other code's rand() calls never change them.
//
// glibc's srand() seeds a 128-byte TYPE_3 state; initstate_r() with a 128-byte buffer
// sets up exactly that state, and random_r() then yields exactly rand()'s values.
// Where the reentrant interface is missing, the process-wide srand()/rand() stand in.
//
#ifndef HXNOISE_SEEDED_RANDOM_H
#define HXNOISE_SEEDED_RANDOM_H

#include <cstdlib>
#include <cstring>

#if defined(__GLIBC__)
#include <stdint.h>
#include <stdlib.h>
#endif

class SeededRandom
{
public:
    explicit SeededRandom(unsigned int seed)
    {
#if defined(__GLIBC__)
        // initstate_r reads the previous state pointer: the block must start zeroed.
        std::memset(&mData, 0, sizeof mData);
        std::memset(mState, 0, sizeof mState);
        initstate_r(seed, reinterpret_cast<char*>(mState), sizeof mState, &mData);
#else
        std::srand(seed);
#endif
    }

    // The next value, in 0..RAND_MAX.
    int next()
    {
#if defined(__GLIBC__)
        int32_t value = 0;
        random_r(&mData, &value);
        return value;
#else
        return std::rand();
#endif
    }

private:
#if defined(__GLIBC__)
    int32_t mState[32];
    struct random_data mData;
#endif
};

#endif
