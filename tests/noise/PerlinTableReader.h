// Read access to a generator's tables and build state, for the noise tests only.
#pragma once

#include "perlin.h"

#include <cstdint>
#include <cstring>

class PerlinTableReader
{
public:
    explicit PerlinTableReader(const Perlin& perlin) : mPerlin(perlin) {}

    int p(int i) const { return mPerlin.p[i]; }
    float g1(int i) const { return mPerlin.g1[i]; }
    float g2(int i, int c) const { return mPerlin.g2[i][c]; }
    float g3(int i, int c) const { return mPerlin.g3[i][c]; }
    bool built() const { return !mPerlin.mStart; }

    static constexpr int kEntries = 2 * SAMPLE_SIZE + 2;

private:
    const Perlin& mPerlin;
};

// Builds a generator's tables by evaluating it once.
inline Perlin builtPerlin(int seed)
{
    Perlin perlin(1, 1.0f, 1.0f, seed);
    perlin.Get(0.5f, 0.5f);
    return perlin;
}

inline uint32_t floatBits(float value)
{
    uint32_t bits;
    static_assert(sizeof bits == sizeof value, "float is 32 bits");
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
