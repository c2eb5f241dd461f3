// A run's keys as curves per keyed number: compounds, clashes, integers and farm chunks.
#include "Animation.h"
#include "Recipe.h"
#include "RecipeOptions.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

#include <cstring>

using hx::Animation;
using hx::Tangents;

namespace {

// What the scene answers for the plugs of these tests: long and short names, a compound's
// children, an integer seed.
std::vector<hx::KeyedNumber> resolve(const hx::Key& key)
{
    const std::string node = key.node + ".";
    const std::string& a = key.attribute;
    if (a == "translate" || a == "t") return {{node + "translateX"}, {node + "translateY"}, {node + "translateZ"}};
    if (a == "translateX" || a == "tx") return {{node + "translateX"}};
    if (a == "oxNoiseAmp" || a == "xna") return {{node + "oxNoiseAmp"}};
    if (a == "oxNoiseSeed" || a == "xns") return {{node + "oxNoiseSeed", true}};
    throw hx::UsageError("unknown attribute '" + a + "'");
}

std::vector<hx::Key> keysOf(const std::vector<std::string>& texts, const std::string& frames = "1-100")
{
    hx::RecipeArguments arguments;
    arguments.frames = frames;
    arguments.keys = texts;
    return hx::makeRecipe(arguments).keys;
}

std::string refusal(const std::vector<std::string>& keys)
{
    try {
        Animation(keysOf(keys), Tangents::Linear, resolve);
    } catch (const hx::UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

} // namespace

TEST(Animation, CompoundKeysMoveEachComponentAndMeetTheirChildrensKeys)
{
    const Animation moves(keysOf({"transform1.translate@1=0,0,0", "transform1.t@11=10,20,-30", "transform1.tx@6=100"}),
                          Tangents::Linear, resolve);
    ASSERT_EQ(moves.channels().size(), 3u);
    EXPECT_EQ(moves.channels()[0].plug, "transform1.translateX");
    EXPECT_EQ(moves.valuesAt(1), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(moves.valuesAt(6), (std::vector<double>{100, 10, -15})); // X keyed on 6 as well
    EXPECT_EQ(moves.valuesAt(8.5), (std::vector<double>{55, 15, -22.5}));
    EXPECT_EQ(moves.valuesAt(50), (std::vector<double>{10, 20, -30}));
    EXPECT_TRUE(moves.isKeyed("transform1.translateZ"));
    EXPECT_FALSE(moves.isKeyed("transform1.rotateX"));
}

TEST(Animation, RefusesTwoKeysOnOneNumberAtOneFrameHoweverNamed)
{
    EXPECT_EQ(refusal({"hxNoise1.xna@5=1", "hxNoise1.oxNoiseAmp@5=2"}),
              "two keys on hxNoise1.oxNoiseAmp at frame 5: hxNoise1.xna@5=1 and hxNoise1.oxNoiseAmp@5=2");
    EXPECT_EQ(refusal({"transform1.translate@5=1,2,3", "transform1.tx@5=1"}),
              "two keys on transform1.translateX at frame 5: transform1.translate@5=1,2,3 and transform1.tx@5=1");
    // FROM:TO keys the first and last frames of the range.
    EXPECT_EQ(refusal({"hxNoise1.xna=0:1", "hxNoise1.xna@100=3"}),
              "two keys on hxNoise1.oxNoiseAmp at frame 100: hxNoise1.xna@100=1 and hxNoise1.xna@100=3");
    EXPECT_EQ(refusal({"transform1.translate@5=1,2"}),
              "--key transform1.translate@5=1,2: transform1.translate takes "
              "3 values, got 2");
    EXPECT_EQ(refusal({"transform1.bogus@5=1"}), "unknown attribute 'bogus'");
    EXPECT_EQ(refusal({"hxNoise1.xna@5=1", "hxNoise1.xna@6=1"}), "(accepted)");
}

TEST(Animation, ASetOfAKeyedNumberIsRefused)
{
    const Animation keyed(keysOf({"transform1.tx@1=0", "transform1.tx@9=1"}), Tangents::Linear, resolve);
    keyed.checkNotKeyed("--set hxNoise1.xna=1", {"hxNoise1.oxNoiseAmp"});
    try {
        keyed.checkNotKeyed("--set transform1.t=1,2,3",
                            {"transform1.translateX", "transform1.translateY", "transform1.translateZ"});
        ADD_FAILURE();
    } catch (const hx::UsageError& error) {
        EXPECT_STREQ(error.what(),
                     "--set transform1.t=1,2,3: transform1.translateX is keyed (--key transform1.tx@1=0); "
                     "a keyed attribute takes its values from its keys, so key it instead");
    }
}

TEST(Animation, IntegersRoundToTheNearestWithHalvesAwayFromZero)
{
    const Animation seeds(keysOf({"hxNoise1.xns@1=0", "hxNoise1.xns@5=3", "hxNoise1.xns@7=2", "hxNoise1.xns@9=-1"}),
                          Tangents::Linear, resolve);
    std::vector<double> values;
    for (int frame = 1; frame <= 10; ++frame) values.push_back(seeds.valueAt(0, frame));
    // 0 .75 1.5 2.25 3 2.5 2 .5 -1 -1
    EXPECT_EQ(values, (std::vector<double>{0, 1, 2, 2, 3, 3, 2, 1, -1, -1}));
    const Animation half(keysOf({"hxNoise1.xns@0=0", "hxNoise1.xns@2=-1"}, "0-2"), Tangents::Linear, resolve);
    EXPECT_EQ(half.valueAt(0, 1), -1.0);
}

TEST(Animation, AFarmChunkOfASavedRecipeGetsTheWholeShotsValues)
{
    // The whole shot, its keys in both forms, and its recipe as the farm's tasks receive it.
    hx::RecipeArguments shot;
    shot.frames = "1001-1100";
    shot.tangents = "smooth";
    shot.keys = {"transform1.translate@1001=0,0,0", "transform1.translate@1040=0.25,1,-2",
                 "transform1.translate@1100=3,1,2", "hxNoise1.xna=0:0.7", "hxNoise1.xns@1050=12"};
    const hx::Recipe whole = hx::makeRecipe(shot);
    const Animation wholeAnimation(whole.keys, whole.tangents, resolve);

    for (const hx::FrameRange& chunk : whole.frames->split(4)) {
        hx::RecipeArguments task = hx::recipeArguments(whole);
        task.frames = chunk.text();
        const hx::Recipe part = hx::makeRecipe(task);
        const Animation partAnimation(part.keys, part.tangents, resolve);
        // Frames in the chunk's order, backwards too: a curve keeps no state between frames.
        std::vector<int> frames = chunk.frames();
        frames.insert(frames.end(), frames.rbegin(), frames.rend());
        for (int frame : frames) {
            const std::vector<double> a = wholeAnimation.valuesAt(frame), b = partAnimation.valuesAt(frame);
            ASSERT_EQ(a.size(), b.size());
            EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(double)), 0) << frame;
        }
    }
}
