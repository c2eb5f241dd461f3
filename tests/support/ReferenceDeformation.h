// The reference every test of the deformer compares with: the noise core's own deformation
// of points, worked out without the host or the plug-in. A point goes into the deform space
// by the inverse of its matrix, through displacePoint, and back; each axis's curve is sampled
// from the other axes' noise as the deformer samples it.
#pragma once

#include "axisNoiseField.h"
#include "perlin.h"

#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <cstdint>
#include <cstring>
#include <vector>

// A double's bits, for comparing values that must agree to the bit.
inline std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// One axis's four noise parameters, as the deformer's attributes hold them (their defaults
// unless given).
struct AxisNoise
{
    int octaves = 4;
    float frequency = 1.0f;
    float amplitude = 0.0f;
    int seed = 0;

    Perlin generator() const { return makeAxisNoise(octaves, frequency, amplitude, seed); }
};

// The noise parameters of the three axes.
struct FieldParameters
{
    AxisNoise x, y, z;
};

// `points` (x, y, z each) deformed by `field` under the deform space `space`.
inline std::vector<double> coreDeformation(const std::vector<double>& points, const FieldParameters& field,
                                           const MMatrix& space)
{
    Perlin noiseX = field.x.generator();
    Perlin noiseY = field.y.generator();
    Perlin noiseZ = field.z.generator();
    const MMatrix inverse = space.inverse();
    std::vector<double> moved;
    for (size_t i = 0; i < points.size(); i += 3) {
        MPoint pt(points[i], points[i + 1], points[i + 2]);
        pt *= inverse;
        const FieldPoint displaced = displacePoint(noiseX, noiseY, noiseZ, pt.x, pt.y, pt.z);
        pt.x = displaced.x;
        pt.y = displaced.y;
        pt.z = displaced.z;
        pt *= space;
        moved.insert(moved.end(), {pt.x, pt.y, pt.z});
    }
    return moved;
}

// The visualisation curve of one axis, as x, y, z per point.
inline std::vector<double> coreCurve(NoiseAxis axis, float length, int count, const FieldParameters& field)
{
    // The X curve is sampled from the Y and Z noise, the Y curve from X and Z, the Z
    // curve from Y and X.
    const AxisNoise* sources[3][2] = {{&field.y, &field.z}, {&field.x, &field.z}, {&field.y, &field.x}};
    Perlin first = sources[axis][0]->generator();
    Perlin second = sources[axis][1]->generator();
    FieldPoint curve[MAX_PTS];
    const int n = sampleCurve(axis, length, count, first, second, curve);
    std::vector<double> values;
    for (int i = 0; i < n; ++i) values.insert(values.end(), {curve[i].x, curve[i].y, curve[i].z});
    return values;
}
