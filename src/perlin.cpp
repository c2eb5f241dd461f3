//
// perlin.cpp
//
// The lattice gradient noise behind every axis of the deformer. Each function below is
// written as a sequence of single-precision operations whose order is part of the
// result: do not regroup, fuse or widen them.
//
#include "perlin.h"
#include "seededRandom.h"

#include <cmath>

namespace {

// One gradient component: a multiple of 1/1024 in [-1, 1023/1024], exact in float.
inline float drawGradient(SeededRandom& random)
{
    return static_cast<float>((random.next() % (Perlin::B + Perlin::B)) - Perlin::B) / static_cast<float>(Perlin::B);
}

// The cell of one coordinate and the distances to the cells on either side.
// The offset is added in single precision before the cell is taken. The cell is the
// floor of t, so the distance r0 always lies in [0, 1): on the negative side a truncated
// cell would put it in (-1, 0], where the fade weight leaves [0, 1] and the noise jumps at
// every whole t. Where t is not a number or |t| >= 2^31 there is no cell (the conversion
// to int would be undefined) and the caller treats the octave as contributing 0.
inline bool setup(float c, int& b0, int& b1, float& r0, float& r1)
{
    const float t = c + static_cast<float>(Perlin::N);
    if (!(t > -2147483648.0f && t < 2147483648.0f)) return false;
    int cell = static_cast<int>(t);
    if (static_cast<float>(cell) > t) cell -= 1;
    b0 = cell & Perlin::BM;
    b1 = (b0 + 1) & Perlin::BM;
    r0 = t - static_cast<float>(cell);
    r1 = r0 - 1.0f;
    return true;
}

// The fade weight t*t*(3 - 2t): the square first, then its product with the bracket.
inline float s_curve(float t)
{
    return (t * t) * (3.0f - 2.0f * t);
}

inline float lerp(float t, float a, float b)
{
    return a + t * (b - a);
}

inline float at2(float rx, float ry, const float q[2])
{
    return rx * q[0] + ry * q[1];
}

inline float at3(float rx, float ry, float rz, const float q[3])
{
    return (rx * q[0] + ry * q[1]) + rz * q[2];
}

} // namespace

Perlin::Perlin(int octaves, float freq, float amp, int seed)
    : mOctaves(octaves), mFrequency(freq), mAmplitude(amp), mSeed(seed), mStart(true)
{}

void Perlin::buildOnFirstUse()
{
    if (mStart) {
        mStart = false;
        init();
    }
}

float Perlin::perlin_noise_2D(float vec[2])
{
    const int terms = mOctaves;
    float amp = mAmplitude;
    float result = 0.0f;

    vec[0] = vec[0] * mFrequency;
    vec[1] = vec[1] * mFrequency;

    for (int i = 0; i < terms; ++i) {
        result = result + noise2(vec) * amp;
        vec[0] = vec[0] + vec[0];
        vec[1] = vec[1] + vec[1];
        amp = 0.5f * amp;
    }
    return result;
}

float Perlin::noise1(float arg)
{
    buildOnFirstUse();

    int bx0, bx1;
    float rx0, rx1;
    if (!setup(arg, bx0, bx1, rx0, rx1)) return 0.0f;

    const float sx = s_curve(rx0);
    const float u = rx0 * g1[p[bx0]];
    const float v = rx1 * g1[p[bx1]];
    return lerp(sx, u, v);
}

float Perlin::noise2(float vec[2])
{
    buildOnFirstUse();

    int bx0, bx1, by0, by1;
    float rx0, rx1, ry0, ry1;
    if (!setup(vec[0], bx0, bx1, rx0, rx1) || !setup(vec[1], by0, by1, ry0, ry1)) return 0.0f;

    const int i = p[bx0];
    const int j = p[bx1];
    const int b00 = p[i + by0];
    const int b10 = p[j + by0];
    const int b01 = p[i + by1];
    const int b11 = p[j + by1];

    const float sx = s_curve(rx0);
    const float sy = s_curve(ry0);

    float u = at2(rx0, ry0, g2[b00]);
    float v = at2(rx1, ry0, g2[b10]);
    const float a = lerp(sx, u, v);

    u = at2(rx0, ry1, g2[b01]);
    v = at2(rx1, ry1, g2[b11]);
    const float b = lerp(sx, u, v);

    return lerp(sy, a, b);
}

