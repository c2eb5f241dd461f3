// The batch deformation: every path (scalar loop, SSE2, AVX2, AVX-512 as far as this
// processor has them) must give the scalar loop's bits for every point, whatever the
// points, the generators and the matrices, and must build the generators' tables exactly
// when the scalar loop would.
#include "PerlinTableReader.h"
#include "axisNoiseField.h"
#include "noiseBatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <new>
#include <random>
#include <string>
#include <vector>

namespace {

const NoiseBatchPath kVectorPaths[] = {kNoiseBatchSse2, kNoiseBatchAvx2, kNoiseBatchAvx512};

uint64_t doubleBits(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct Matrix
{
    double m[4][4];
};

Matrix identity()
{
    Matrix id = {};
    for (int i = 0; i < 4; ++i) id.m[i][i] = 1.0;
    return id;
}

// A turned, scaled, sheared and moved deform space, and a projective one whose last
// column is not (0, 0, 0, 1), so that w changes too. The "inverse" need not be exact:
// both paths must simply do the same arithmetic with it.
Matrix randomMatrix(std::mt19937& random, bool projective)
{
    std::uniform_real_distribution<double> entry(-2.0, 2.0);
    Matrix mat = identity();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) mat.m[r][c] = r == 3 ? 10.0 * entry(random) : entry(random);
    if (projective)
        for (int r = 0; r < 3; ++r) mat.m[r][3] = 0.1 * entry(random);
    return mat;
}

// The coordinates that matter: ordinary ones on both sides of the origin, lattice
// points, the far negative side, values that reach |t| >= 2^31 once scaled or doubled,
// values beyond float, infinities and NaN.
std::vector<double> randomPoints(std::mt19937& random, unsigned count, double w = 1.0)
{
    static const double special[] = {0.0,
                                     -0.0,
                                     3.0,
                                     -4096.0,
                                     -4097.5,
                                     -5000.25,
                                     1e9,
                                     -1e9,
                                     3e9,
                                     -2147483648.0,
                                     2147483520.0,
                                     1e39,
                                     -1e300,
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::quiet_NaN(),
                                     1e-40,
                                     0.5};
    const unsigned nSpecial = sizeof special / sizeof special[0];
    std::uniform_real_distribution<double> near(-12.0, 12.0);
    std::uniform_int_distribution<unsigned> pick(0, 9);
    std::vector<double> points(4 * count);
    for (unsigned i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            const unsigned kind = pick(random);
            double value = near(random);
            if (kind == 0)
                value = special[random() % nSpecial];
            else if (kind == 1)
                value *= 1e6;
            points[4 * i + c] = value;
        }
        points[4 * i + 3] = w;
    }
    return points;
}

struct Field
{
    int octaves[3];
    float frequency[3];
    float amplitude[3];
    int seed[3];

    // The generators in a fresh, unbuilt state, as the deformer makes them per call.
    void make(Perlin* out) const
    {
        for (int a = 0; a < 3; ++a)
            new (&out[a]) Perlin(makeAxisNoise(octaves[a], frequency[a], amplitude[a], seed[a]));
    }
};

// Holds three unbuilt generators without default-constructing Perlin.
struct Generators
{
    alignas(Perlin) unsigned char storage[3 * sizeof(Perlin)];
    explicit Generators(const Field& field) { field.make(get()); }
    Perlin* get() { return reinterpret_cast<Perlin*>(storage); }
    Perlin& x() { return get()[0]; }
    Perlin& y() { return get()[1]; }
    Perlin& z() { return get()[2]; }
};

// Deforms `points` through `path` with fresh generators of `field`; returns the points.
std::vector<double> deformWith(NoiseBatchPath path, const Field& field, const Matrix& mat, const Matrix& inv,
                               std::vector<double> points)
{
    Generators gen(field);
    deformPoints(path, gen.x(), gen.y(), gen.z(), mat.m, inv.m, points.data(), unsigned(points.size() / 4));
    return points;
}

