// The heads-up display's text: values as the display writes them, grouped and wrapped, and
// labels placed beside the ends of curves.
#include "Hud.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cmath>

using hx::HudLine;
using hx::HudValue;

TEST(HudText, ValuesInSixDigitsCompoundsInBrackets)
{
    EXPECT_EQ(hx::hudValueText({0.6000000238418579}), "0.6"); // a float attribute's 0.6
    EXPECT_EQ(hx::hudValueText({12}), "12");
    EXPECT_EQ(hx::hudValueText({1.3, -0.2, 1.4}), "(1.3, -0.2, 1.4)");
    EXPECT_EQ(hx::hudValueText({-0.0}), "0");
    EXPECT_EQ(hx::hudValueText({123456789.0}), "1.23457e+08");
}

TEST(HudText, OneLinePerNodeSetBeforeKeyedEachPlugOnceAtItsLastValue)
{
    const std::vector<HudValue> values = {
        {"hxNoise1.oxNoiseAmp", {0.6}, false},
        {"transform1.translate", {1, 2, 3}, false},
        {"hxNoise1.oyNoiseAmp", {0.5}, false},
        {"hxNoise1.oxNoiseAmp", {0.7}, false}, // set again: shown once, as it stands
        {"transform1.translateZ", {2.5}, true},
    };
    const std::vector<HudLine> lines = hx::hudValueLines(values, 10000.0, 1.0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "hxNoise1: oxNoiseAmp 0.7, oyNoiseAmp 0.5");
    EXPECT_FALSE(lines[0].keyed);
    EXPECT_EQ(lines[1].text, "transform1: translate (1, 2, 3)");
    EXPECT_EQ(lines[2].text, "transform1 (keyed): translateZ 2.5");
    EXPECT_TRUE(lines[2].keyed);
    EXPECT_TRUE(hx::hudValueLines({}, 100.0, 1.0).empty());
}

TEST(HudText, LongLinesWrapBetweenValuesWithinTheWidth)
{
    std::vector<HudValue> values;
    for (const char* axis : {"ox", "oy", "oz"})
        for (const char* quantity : {"NoiseAmp", "NoiseFreq", "NoiseSeed"})
            values.push_back({std::string("hxNoise1.") + axis + quantity, {1.5}, false});
    const double width = 300.0, scale = 1.5;
    const std::vector<HudLine> lines = hx::hudValueLines(values, width, scale);
    ASSERT_GT(lines.size(), 2u);
    std::string joined;
    for (const HudLine& line : lines) {
        EXPECT_LE(hx::textWidth(line.text, scale), width) << line.text;
        joined += line.text;
    }
    // Every value is there, in order.
    std::size_t at = 0;
    for (const HudValue& v : values) {
        const std::size_t found = joined.find(v.plug.substr(9) + " 1.5", at);
        ASSERT_NE(found, std::string::npos) << v.plug;
        at = found;
    }
    // A value wider than the picture still gets a line of its own rather than vanishing.
    const std::vector<HudLine> narrow = hx::hudValueLines(values, 10.0, scale);
    EXPECT_EQ(narrow.size(), values.size());
}

TEST(HudText, ScaleGrowsWithThePictureWithinLimits)
{
    EXPECT_DOUBLE_EQ(hx::hudScale(800, 600), 2.0);
    EXPECT_DOUBLE_EQ(hx::hudScale(64, 48), 1.0);
    EXPECT_DOUBLE_EQ(hx::hudScale(8192, 8192), 4.0);
    EXPECT_LT(hx::hudScale(400, 1200), hx::hudScale(1600, 1200)); // a narrow picture keeps its text narrow
}

TEST(CurveLabel, SitsPastTheEndOfTheCurveClearOfIt)
{
    // Curves ending towards the right, the left, up and down, and diagonally.
    const double w = 12.0, h = 9.0, gap = 3.0;
    for (const auto& [dx, dy] :
         std::vector<std::pair<double, double>>{{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, 1}, {-2, 1}}) {
        double x = 0, y = 0;
        hx::labelBeside(100.0, 50.0, 100.0 - dx, 50.0 - dy, w, h, gap, x, y);
        // The label's box does not cover the curve's end, and lies the way the curve was going.
        const bool clear = 100.0 < x || 100.0 > x + w || 50.0 < y || 50.0 > y + h;
        EXPECT_TRUE(clear) << dx << "," << dy;
        const double cx = x + w / 2.0 - 100.0, cy = y + h / 2.0 - 50.0;
        EXPECT_GT(cx * dx + cy * dy, 0.0) << dx << "," << dy;
    }
    // A curve that ends where it was (no direction) still gets its label beside it.
    double x = 0, y = 0;
    hx::labelBeside(10, 10, 10, 10, w, h, gap, x, y);
    EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
    EXPECT_GT(x, 10.0);
}