float Perlin::noise3(float vec[3])
{
    buildOnFirstUse();

    int bx0, bx1, by0, by1, bz0, bz1;
    float rx0, rx1, ry0, ry1, rz0, rz1;
    if (!setup(vec[0], bx0, bx1, rx0, rx1) || !setup(vec[1], by0, by1, ry0, ry1) || !setup(vec[2], bz0, bz1, rz0, rz1))
        return 0.0f;

    const int i = p[bx0];
    const int j = p[bx1];
    const int b00 = p[i + by0];
    const int b10 = p[j + by0];
    const int b01 = p[i + by1];
    const int b11 = p[j + by1];

    const float sx = s_curve(rx0);
    const float sy = s_curve(ry0);
    const float sz = s_curve(rz0);

    float u = at3(rx0, ry0, rz0, g3[b00 + bz0]);
    float v = at3(rx1, ry0, rz0, g3[b10 + bz0]);
    float a = lerp(sx, u, v);
    u = at3(rx0, ry1, rz0, g3[b01 + bz0]);
    v = at3(rx1, ry1, rz0, g3[b11 + bz0]);
    float b = lerp(sx, u, v);
    const float c = lerp(sy, a, b);

    u = at3(rx0, ry0, rz1, g3[b00 + bz1]);
    v = at3(rx1, ry0, rz1, g3[b10 + bz1]);
    a = lerp(sx, u, v);
    u = at3(rx0, ry1, rz1, g3[b01 + bz1]);
    v = at3(rx1, ry1, rz1, g3[b11 + bz1]);
    b = lerp(sx, u, v);
    const float d = lerp(sy, a, b);

    return lerp(sz, c, d);
}

// Each component is multiplied by the rounded reciprocal of the length, not divided by
// the length. A drawn vector of length zero stays the zero vector instead of turning
// into NaN components (which would poison every cell that uses it).
void Perlin::normalize2(float v[2])
{
    const float s = std::sqrt(v[0] * v[0] + v[1] * v[1]);
    if (s == 0.0f) return;
    const float r = 1.0f / s;
    v[0] = v[0] * r;
    v[1] = v[1] * r;
}

void Perlin::normalize3(float v[3])
{
    const float s = std::sqrt((v[0] * v[0] + v[1] * v[1]) + v[2] * v[2]);
    if (s == 0.0f) return;
    const float r = 1.0f / s;
    v[0] = v[0] * r;
    v[1] = v[1] * r;
    v[2] = v[2] * r;
}

// The table build: 6144 gradient draws (six per index: g1, then g2's two components, then
// g3's three), 1023 shuffle draws over the whole range, then the replication
// that lets an index formed as a permutation value plus a wrapped cell skip a second wrap.
void Perlin::init()
{
    SeededRandom random(static_cast<unsigned int>(mSeed));

    for (int i = 0; i < B; ++i) {
        p[i] = i;
        g1[i] = drawGradient(random);
        for (int j = 0; j < 2; ++j) g2[i][j] = drawGradient(random);
        for (int j = 0; j < 3; ++j) g3[i][j] = drawGradient(random);
    }

    // Normalising draws nothing, so all vectors are normalised after the draws: the same
    // values as normalising each before the next is drawn, in a loop free of the
    // generator's dependency chain.
    for (int i = 0; i < B; ++i) {
        normalize2(g2[i]);
        normalize3(g3[i]);
    }

    for (int i = B - 1; i > 0; --i) {
        const int k = p[i];
        const int j = random.next() % B;
        p[i] = p[j];
        p[j] = k;
    }

    for (int i = 0; i < B + 2; ++i) {
        p[B + i] = p[i];
        g1[B + i] = g1[i];
        for (int j = 0; j < 2; ++j) g2[B + i][j] = g2[i][j];
        for (int j = 0; j < 3; ++j) g3[B + i][j] = g3[i][j];
    }
}