// The index of the first point whose bits differ, or -1. A NaN matches any NaN: which
// NaN an operation with two NaN operands passes on depends on the order the compiler
// gives the operands of a commutative operation, so the scalar loop itself does not fix
// the sign and payload of a NaN result, only that it is one.
long firstDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (doubleBits(a[i]) != doubleBits(b[i]) && !(std::isnan(a[i]) && std::isnan(b[i]))) return long(i / 4);
    return -1;
}

std::string describe(const std::vector<double>& in, const std::vector<double>& a, const std::vector<double>& b,
                     long point)
{
    if (point < 0) return "identical";
    char text[512];
    const double* p = &in[4 * point];
    std::snprintf(text, sizeof text,
                  "point %ld (%.17g, %.17g, %.17g, %.17g): scalar (%.17g, %.17g, %.17g, %.17g) "
                  "vector (%.17g, %.17g, %.17g, %.17g)",
                  point, p[0], p[1], p[2], p[3], a[4 * point], a[4 * point + 1], a[4 * point + 2], a[4 * point + 3],
                  b[4 * point], b[4 * point + 1], b[4 * point + 2], b[4 * point + 3]);
    return text;
}

// Every supported vector path gives the scalar loop's bits.
void expectAllPathsMatchScalar(const Field& field, const Matrix& mat, const Matrix& inv,
                               const std::vector<double>& points)
{
    const std::vector<double> scalar = deformWith(kNoiseBatchScalar, field, mat, inv, points);
    for (NoiseBatchPath path : kVectorPaths) {
        if (!noiseBatchSupports(path)) continue;
        const std::vector<double> vector = deformWith(path, field, mat, inv, points);
        const long diff = firstDifference(scalar, vector);
        EXPECT_EQ(diff, -1) << noiseBatchPathName(path) << ": " << describe(points, scalar, vector, diff);
    }
}

TEST(NoiseBatch, ScalarPathIsThePerPointDisplacement)
{
    const Field field = {{4, 3, 5}, {0.8f, 1.3f, 0.5f}, {0.6f, 0.4f, 0.9f}, {0, 1, 2}};
    std::mt19937 random(5);
    const Matrix mat = randomMatrix(random, true);
    const Matrix inv = randomMatrix(random, true);
    const std::vector<double> points = randomPoints(random, 20, 1.5);

    const std::vector<double> moved = deformWith(kNoiseBatchScalar, field, mat, inv, points);

    Generators gen(field);
    int unmoved = 0;
    for (unsigned i = 0; i < 20; ++i) {
        const double* p = &points[4 * i];
        double local[4], back[4];
        for (int c = 0; c < 4; ++c)
            local[c] = p[0] * inv.m[0][c] + p[1] * inv.m[1][c] + p[2] * inv.m[2][c] + p[3] * inv.m[3][c];
        const FieldPoint d = displacePoint(gen.x(), gen.y(), gen.z(), local[0], local[1], local[2]);
        const double displaced[4] = {d.x, d.y, d.z, local[3]};
        for (int c = 0; c < 4; ++c)
            back[c] = displaced[0] * mat.m[0][c] + displaced[1] * mat.m[1][c] + displaced[2] * mat.m[2][c] +
                      displaced[3] * mat.m[3][c];
        // A point whose deform-space coordinates the noise left as they were (equal, or not
        // a number before) is not taken through the matrices at all: it keeps its bits.
        bool still = true;
        for (int c = 0; c < 3; ++c) still = still && (displaced[c] == local[c] || std::isnan(local[c]));
        unmoved += still;
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(doubleBits(moved[4 * i + c]), doubleBits(still ? p[c] : back[c])) << i << " " << c;
    }
    // The sample holds both kinds.
    EXPECT_GT(unmoved, 0);
    EXPECT_LT(unmoved, 20);
}

