// The generator against golden values from an independent reference implementation
// (golden/reference_noise.py), bit for bit, the negative side included.
#include "PerlinTableReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

float fromBits(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(PerlinGolden, MatchesTheReferenceBitForBit)
{
    std::ifstream golden(HX_NOISE_GOLDEN_DIR "/perlin_get.txt");
    ASSERT_TRUE(golden) << "missing golden file";

    std::string line;
    int checked = 0;
    while (std::getline(golden, line)) {
        int octaves, seed;
        unsigned freq, amp, x, y, expected;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %x %x %d %x %x -> %x", &octaves, &freq, &amp, &seed, &x, &y, &expected),
                  7)
            << line;
        Perlin perlin(octaves, fromBits(freq), fromBits(amp), seed);
        const float value = perlin.Get(fromBits(x), fromBits(y));
        EXPECT_EQ(floatBits(value), expected) << line << "  got " << std::hex << floatBits(value);
        ++checked;
    }
    EXPECT_GT(checked, 700);
}

} // namespace
