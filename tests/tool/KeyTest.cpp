// --key as typed: a value at a frame, or the older FROM:TO over the run's range.
#include "Key.h"
#include "Refusal.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

using hx::parseKeyArgument;

TEST(Key, ReadsAValueAtAFrameForOneNumberOrACompound)
{
    const hx::KeyArgument translate = parseKeyArgument("transform1.translate@1001=0,-1.5,+2e-1");
    EXPECT_EQ(translate.node, "transform1");
    EXPECT_EQ(translate.attribute, "translate");
    EXPECT_EQ(translate.frame, 1001);
    EXPECT_EQ(translate.values, (std::vector<double>{0, -1.5, 0.2}));
    EXPECT_EQ(translate.parts, (std::vector<std::string>{"0", "-1.5", "+2e-1"}));

    const hx::KeyArgument seed = parseKeyArgument("hxNoise1.xns@-12=7");
    EXPECT_EQ(seed.frame, -12);
    EXPECT_EQ(seed.values, (std::vector<double>{7}));

    // A key holds the range it is in no matter: it is a key at its own frame.
    const auto keys = hx::keysOf(translate, hx::parseFrameRange("1-10"));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(hx::keyText(keys[0]), "transform1.translate@1001=0,-1.5,0.2");
}

TEST(Key, FromToPutsItsEndsOnTheRangesFirstAndLastFrames)
{
    const hx::KeyArgument amp = parseKeyArgument("hxNoise1.oxNoiseAmp=0:2.5");
    EXPECT_FALSE(amp.frame);
    std::vector<std::string> texts;
    for (const hx::Key& key : hx::keysOf(amp, hx::parseFrameRange("1001-1100", 2))) texts.push_back(hx::keyText(key));
    // The range's end even when the step passes it by, so a step changes no frame's value.
    EXPECT_EQ(texts, (std::vector<std::string>{"hxNoise1.oxNoiseAmp@1001=0", "hxNoise1.oxNoiseAmp@1100=2.5"}));

    // One frame: FROM alone, as the tool always did.
    const auto single = hx::keysOf(amp, hx::parseFrameRange("1"));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(hx::keyText(single[0]), "hxNoise1.oxNoiseAmp@1=0");

    // Compounds as well.
    const auto moved = hx::keysOf(parseKeyArgument("transform1.t=0,0,0:1,2,3"), hx::parseFrameRange("24"));
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(hx::keyText(moved[1]), "transform1.t@24=1,2,3");
}

TEST(Key, RefusesWithOneLineNamingTheFault)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"hxNoise1.oxNoiseAmp", "is not NODE.ATTRIBUTE@FRAME=VALUE (or NODE.ATTRIBUTE=FROM:TO)"},
        {"hxNoise1.oxNoiseAmp=2", "is not NODE.ATTRIBUTE@FRAME=VALUE"},
        {"oxNoiseAmp@3=2", "is not NODE.ATTRIBUTE"},
        {"hxNoise1.oxNoiseAmp@=2", "frame is empty"},
        {"hxNoise1.oxNoiseAmp@1.5=2", "'1.5' is not an integer"},
        {"hxNoise1.oxNoiseAmp@1@2=2", "'1@2' is not a number"},
        {"hxNoise1.oxNoiseAmp@99999999=2", "frame 99999999 is outside"},
        {"hxNoise1.oxNoiseAmp@3=nan", "'nan' is not a finite number"},
        {"transform1.translate@3=1,,2", "value is empty"},
        {"hxNoise1.oxNoiseAmp@3=1:2", "'1:2' is not a number"},
        {"transform1.translate=0,0:1,2,3", "starts with 2 values and ends with 3"},
        {"hxNoise1.oxNoiseAmp=0:1e999", "is too large"},
    };
    for (const auto& [text, fragment] : cases) hxtest::expectRefusal(text, fragment, [&] { parseKeyArgument(text); });
}
