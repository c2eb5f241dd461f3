// fuzz_noise: the noise generator and the axis noise field on any parameters and points.
//
// Input, read as raw values (FuzzBytes): a direct generator's octaves, frequency, amplitude,
// seed and point, with a second frequency and amplitude; then the three axis generators'
// octaves, frequency, amplitude and seed as the deformer passes them (any int, any float);
// a point in double; a curve axis, length and point count.
//
// Whatever the input: no crash, no undefined behaviour, and results that depend only on the
// parameters. Where the inputs are finite and the amplitudes sane (|amp| <= 1e30, so that a
// sum of octaves cannot leave float's range), every result is finite and bounded.
#include "FuzzBytes.h"

#include "axisNoiseField.h"
#include "perlin.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

using hxfuzz::FuzzBytes;

namespace {

// Bits, so that two NaNs (or +0 and -0) compare as what they are.
std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

bool sane(float amplitude)
{
    return std::isfinite(amplitude) && std::fabs(amplitude) <= 1e30f;
}

// A lattice gradient has length <= 1 and a cell offset length <= sqrt(2), so one octave is at
// most sqrt(2) in size and the halving amplitudes sum to less than twice the first: 2.83|amp|.
bool withinBound(float value, float amplitude)
{
    return std::fabs(value) <= 3.0f * std::fabs(amplitude);
}

void checkGenerator(FuzzBytes& in)
{
    // A generator evaluates as many octaves as it is given (the field clamps to 1..10), so
    // the count is kept to a range that ends well past the point where every coordinate has
    // doubled out of float's range.
    const int octaves = static_cast<int>(in.take<std::uint8_t>()) - 8;
    const float frequency = in.take<float>();
    const float amplitude = in.take<float>();
    const int seed = in.take<int>();
    const float x = in.take<float>();
    const float y = in.take<float>();
    const float frequency2 = in.take<float>();
    const float amplitude2 = in.take<float>();

    Perlin noise(octaves, frequency, amplitude, seed);
    const float value = noise.Get(x, y);

    // Evaluation leaves no trace: again, and on a generator built afresh, the same bits.
    HX_FUZZ_CHECK(bitsOf(noise.Get(x, y)) == bitsOf(value));
    Perlin twin(octaves, frequency, amplitude, seed);
    HX_FUZZ_CHECK(bitsOf(twin.Get(x, y)) == bitsOf(value));

    const bool finiteInputs = std::isfinite(x) && std::isfinite(y) && std::isfinite(frequency);
    if (finiteInputs && sane(amplitude)) {
        HX_FUZZ_CHECK(std::isfinite(value));
        HX_FUZZ_CHECK(withinBound(value, amplitude));
        if (octaves <= 0 || amplitude == 0.0f) HX_FUZZ_CHECK(value == 0.0f);
    }

    // New frequency and amplitude on built tables give what a new generator gives.
    noise.setFrequency(frequency2);
    noise.setAmplitude(amplitude2);
    Perlin changed(octaves, frequency2, amplitude2, seed);
    HX_FUZZ_CHECK(bitsOf(noise.Get(x, y)) == bitsOf(changed.Get(x, y)));
}

struct AxisParameters
{
    int octaves;
    float frequency;
    float amplitude;
    int seed;
};

AxisParameters takeAxis(FuzzBytes& in)
{
    AxisParameters axis;
    axis.octaves = in.take<int>();
    axis.frequency = in.take<float>();
    axis.amplitude = in.take<float>();
    axis.seed = in.take<int>();
    return axis;
}

Perlin makeNoise(const AxisParameters& a)
{
    return makeAxisNoise(a.octaves, a.frequency, a.amplitude, a.seed);
}

bool saneAxis(const AxisParameters& a)
{
    return std::isfinite(a.frequency) && sane(a.amplitude);
}

void checkField(FuzzBytes& in)
{
    const AxisParameters px = takeAxis(in), py = takeAxis(in), pz = takeAxis(in);
    const double x = in.take<double>();
    const double y = in.take<double>();
    const double z = in.take<double>();
    Perlin noiseX = makeNoise(px), noiseY = makeNoise(py), noiseZ = makeNoise(pz);
    const bool saneField = saneAxis(px) && saneAxis(py) && saneAxis(pz);

    const FieldPoint moved = displacePoint(noiseX, noiseY, noiseZ, x, y, z);
    if (saneField && std::isfinite(x) && std::isfinite(y) && std::isfinite(z) && std::fabs(x) < 1e300 &&
        std::fabs(y) < 1e300 && std::fabs(z) < 1e300) {
        HX_FUZZ_CHECK(std::isfinite(moved.x));
        HX_FUZZ_CHECK(std::isfinite(moved.y));
        HX_FUZZ_CHECK(std::isfinite(moved.z));
    }

    const NoiseAxis axis = static_cast<NoiseAxis>(in.take<std::uint8_t>() % 3);
    const float length = in.take<float>();
    const int count = in.take<int>();
    // Exactly the room the interface promises, on the heap where AddressSanitizer sees past it.
    std::vector<FieldPoint> curve(MAX_PTS);
    Perlin* first = axis == kNoiseAxisX ? &noiseY : axis == kNoiseAxisY ? &noiseX : &noiseY;
    Perlin* second = axis == kNoiseAxisX ? &noiseZ : axis == kNoiseAxisY ? &noiseZ : &noiseX;
    const int n = sampleCurve(axis, length, count, *first, *second, curve.data());
    HX_FUZZ_CHECK(n == clampCurvePointCount(count));
    HX_FUZZ_CHECK(n >= MIN_PTS && n <= MAX_PTS);

    if (!std::isfinite(length)) return;
    double previous = 0.0;
    for (int i = 0; i < n; ++i) {
        const FieldPoint& p = curve[static_cast<std::size_t>(i)];
        const double along = axis == kNoiseAxisX ? p.x : axis == kNoiseAxisY ? p.y : p.z;
        // The points walk along the axis from 0 towards the length, one step short of it
        // (where the step is a normal float: a subnormal one rounds by up to half of itself).
        HX_FUZZ_CHECK(std::isfinite(along));
        if (std::fabs(length) >= FLT_MIN * MAX_PTS)
            HX_FUZZ_CHECK(std::fabs(along) <= std::fabs(static_cast<double>(length)));
        if (i == 0) HX_FUZZ_CHECK(along == 0.0);
        HX_FUZZ_CHECK(length >= 0.0f ? along >= previous : along <= previous);
        previous = along;
        if (saneField) {
            HX_FUZZ_CHECK(std::isfinite(p.x));
            HX_FUZZ_CHECK(std::isfinite(p.y));
            HX_FUZZ_CHECK(std::isfinite(p.z));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzBytes in(data, size);
    checkGenerator(in);
    checkField(in);
    return 0;
}
