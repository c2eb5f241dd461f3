// The axis noise field: parameter clamps, the three-pass displacement and the sampling of
// the visualisation curves, used the way the deformer uses them.
#include "PerlinTableReader.h"
#include "axisNoiseField.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

uint64_t doubleBits(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Point `index` of a curve is `expected` to the bit.
void expectSameBits(const FieldPoint& point, const FieldPoint& expected, int index)
{
    EXPECT_EQ(doubleBits(point.x), doubleBits(expected.x)) << "point " << index;
    EXPECT_EQ(doubleBits(point.y), doubleBits(expected.y)) << "point " << index;
    EXPECT_EQ(doubleBits(point.z), doubleBits(expected.z)) << "point " << index;
}

// A point and the noise values as the displacement computes them, by hand.
struct Generators
{
    Perlin x = makeAxisNoise(4, 0.8f, 0.6f, 0);
    Perlin y = makeAxisNoise(3, 1.3f, 0.4f, 1);
    Perlin z = makeAxisNoise(5, 0.5f, 0.9f, 2);
};

TEST(AxisNoise, ClampsOctavesAndSeedOnly)
{
    auto same = [](Perlin a, Perlin b) {
        for (float t = -3.3f; t < 3.3f; t += 0.29f)
            if (floatBits(a.Get(t, 0.7f * t + 0.1f)) != floatBits(b.Get(t, 0.7f * t + 0.1f))) return false;
        return true;
    };
    EXPECT_TRUE(same(makeAxisNoise(0, 1.1f, 1.0f, 3), Perlin(1, 1.1f, 1.0f, 3)));
    EXPECT_TRUE(same(makeAxisNoise(-3, 1.1f, 1.0f, 3), Perlin(1, 1.1f, 1.0f, 3)));
    EXPECT_TRUE(same(makeAxisNoise(11, 1.1f, 1.0f, 3), Perlin(10, 1.1f, 1.0f, 3)));
    EXPECT_TRUE(same(makeAxisNoise(10, 1.1f, 1.0f, 3), Perlin(10, 1.1f, 1.0f, 3)));
    EXPECT_TRUE(same(makeAxisNoise(4, 1.1f, 1.0f, -1), Perlin(4, 1.1f, 1.0f, 0)));
    // Frequency and amplitude pass through, negative values included.
    EXPECT_TRUE(same(makeAxisNoise(4, -1.1f, -2.0f, 3), Perlin(4, -1.1f, -2.0f, 3)));
    EXPECT_FALSE(PerlinTableReader(makeAxisNoise(4, 1.0f, 1.0f, 3)).built());
}

TEST(DisplacePoint, RunsThreePassesYThenXThenZ)
{
    Generators field, check;
    const double x = 0.3, y = -1.25, z = 2.1;

    const FieldPoint moved = displacePoint(field.x, field.y, field.z, x, y, z);

    const double y1 = y + double(check.y.Get(float(x), float(z)));
    const double x1 = x + double(check.x.Get(float(y1), float(z)));
    const double z1 = z + double(check.z.Get(float(x1), float(y1)));
    EXPECT_EQ(doubleBits(moved.x), doubleBits(x1));
    EXPECT_EQ(doubleBits(moved.y), doubleBits(y1));
    EXPECT_EQ(doubleBits(moved.z), doubleBits(z1));
    // Coordinates are kept in double between passes: precision below float survives.
    EXPECT_NE(moved.x, double(float(moved.x)));
}

TEST(DisplacePoint, KeepsTheOriginAndIsIdentityWithoutNoise)
{
    Generators field;
    const FieldPoint origin = displacePoint(field.x, field.y, field.z, 0.0, 0.0, 0.0);
    EXPECT_EQ(origin.x, 0.0);
    EXPECT_EQ(origin.y, 0.0);
    EXPECT_EQ(origin.z, 0.0);

    Perlin silentX = makeAxisNoise(4, 0.0f, 5.0f, 0);
    Perlin silentY = makeAxisNoise(4, 1.0f, 0.0f, 1);
    Perlin silentZ = makeAxisNoise(4, 0.0f, 0.0f, 2);
    const FieldPoint still = displacePoint(silentX, silentY, silentZ, 1.1, -2.2, 3.3);
    EXPECT_EQ(still.x, 1.1);
    EXPECT_EQ(still.y, -2.2);
    EXPECT_EQ(still.z, 3.3);
}

TEST(DisplacePoint, YNoiseReachesTheOtherAxes)
{
    // With a Y amplitude the X and Z passes see the moved y; without it they see the input.
    Perlin x1 = makeAxisNoise(4, 1.0f, 1.0f, 0), x2 = x1;
    Perlin z1 = makeAxisNoise(4, 1.0f, 1.0f, 2), z2 = z1;
    Perlin flatY = makeAxisNoise(4, 1.0f, 0.0f, 1);
    Perlin liveY = makeAxisNoise(4, 1.0f, 1.0f, 1);
    const FieldPoint flat = displacePoint(x1, flatY, z1, 0.37, 0.61, 0.13);
    const FieldPoint live = displacePoint(x2, liveY, z2, 0.37, 0.61, 0.13);
    EXPECT_EQ(flat.y, 0.61);
    EXPECT_NE(flat.x, live.x);
    EXPECT_NE(flat.z, live.z);
}

TEST(SampleCurve, ClampsThePointCount)
{
    Generators field;
    FieldPoint curve[MAX_PTS];
    EXPECT_EQ(sampleCurve(kNoiseAxisX, 1.0f, 4, field.y, field.z, curve), 5);
    EXPECT_EQ(sampleCurve(kNoiseAxisX, 1.0f, 0, field.y, field.z, curve), 5);
    EXPECT_EQ(sampleCurve(kNoiseAxisX, 1.0f, -2, field.y, field.z, curve), 5);
    EXPECT_EQ(sampleCurve(kNoiseAxisX, 1.0f, 5, field.y, field.z, curve), 5);
    EXPECT_EQ(sampleCurve(kNoiseAxisX, 1.0f, 500, field.y, field.z, curve), 500);
    EXPECT_EQ(sampleCurve(kNoiseAxisX, 1.0f, 501, field.y, field.z, curve), 500);
}

TEST(SampleCurve, SamplesOneStepShortOfTheLength)
{
    // With frequency 1 every sample of a length-10, 5-point curve is a lattice point, so
    // the noise vanishes and only the own coordinate remains.
    Perlin y = makeAxisNoise(7, 1.0f, 3.0f, 1);
    Perlin z = makeAxisNoise(2, 1.0f, 5.0f, 2);
    FieldPoint curve[MAX_PTS];
    ASSERT_EQ(sampleCurve(kNoiseAxisX, 10.0f, 5, y, z, curve), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(curve[i].x, 2.0 * i);
        EXPECT_EQ(curve[i].y, 0.0);
        EXPECT_EQ(curve[i].z, 0.0);
    }
}

TEST(SampleCurve, LengthZeroCollapsesAndNegativeLengthMirrors)
{
    Generators field;
    FieldPoint curve[MAX_PTS];
    const int n = sampleCurve(kNoiseAxisY, 0.0f, 30, field.x, field.z, curve);
    ASSERT_EQ(n, 30);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(curve[i].x, 0.0);
        EXPECT_EQ(curve[i].y, 0.0);
        EXPECT_EQ(curve[i].z, 0.0);
    }

    sampleCurve(kNoiseAxisZ, -3.0f, 30, field.y, field.x, curve);
    EXPECT_EQ(curve[0].z, 0.0);
    for (int i = 1; i < 30; ++i) EXPECT_LT(curve[i].z, curve[i - 1].z);
}

