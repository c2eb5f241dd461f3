//
// perlin.h
//
// Perlin's lattice gradient noise over a 1024-cell lattice, and its fractal sum over
// octaves. Each generator carries its own permutation and gradient tables, drawn from
// glibc's seeded random sequence the first time the generator is evaluated, so equal
// seeds give identical noise whoever builds them and whenever.
//
// The values are fixed bit for bit: every operation is one single-precision operation
// in the order written, so this file must be compiled without floating-point
// contraction (-ffp-contract=off) and never with -ffast-math.
//
// Plain C++98, no host types, no allocation: the tables (57,400 bytes) live inside the
// object, which callers keep on the stack for the length of one evaluation.
//
#ifndef HXNOISE_PERLIN_H
#define HXNOISE_PERLIN_H

// Lattice cells per period.
const int SAMPLE_SIZE = 1024;

class Perlin
{
public:
    // The lattice size as the table formulas use it, the mask that wraps a cell number
    // into 0..1023, and the offset added to every coordinate before its cell is found.
    enum { B = SAMPLE_SIZE, BM = SAMPLE_SIZE - 1, N = 0x1000 };

    // Stores the parameters; draws nothing and leaves the tables unfilled until the
    // first evaluation.
    Perlin(int octaves, float freq, float amp, int seed);

    // Fractal noise at (x, y). The arguments are copied: the in-place scaling of the
    // fractal sum never reaches the caller. Argument order matters.
    float Get(float x, float y)
    {
        float vec[2];
        vec[0] = x;
        vec[1] = y;
        return perlin_noise_2D(vec);
    }

    // Change the fractal-sum parameters; the seed and the tables stay as they are.
    void setOctaves(int oct) { mOctaves = oct; }
    void setFrequency(float freq) { mFrequency = freq; }
    void setAmplitude(float amp) { mAmplitude = amp; }

private:
    float perlin_noise_2D(float vec[2]);
    float noise1(float arg);
    float noise2(float vec[2]);
    float noise3(float vec[3]);
    void normalize2(float v[2]);
    void normalize3(float v[3]);
    void init();
    void buildOnFirstUse();

    int mOctaves;
    float mFrequency;
    float mAmplitude;
    int mSeed;
    int p[SAMPLE_SIZE + SAMPLE_SIZE + 2];
    float g3[SAMPLE_SIZE + SAMPLE_SIZE + 2][3];
    float g2[SAMPLE_SIZE + SAMPLE_SIZE + 2][2];
    float g1[SAMPLE_SIZE + SAMPLE_SIZE + 2];
    bool mStart;

    // Test access to the tables and the build state (tests/noise only).
    friend class PerlinTableReader;
    // Read access for the batch deformation, which gathers from the tables directly
    // (noiseBatch.cpp only).
    friend class PerlinTables;
};

#endif