TEST(NoiseBatch, EveryPathMatchesScalarOverRandomFieldsPointsAndMatrices)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> frequency(-3.0f, 3.0f);
    std::uniform_real_distribution<float> amplitude(-2.0f, 2.0f);
    std::uniform_int_distribution<int> seed(0, 100000);
    for (int octaves = 1; octaves <= 10; ++octaves) {
        for (int round = 0; round < 3; ++round) {
            Field field;
            for (int a = 0; a < 3; ++a) {
                field.octaves[a] = a == 0 ? octaves : 1 + (octaves + 3 * a + round) % 10;
                field.frequency[a] = frequency(random);
                field.amplitude[a] = amplitude(random);
                field.seed[a] = seed(random);
            }
            // Silent axes: frequency 0 and amplitude 0 in turn.
            if (round == 1) field.frequency[octaves % 3] = 0.0f;
            if (round == 2) field.amplitude[octaves % 3] = 0.0f;
            const Matrix mat = randomMatrix(random, round == 2);
            const Matrix inv = randomMatrix(random, round == 2);
            SCOPED_TRACE(testing::Message() << "octaves " << octaves << " round " << round);
            expectAllPathsMatchScalar(field, mat, inv, randomPoints(random, 301, round + 0.5));
        }
    }
}

TEST(NoiseBatch, PointCountsThatFillNoWholeVectorOrBlock)
{
    const Field field = {{4, 4, 4}, {1.0f, 0.7f, 1.9f}, {0.5f, -0.5f, 0.25f}, {0, 1, 2}};
    std::mt19937 random(17);
    const Matrix mat = randomMatrix(random, false);
    const Matrix inv = randomMatrix(random, false);
    for (unsigned count : {0u, 1u, 7u, 15u, 17u, 255u, 257u, 1001u}) {
        SCOPED_TRACE(count);
        expectAllPathsMatchScalar(field, mat, inv, randomPoints(random, count));
    }
}

TEST(NoiseBatch, HugeNegativeAndNonFiniteCoordinatesWithManyOctaves)
{
    // Ten octaves double a coordinate nine times: far-away points leave the range of a
    // cell in the later octaves only, and large frequencies push them out at once.
    const Field field = {{10, 10, 10}, {3.5f, -1e-3f, 2e5f}, {1.0f, 2.0f, -3.0f}, {3, 4, 5}};
    std::vector<double> points;
    const double values[] = {-1e9,
                             -4.2e6,
                             -2.1e6,
                             -8193.3,
                             -4096.0,
                             -4095.9,
                             -0.7,
                             0.0,
                             1.1,
                             2.2e6,
                             4.3e6,
                             1e9,
                             1e12,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()};
    for (double a : values)
        for (double b : values)
            for (double c : {a, b, -1.5}) points.insert(points.end(), {a, b, c, 1.0});
    expectAllPathsMatchScalar(field, identity(), identity(), points);
}

