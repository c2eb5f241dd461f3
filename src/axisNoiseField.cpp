//
// axisNoiseField.cpp
//
#include "axisNoiseField.h"

Perlin makeAxisNoise(int octaves, float frequency, float amplitude, int seed)
{
    if (octaves < MIN_OCT) octaves = MIN_OCT;
    if (octaves > MAX_OCT) octaves = MAX_OCT;
    if (seed < MIN_SEED) seed = MIN_SEED;
    return Perlin(octaves, frequency, amplitude, seed);
}

FieldPoint displacePoint(Perlin& perlinNoiseX, Perlin& perlinNoiseY, Perlin& perlinNoiseZ, double x, double y, double z)
{
    // Coordinates stay in double between the passes; only the noise inputs are rounded.
    y += static_cast<double>(perlinNoiseY.Get(static_cast<float>(x), static_cast<float>(z)));
    x += static_cast<double>(perlinNoiseX.Get(static_cast<float>(y), static_cast<float>(z)));
    z += static_cast<double>(perlinNoiseZ.Get(static_cast<float>(x), static_cast<float>(y)));

    FieldPoint moved;
    moved.x = x;
    moved.y = y;
    moved.z = z;
    return moved;
}

int clampCurvePointCount(int count)
{
    if (count < MIN_PTS) return MIN_PTS;
    if (count > MAX_PTS) return MAX_PTS;
    return count;
}

int sampleCurve(NoiseAxis axis, float length, int count, Perlin& first, Perlin& second, FieldPoint curve[MAX_PTS])
{
    const int n = clampCurvePointCount(count);
    const float step = length / static_cast<float>(n);

    for (int i = 0; i < n; ++i) {
        // One product per point, not a running sum, so no error accumulates along the curve.
        const float s = step * static_cast<float>(i);
        float x, y, z;
        switch (axis) {
        case kNoiseAxisX:
            x = s;
            y = first.Get(x, 0.0f);
            z = second.Get(x, y);
            break;
        case kNoiseAxisY:
            y = s;
            x = first.Get(y, 0.0f);
            z = second.Get(x, y);
            break;
        default:
            z = s;
            y = first.Get(0.0f, z);
            x = second.Get(y, z);
            break;
        }
        curve[i].x = static_cast<double>(x);
        curve[i].y = static_cast<double>(y);
        curve[i].z = static_cast<double>(z);
    }
    return n;
}
