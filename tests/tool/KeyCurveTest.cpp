// An attribute's value between and beyond its keys, linear or smooth.
#include "KeyCurve.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

using hx::KeyCurve;
using hx::Tangents;

namespace {

KeyCurve curveOf(Tangents tangents, const std::vector<std::pair<int, double>>& keys)
{
    KeyCurve curve(tangents);
    for (const auto& [frame, value] : keys) EXPECT_TRUE(curve.addKey(frame, value));
    return curve;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(KeyCurve, LinearGoesStraightAndHoldsBeyondItsKeys)
{
    // The tool's FROM:TO over 24 frames: (1 - t) FROM + t TO, to the bit.
    const KeyCurve ramp = curveOf(Tangents::Linear, {{1, 0.0}, {24, 2.0}});
    for (int frame = 1; frame <= 24; ++frame) {
        const double t = double(frame - 1) / 23.0;
        EXPECT_TRUE(sameBits(ramp.valueAt(frame), (1.0 - t) * 0.0 + t * 2.0)) << frame;
    }
    EXPECT_EQ(ramp.valueAt(-1e9), 0.0);
    EXPECT_EQ(ramp.valueAt(25), 2.0);
    EXPECT_EQ(ramp.valueAt(INFINITY), 2.0);
    EXPECT_EQ(ramp.valueAt(NAN), 0.0);

    // Keys added in any order; at a key, its value exactly (negative zero too).
    const KeyCurve hops = curveOf(Tangents::Linear, {{30, 5.0}, {10, -0.0}, {20, 1.0}});
    EXPECT_TRUE(sameBits(hops.valueAt(10), -0.0));
    EXPECT_EQ(hops.valueAt(15), 0.5);
    EXPECT_EQ(hops.valueAt(25), 3.0);
    // A timeline scrubs between frames.
    EXPECT_EQ(hops.valueAt(12.5), 0.25);

    KeyCurve once(Tangents::Linear);
    EXPECT_EQ(once.valueAt(1), 0.0); // no keys
    EXPECT_TRUE(once.addKey(5, 3.0));
    EXPECT_FALSE(once.addKey(5, 4.0)); // one key a frame; the first stays
    EXPECT_EQ(once.valueAt(-3), 3.0);
    EXPECT_EQ(once.valueAt(1e9), 3.0);
}

TEST(KeyCurve, SmoothEasesThroughKeysAndFlattensAtTurns)
{
    const KeyCurve wave = curveOf(Tangents::Smooth, {{0, 0.0}, {10, 4.0}, {20, 6.0}, {30, 2.0}, {40, 2.0}});
    for (int frame : {0, 10, 20, 30, 40}) EXPECT_EQ(wave.valueAt(frame), wave.keys()[frame / 10].value);
    const auto slope = [&](double time) { return (wave.valueAt(time + 1e-6) - wave.valueAt(time - 1e-6)) / 2e-6; };
    // Flat at both ends (it meets the held values without a kink) and at the peak on 20.
    EXPECT_NEAR(slope(0 + 2e-6), 0.0, 1e-4);
    EXPECT_NEAR(slope(20), 0.0, 1e-4);
    EXPECT_NEAR(slope(40 - 2e-6), 0.0, 1e-4);
    // On 10 it rises on both sides: no flat step there, and the same slope either side.
    EXPECT_GT(slope(10), 0.1);
    EXPECT_NEAR(slope(10 - 1e-3), slope(10 + 1e-3), 1e-3);
    // Equal keys hold level between them.
    for (double time = 30; time <= 40; time += 0.25) EXPECT_EQ(wave.valueAt(time), 2.0) << time;
    // Halfway between two keys in a rising run it is not the straight line's value.
    EXPECT_NE(wave.valueAt(5), 2.0);

    EXPECT_EQ(hx::parseTangents("smooth"), Tangents::Smooth);
    EXPECT_STREQ(hx::tangentsName(Tangents::Linear), "linear");
    try {
        hx::parseTangents("smoth");
        ADD_FAILURE();
    } catch (const hx::UsageError& error) {
        EXPECT_STREQ(error.what(), "--tangents 'smoth' is not linear or smooth; did you mean smooth?");
    }
}

TEST(KeyCurve, SmoothNeverOvershootsAndFollowsItsKeysOverManyRandomKeySets)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> gap(1, 30), count(2, 12), pick(0, 9);
    std::uniform_real_distribution<double> value(-10.0, 10.0);
    for (int set = 0; set < 2000; ++set) {
        KeyCurve curve(Tangents::Smooth);
        int frame = -100 + gap(random);
        double previous = value(random);
        const int keys = count(random);
        for (int k = 0; k < keys; ++k) {
            // Some repeated values (plateaus) and some far larger than the rest.
            const int kind = pick(random);
            const double v = kind == 0 ? previous : kind == 1 ? value(random) * 1e300 : value(random);
            curve.addKey(frame, v);
            previous = v;
            frame += gap(random);
        }
        const auto& points = curve.keys();
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const double a = points[k].value, b = points[k + 1].value;
            double last = a;
            for (int step = 0; step <= 64; ++step) {
                const double time = points[k].frame + (points[k + 1].frame - points[k].frame) * step / 64.0;
                const double v = curve.valueAt(time);
                ASSERT_TRUE(std::isfinite(v)) << "set " << set << " time " << time;
                ASSERT_GE(v, std::min(a, b)) << "set " << set << " time " << time;
                ASSERT_LE(v, std::max(a, b)) << "set " << set << " time " << time;
                // Monotone: never back against the direction from one key to the next.
                if (b >= a) {
                    ASSERT_GE(v, last) << "set " << set << " time " << time;
                }
                if (b <= a) {
                    ASSERT_LE(v, last) << "set " << set << " time " << time;
                }
                last = v;
            }
        }
    }
}

TEST(KeyCurve, ValuesAtTheLimitsOfADoubleStayFinite)
{
    for (Tangents tangents : {Tangents::Linear, Tangents::Smooth}) {
        const KeyCurve wide = curveOf(tangents, {{0, -DBL_MAX}, {1, DBL_MAX}, {2, -DBL_MAX}, {5, DBL_MAX}});
        for (double time = 0; time <= 5; time += 0.125) {
            EXPECT_TRUE(std::isfinite(wide.valueAt(time))) << time;
        }
    }
}