TEST(NoiseBatch, InfiniteAmplitudeKeepsTheScalarNaNs)
{
    // A coordinate with no cell adds 0 * amplitude: NaN for an infinite amplitude, on the
    // vector paths as in the scalar loop.
    const float inf = std::numeric_limits<float>::infinity();
    const Field field = {{2, 2, 2}, {1.0f, 1.0f, 1.0f}, {inf, -inf, 1.0f}, {0, 1, 2}};
    std::vector<double> points = {0.25, 0.5, 0.75, 1.0, 3e9, 1.0, 2.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    expectAllPathsMatchScalar(field, identity(), identity(), points);
}

TEST(NoiseBatch, ZeroLengthGradientStaysZeroOnEveryPath)
{
    // Seed 1047 draws a zero-length gradient at index 459: find the lattice cell whose
    // corner (bx0, by0) uses it, and deform points inside that cell.
    Perlin probe = makeAxisNoise(1, 1.0f, 1.0f, 1047);
    probe.Get(0.5f, 0.5f);
    const PerlinTableReader tables(probe);
    ASSERT_EQ(tables.g2(459, 0), 0.0f);
    ASSERT_EQ(tables.g2(459, 1), 0.0f);
    const int i = tables.p(0);
    int by0 = -1;
    for (int b = 0; b < SAMPLE_SIZE; ++b)
        if (tables.p(i + b) == 459) by0 = b;
    ASSERT_GE(by0, 0);

    // With identity matrices and every axis on seed 1047, the Y pass evaluates at (x, z).
    const Field field = {{1, 1, 1}, {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}, {1047, 1047, 1047}};
    std::vector<double> points;
    for (int k = 0; k < 37; ++k) points.insert(points.end(), {0.03 * k, -1.0, by0 + 0.9 - 0.02 * k, 1.0});
    expectAllPathsMatchScalar(field, identity(), identity(), points);

    const std::vector<double> moved = deformWith(kNoiseBatchScalar, field, identity(), identity(), points);
    for (double value : moved) EXPECT_TRUE(std::isfinite(value));
}

TEST(NoiseBatch, BuildsTablesExactlyWhenTheScalarLoopWould)
{
    std::vector<double> points = {0.3, 0.4, 0.5, 1.0};
    for (NoiseBatchPath path : {kNoiseBatchScalar, kNoiseBatchSse2, kNoiseBatchAvx2, kNoiseBatchAvx512}) {
        SCOPED_TRACE(noiseBatchPathName(path));
        // No points: nothing is built.
        Perlin x(4, 1.0f, 1.0f, 1), y(4, 1.0f, 1.0f, 2), z(4, 1.0f, 1.0f, 3);
        deformPoints(path, x, y, z, identity().m, identity().m, points.data(), 0);
        EXPECT_FALSE(PerlinTableReader(x).built());
        EXPECT_FALSE(PerlinTableReader(y).built());
        EXPECT_FALSE(PerlinTableReader(z).built());

        // A generator without octaves is never evaluated, so never built (and its
        // unfilled tables never read); the others are, with the scalar loop's tables.
        Perlin silent(0, 1.0f, 1.0f, 9);
        deformPoints(path, x, silent, z, identity().m, identity().m, points.data(), 1);
        EXPECT_TRUE(PerlinTableReader(x).built());
        EXPECT_FALSE(PerlinTableReader(silent).built());
        EXPECT_TRUE(PerlinTableReader(z).built());
        const Perlin reference = builtPerlin(1);
        for (int k = 0; k < PerlinTableReader::kEntries; ++k) {
            ASSERT_EQ(PerlinTableReader(x).p(k), PerlinTableReader(reference).p(k));
            ASSERT_EQ(floatBits(PerlinTableReader(x).g2(k, 1)), floatBits(PerlinTableReader(reference).g2(k, 1)));
        }
    }
}

TEST(NoiseBatch, SameGeneratorOnSeveralAxesAndReuseAcrossCalls)
{
    // The deformer may hand in one generator twice, and a caller may keep generators
    // between calls: built tables are read, never rebuilt.
    std::mt19937 random(99);
    const Matrix mat = randomMatrix(random, false);
    const Matrix inv = randomMatrix(random, false);
    const std::vector<double> points = randomPoints(random, 100);
    for (NoiseBatchPath path : kVectorPaths) {
        Perlin a(5, 0.9f, 0.8f, 11), b(5, 0.9f, 0.8f, 11), c(5, 0.9f, 0.8f, 11);
        std::vector<double> expected = points, actual = points;
        deformPoints(kNoiseBatchScalar, a, a, b, mat.m, inv.m, expected.data(), 100);
        deformPoints(kNoiseBatchScalar, a, a, b, mat.m, inv.m, expected.data(), 100);
        deformPoints(path, c, c, c, mat.m, inv.m, actual.data(), 100);
        deformPoints(path, c, c, c, mat.m, inv.m, actual.data(), 100);
        EXPECT_EQ(firstDifference(expected, actual), -1) << noiseBatchPathName(path);
    }
}

// Points the noise does not move keep the coordinates they were handed in, bit for bit, on
// every path; the others take the matrix round trip as before.
class NoiseBatchUnmovedPoints : public testing::Test
{
protected:
    // The scalar loop and every vector path this processor has.
    static std::vector<NoiseBatchPath> paths()
    {
        std::vector<NoiseBatchPath> all = {kNoiseBatchScalar};
        for (NoiseBatchPath path : kVectorPaths)
            if (noiseBatchSupports(path)) all.push_back(path);
        return all;
    }

    // A deform space turned about z and moved by `offset` along x and half that along y,
    // so that x and y both pass through sums with huge values; and its inverse.
    static void farSpace(double offset, Matrix& mat, Matrix& inv)
    {
        const double c = 0.8, s = 0.6; // a turn of about 37 degrees
        mat = identity();
        mat.m[0][0] = c, mat.m[0][1] = s, mat.m[1][0] = -s, mat.m[1][1] = c;
        mat.m[3][0] = offset, mat.m[3][1] = 0.5 * offset;
        inv = identity();
        inv.m[0][0] = c, inv.m[0][1] = -s, inv.m[1][0] = s, inv.m[1][1] = c;
        inv.m[3][0] = -(offset * c + 0.5 * offset * s);
        inv.m[3][1] = -(offset * -s + 0.5 * offset * c);
    }

    // A small mesh's points: fractions around the origin, w = 1.
    static std::vector<double> meshPoints()
    {
        std::vector<double> points;
        for (int i = 0; i < 37; ++i) points.insert(points.end(), {0.125 * i - 2.0, 0.3 + 0.01 * i, -0.7 * i, 1.0});
        return points;
    }
};

TEST_F(NoiseBatchUnmovedPoints, ZeroAmplitudesAndAFarDeformSpaceGiveBackEveryPoint)
{
    // Amplitude 0 is the documented way to switch the deformer off.
    const Field off = {{4, 4, 4}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, {0, 1, 2}};
    Matrix mat, inv;
    farSpace(1e16, mat, inv);
    const std::vector<double> points = meshPoints();

    // The round trip alone would lose the points: at 1e16 doubles are 2 apart.
    std::vector<double> roundTrip(points.size());
    for (size_t i = 0; i < points.size(); i += 4) {
        double local[4];
        for (int c = 0; c < 4; ++c)
            local[c] = ((points[i] * inv.m[0][c] + points[i + 1] * inv.m[1][c]) + points[i + 2] * inv.m[2][c]) +
                       points[i + 3] * inv.m[3][c];
        for (int c = 0; c < 4; ++c)
            roundTrip[i + c] =
                ((local[0] * mat.m[0][c] + local[1] * mat.m[1][c]) + local[2] * mat.m[2][c]) + local[3] * mat.m[3][c];
    }
    ASSERT_NE(firstDifference(points, roundTrip), -1);

    for (NoiseBatchPath path : paths())
        EXPECT_EQ(firstDifference(points, deformWith(path, off, mat, inv, points)), -1) << noiseBatchPathName(path);
}

TEST_F(NoiseBatchUnmovedPoints, ADisplacementTheCoordinateAbsorbsMovesNothing)
{
    // Far out doubles are 16 apart: a frequency of 1e-12 puts the noise inputs at about
    // 1e5, inside the lattice, and the noise values (below 1) vanish in the sums. The
    // deform space is moved by 1.3579e17 along x, so the points' own x (a few units) is
    // lost on the way in and the round trip would give 0.
    const Field faint = {{3, 3, 3}, {1e-12f, 1e-12f, 1e-12f}, {0.5f, 0.5f, 0.5f}, {0, 1, 2}};
    const double offset = 1.3579e17;
    Matrix mat = identity(), inv = identity();
    mat.m[3][0] = offset;
    inv.m[3][0] = -offset;
    std::vector<double> points;
    for (int i = 1; i <= 21; ++i) points.insert(points.end(), {0.25 * i, 1.2345678e17 + 64.0 * i, 2.7182818e17, 1.0});

    // The noise at the first point's deform-space coordinates is not zero, but the sums
    // leave every coordinate as it was.
    Generators gen(faint);
    const double local[3] = {points[0] - offset, points[1], points[2]};
    const float noise[3] = {gen.y().Get(float(local[0]), float(local[2])),
                            gen.x().Get(float(local[1]), float(local[2])),
                            gen.z().Get(float(local[0]), float(local[1]))};
    EXPECT_TRUE(noise[0] != 0.0f || noise[1] != 0.0f || noise[2] != 0.0f);
    const FieldPoint displaced = displacePoint(gen.x(), gen.y(), gen.z(), local[0], local[1], local[2]);
    ASSERT_EQ(displaced.x, local[0]);
    ASSERT_EQ(displaced.y, local[1]);
    ASSERT_EQ(displaced.z, local[2]);

    for (NoiseBatchPath path : paths())
        EXPECT_EQ(firstDifference(points, deformWith(path, faint, mat, inv, points)), -1) << noiseBatchPathName(path);
}

TEST_F(NoiseBatchUnmovedPoints, MovedAndUnmovedPointsSideBySideInOneVector)
{
    // Points beyond the lattice's range (|coordinate| >= 2^31 once offset) are not moved;
    // points near the origin are. They alternate, so every vector holds both kinds. The
    // deform space is scaled by 3: its inverse is inexact, and the round trip rounds.
    const Field field = {{4, 2, 5}, {0.9f, 1.7f, 0.4f}, {0.6f, -0.3f, 0.8f}, {5, 6, 7}};
    Matrix mat = identity(), inv = identity();
    for (int a = 0; a < 3; ++a) {
        mat.m[a][a] = 3.0;
        inv.m[a][a] = 1.0 / 3.0;
    }
    mat.m[3][2] = 0.1;
    inv.m[3][2] = -0.1 / 3.0;
    std::vector<double> points;
    for (int i = 0; i < 97; ++i) {
        const double far = (i % 2 == 0) ? 1e10 : 0.0;
        points.insert(points.end(), {far + 0.37 * i, -far + 0.11 * i, far - 0.53 * i, 1.0});
    }

    const std::vector<double> scalar = deformWith(kNoiseBatchScalar, field, mat, inv, points);
    for (size_t i = 0; i < points.size(); i += 4) {
        const bool far = (i / 4) % 2 == 0;
        const std::vector<double> in(points.begin() + i, points.begin() + i + 4);
        const std::vector<double> out(scalar.begin() + i, scalar.begin() + i + 4);
        EXPECT_EQ(firstDifference(in, out) == -1, far) << "point " << i / 4;
    }
    for (NoiseBatchPath path : paths())
        EXPECT_EQ(firstDifference(scalar, deformWith(path, field, mat, inv, points)), -1) << noiseBatchPathName(path);
}

TEST_F(NoiseBatchUnmovedPoints, SignedZerosAndNotANumberComeBackAsTheyWere)
{
    // With the deformer switched off, -0 keeps its sign (the round trip would make it +0),
    // and a point with a NaN or infinite coordinate keeps its other coordinates (the
    // inverse would spread NaN to all of them).
    const Field off = {{4, 4, 4}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, {0, 1, 2}};
    std::mt19937 random(8);
    const Matrix mat = randomMatrix(random, false);
    const Matrix inv = randomMatrix(random, false);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> points = {-0.0, 0.5,  -0.0, 1.0, nan,  1.0,  2.0,  1.0,
                                        3.0,  -inf, 0.25, 1.0, -0.0, -0.0, -0.0, -0.0};
    for (NoiseBatchPath path : paths()) {
        const std::vector<double> out = deformWith(path, off, mat, inv, points);
        for (size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(doubleBits(out[i]), doubleBits(points[i])) << noiseBatchPathName(path) << " value " << i;
    }

    // Moved by real noise, a NaN point is still given back as read: NaN coordinates add
    // nothing and the others are not displaced through them.
    const Field lumpy = {{4, 4, 4}, {1.0f, 1.0f, 1.0f}, {0.7f, 0.7f, 0.7f}, {0, 1, 2}};
    for (NoiseBatchPath path : paths()) {
        const std::vector<double> out = deformWith(path, lumpy, mat, inv, points);
        for (size_t i = 4; i < 12; ++i)
            EXPECT_EQ(doubleBits(out[i]), doubleBits(points[i])) << noiseBatchPathName(path) << " value " << i;
    }
}

TEST(NoiseBatchPaths, NamesParseAndUnsupportedPathsNarrow)
{
    for (int p = kNoiseBatchScalar; p <= kNoiseBatchAvx512; ++p) {
        NoiseBatchPath parsed = kNoiseBatchScalar;
        EXPECT_TRUE(parseNoiseBatchPath(noiseBatchPathName(NoiseBatchPath(p)), parsed));
        EXPECT_EQ(parsed, p);
    }
    NoiseBatchPath untouched = kNoiseBatchAvx2;
    EXPECT_FALSE(parseNoiseBatchPath("AVX2", untouched));
    EXPECT_FALSE(parseNoiseBatchPath("", untouched));
    EXPECT_FALSE(parseNoiseBatchPath(nullptr, untouched));
    EXPECT_EQ(untouched, kNoiseBatchAvx2);

    EXPECT_TRUE(noiseBatchSupports(kNoiseBatchScalar));
    EXPECT_TRUE(noiseBatchSupports(kNoiseBatchSse2));
    EXPECT_EQ(noiseBatchUsablePath(kNoiseBatchScalar), kNoiseBatchScalar);
    for (int p = kNoiseBatchSse2; p <= kNoiseBatchAvx512; ++p) {
        const NoiseBatchPath usable = noiseBatchUsablePath(NoiseBatchPath(p));
        EXPECT_LE(usable, p);
        EXPECT_TRUE(noiseBatchSupports(usable));
        if (noiseBatchSupports(NoiseBatchPath(p))) {
            EXPECT_EQ(usable, p);
        }
    }
    EXPECT_EQ(noiseBatchUsablePath(NoiseBatchPath(7)), noiseBatchUsablePath(kNoiseBatchAvx512));
}

// Run once per value of HXNOISE_SIMD by CTest (see CMakeLists.txt): the default path is
// the one asked for, narrowed to what this processor has, and gives the scalar bits.
TEST(NoiseBatchEnvironment, DefaultPathFollowsHxnoiseSimd)
{
    const char* request = std::getenv("HXNOISE_SIMD");
    NoiseBatchPath wanted = kNoiseBatchAvx512;
    if (request != nullptr && *request != '\0') parseNoiseBatchPath(request, wanted);
    EXPECT_EQ(noiseBatchActivePath(), noiseBatchUsablePath(wanted));
    std::cout << "active path: " << noiseBatchPathName(noiseBatchActivePath()) << "\n";

    const Field field = {{6, 2, 9}, {0.3f, -2.0f, 1.1f}, {1.0f, 0.5f, -0.7f}, {7, 1047, 0}};
    std::mt19937 random(3);
    const Matrix mat = randomMatrix(random, true);
    const Matrix inv = randomMatrix(random, true);
    const std::vector<double> points = randomPoints(random, 333);
    const std::vector<double> expected = deformWith(kNoiseBatchScalar, field, mat, inv, points);
    Generators gen(field);
    std::vector<double> actual = points;
    deformPoints(gen.x(), gen.y(), gen.z(), mat.m, inv.m, actual.data(), 333);
    EXPECT_EQ(firstDifference(expected, actual), -1);
}

} // namespace
