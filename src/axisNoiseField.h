//
// axisNoiseField.h
//
// The deformer's noise field: one fractal noise generator per axis of the deform space,
// the rule that displaces a point through the three of them, and the rule that samples
// each axis's visualisation curve. Pure computation over plain numbers: no host types,
// no allocation.
//
#ifndef HXNOISE_AXIS_NOISE_FIELD_H
#define HXNOISE_AXIS_NOISE_FIELD_H

#include "perlin.h"

// Parameter limits applied before use.
const int MIN_OCT = 1;
const int MAX_OCT = 10;
const int MIN_SEED = 0;
const int MIN_PTS = 5;
const int MAX_PTS = 500;

enum NoiseAxis { kNoiseAxisX = 0, kNoiseAxisY = 1, kNoiseAxisZ = 2 };

// A point of the deform space, or one point of a visualisation curve.
struct FieldPoint
{
    double x;
    double y;
    double z;
};

// The generator of one axis: octaves clamped to MIN_OCT..MAX_OCT and the seed to at
// least MIN_SEED; frequency and amplitude pass unchanged (zero and negative included).
// Builds no tables: the generator draws them at its first evaluation.
Perlin makeAxisNoise(int octaves, float frequency, float amplitude, int seed);

// Displaces one deform-space point in three passes, each reading what the passes before
// it left: y += Y(x, z); then x += X(y, z); then z += Z(x, y). The noise is evaluated in
// single precision at the coordinates rounded to float; the sums are in double.
FieldPoint displacePoint(Perlin& perlinNoiseX, Perlin& perlinNoiseY, Perlin& perlinNoiseZ, double x, double y,
                         double z);

// Point counts are clamped to MIN_PTS..MAX_PTS before sampling.
int clampCurvePointCount(int count);

// Samples the visualisation curve of `axis`: the image of the axis line under the field,
// with the axis's own noise left out. `first` and `second` are the generators of the two
// other axes: Y then Z for the X curve, X then Z for the Y curve, Y then X for the Z
// curve. Writes clampCurvePointCount(count) points into `curve` (room for MAX_PTS) and
// returns that number. The points sit at s = i * (length / n) for i = 0..n-1, so the
// curve stops one step short of the length.
int sampleCurve(NoiseAxis axis, float length, int count, Perlin& first, Perlin& second, FieldPoint curve[MAX_PTS]);

#endif