TEST(SampleCurve, IsTheAxisLineDisplacedWithoutItsOwnNoise)
{
    // Each curve is the image of its axis line under the displacement with the own axis's
    // noise taken as zero; for Y even with the Y noise, which is zero along the Y axis.
    Generators field, check;
    Perlin silentX = makeAxisNoise(4, 1.0f, 0.0f, 0);
    Perlin silentZ = makeAxisNoise(4, 1.0f, 0.0f, 2);
    FieldPoint curve[MAX_PTS];

    const int n = sampleCurve(kNoiseAxisX, 4.0f, 40, field.y, field.z, curve);
    for (int i = 0; i < n; ++i) {
        const double s = double(4.0f / 40.0f * float(i));
        const FieldPoint moved = displacePoint(silentX, check.y, check.z, s, 0.0, 0.0);
        expectSameBits(curve[i], moved, i);
    }

    sampleCurve(kNoiseAxisY, 4.0f, 40, field.x, field.z, curve);
    for (int i = 0; i < 40; ++i) {
        const double s = double(4.0f / 40.0f * float(i));
        const FieldPoint moved = displacePoint(check.x, check.y, check.z, 0.0, s, 0.0);
        expectSameBits(curve[i], moved, i);
    }

    sampleCurve(kNoiseAxisZ, 4.0f, 40, field.y, field.x, curve);
    for (int i = 0; i < 40; ++i) {
        const double s = double(4.0f / 40.0f * float(i));
        const FieldPoint moved = displacePoint(check.x, check.y, silentZ, 0.0, 0.0, s);
        expectSameBits(curve[i], moved, i);
    }
}

TEST(SampleCurve, ChangesWhenTheGeneratorOrderChanges)
{
    Generators field, swapped;
    FieldPoint inOrder[MAX_PTS], reversed[MAX_PTS];
    sampleCurve(kNoiseAxisX, 3.0f, 20, field.y, field.z, inOrder);
    sampleCurve(kNoiseAxisX, 3.0f, 20, swapped.z, swapped.y, reversed);
    bool anyDifferent = false;
    for (int i = 0; i < 20; ++i) anyDifferent = anyDifferent || inOrder[i].y != reversed[i].y;
    EXPECT_TRUE(anyDifferent);
}

} // namespace
