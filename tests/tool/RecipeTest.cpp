// Recipes: a run's options as one value, its TOML file read back by CLI11, and the comment
// lines every output carries.
#include "Recipe.h"
#include "RecipeOptions.h"
#include "RecipeToml.h"
#include "ToolError.h"
#include "ValueParse.h"

#include <gtest/gtest.h>
#include <CLI/CLI.hpp>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

using hx::Recipe;
using hx::RecipeArguments;

namespace {

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string writeTemporary(const std::string& name, const std::string& text)
{
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

Recipe fromToml(const std::string& text)
{
    std::istringstream in(text);
    return hx::makeRecipe(hx::readRecipeArguments(in, "test.toml"));
}

// What the recipe reader says of `text`, or "(read)" when it takes it.
std::string readRefusal(const std::string& text)
{
    try {
        fromToml(text);
    } catch (const hx::UsageError& error) {
        return error.what();
    }
    return "(read)";
}

// A shot as a studio runs it: every option, values whose text must survive exactly.
RecipeArguments shotArguments()
{
    RecipeArguments a;
    a.input = "assets/rock, large (v2).obj";
    a.output = "out/shot.####.obj";
    a.render = "it's/shot.####.png";
    a.view = "front";
    a.size = "800x600";
    a.frames = "1001-1100";
    a.step = "2";
    a.tangents = "smooth";
    a.settings = {"hxNoise1.oxNoiseAmp=0.1", "transform1.translate=+3e-1,-0,1e22", "hxNoise1.xns=1000000000",
                  "transform1.rotate=0.30000000000000004,5e-324,-1.7976931348623157e308"};
    a.keys = {"transform1.translate@1001=0,0,0", "transform1.translate@1100=0,0,5", "hxNoise1.oyNoiseAmp=0:2.5"};
    a.plugin = "/opt/hx/hxNoise.so";
    return a;
}

} // namespace

TEST(Recipe, ReadsEveryOptionAndGivesBackItsExactText)
{
    const Recipe shot = hx::makeRecipe(shotArguments());
    EXPECT_EQ(shot.view, "front");
    EXPECT_EQ(shot.width, 800);
    EXPECT_EQ(*shot.frames, hx::parseFrameRange("1001-1100", 2));
    EXPECT_EQ(shot.tangents, hx::Tangents::Smooth);
    ASSERT_EQ(shot.keys.size(), 4u); // FROM:TO is two keys, on the range's first and last frames
    EXPECT_EQ(hx::keyText(shot.keys[3]), "hxNoise1.oyNoiseAmp@1100=2.5");

    const RecipeArguments again = hx::recipeArguments(shot);
    EXPECT_EQ(again.settings,
              (std::vector<std::string>{"hxNoise1.oxNoiseAmp=0.1", "transform1.translate=0.3,-0,1e+22",
                                        "hxNoise1.xns=1000000000",
                                        "transform1.rotate=0.30000000000000004,5e-324,-1.7976931348623157e+308"}));
    EXPECT_EQ(again.step, "2");
    EXPECT_EQ(hx::recipeArguments(hx::makeRecipe(again)).keys, again.keys);

    // Defaults are written out, so that a later default cannot change the run.
    RecipeArguments bare;
    bare.render = "view.png";
    bare.frames = "5";
    const RecipeArguments filled = hx::recipeArguments(hx::makeRecipe(bare));
    EXPECT_EQ(filled.view, "persp");
    EXPECT_EQ(filled.size, "640x480");
    EXPECT_EQ(filled.frames, "1-5");
    EXPECT_EQ(filled.step, "1");
    EXPECT_EQ(filled.tangents, "linear");
    EXPECT_FALSE(filled.input); // the bundled example, wherever it is installed
}

TEST(Recipe, RefusesOptionsThatMakeNoRunWithOneLine)
{
    const auto refusal = [](RecipeArguments a) -> std::string {
        try {
            hx::makeRecipe(a);
        } catch (const hx::UsageError& error) {
            return error.what();
        }
        return "(accepted)";
    };
    // An option that means something only beside another, given alone.
    const auto alone = [](auto member, auto value) {
        RecipeArguments a;
        a.*member = value;
        return a;
    };
    EXPECT_EQ(refusal(alone(&RecipeArguments::keys, std::vector<std::string>{"hxNoise1.xna@1=0"})),
              "--key needs --frames");
    EXPECT_EQ(refusal(alone(&RecipeArguments::step, "2")), "--step needs --frames");
    EXPECT_EQ(refusal(alone(&RecipeArguments::tangents, "smooth")), "--tangents needs --frames");
    RecipeArguments a = alone(&RecipeArguments::size, "10x10");
    EXPECT_EQ(refusal(a), "--size needs --render");
    a.render = "a.png";
    a.view = "presp";
    EXPECT_EQ(refusal(a), "--view 'presp' is not persp, top, front or side; did you mean persp?");
    a = {};
    a.output = "shot.####.obj";
    EXPECT_EQ(refusal(a), "-o 'shot.####.obj' has # for a frame number, but no --frames gives frames");
    a.frames = "10";
    a.render = "f.##/a.png";
    EXPECT_EQ(refusal(a).rfind("--render 'f.##/a.png' has # in a folder name", 0), 0u);
}

TEST(Recipe, TheCommandLineOverridesARecipeFilesOptionsAndAddsToItsLists)
{
    RecipeArguments file = shotArguments();
    RecipeArguments commandLine;
    commandLine.frames = "1026-1050";
    commandLine.render = ""; // given empty: no picture this time
    commandLine.view = std::nullopt;
    commandLine.settings = {"hxNoise1.oxNoiseAmp=0.2"};
    commandLine.keys = {"hxNoise1.xns@1030=4"};
    const RecipeArguments run = hx::overlay(file, commandLine);
    EXPECT_EQ(run.frames, "1026-1050");
    EXPECT_EQ(run.render, "");
    EXPECT_EQ(run.output, file.output);
    EXPECT_EQ(run.step, "2");
    ASSERT_EQ(run.settings.size(), 5u);
    EXPECT_EQ(run.settings.back(), "hxNoise1.oxNoiseAmp=0.2"); // applied last, so it wins
    EXPECT_EQ(run.keys.back(), "hxNoise1.xns@1030=4");
}

TEST(Recipe, TheTomlFileReadsBackThroughCli11ToTheSameRecipe)
{
    const Recipe shot = hx::makeRecipe(shotArguments());
    const std::string toml = hx::recipeToml(shot);
    const std::string golden = readText(HX_TEST_DATA "/shot_recipe.toml");
    EXPECT_EQ(toml, golden) << toml;
    EXPECT_EQ(hx::recipeToml(fromToml(golden)), golden);
    // Not written by us: comments, blank lines, spacing, escapes, dotted keys, a number.
    const Recipe handWritten = fromToml(
        "# the forest shot\n\n[deform]   # options of deform\n"
        "output = \"out\\\\tree.#####.obj\"  # five digits\n"
        "frames='1-10'\nstep=3\nset = [ 'hxNoise1.xna=1' ,\n\n  'hxNoise1.yna=2', ]\n");
    EXPECT_EQ(handWritten.output, "out\\tree.#####.obj");
    EXPECT_EQ(handWritten.frames->step, 3);
    EXPECT_EQ(fromToml("deform.frames = '7'").frames->count(), 7);
    EXPECT_EQ(handWritten.settings.size(), 2u);
    EXPECT_EQ(handWritten.settings[1].attribute, "yna");
}

TEST(Recipe, NumbersComeBackToTheBit)
{
    std::mt19937_64 random(7);
    RecipeArguments a;
    a.frames = "-50-50";
    std::vector<double> written;
    for (int i = 0; i < 3000; ++i) {
        double v;
        do {
            const std::uint64_t bits = random();
            std::memcpy(&v, &bits, sizeof v);
        } while (!std::isfinite(v));
        written.push_back(v);
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", v);
        if (i % 2)
            a.settings.push_back("n.a=" + std::string(text));
        else
            a.keys.push_back("n.a@" + std::to_string(i / 2 - 50) + "=" + text);
    }
    const Recipe read = fromToml(hx::recipeToml(hx::makeRecipe(a)));
    std::vector<double> back;
    for (std::size_t i = 0; i < written.size(); ++i)
        back.push_back(i % 2 ? read.settings[i / 2].numbers[0] : read.keys[i / 2].values[0]);
    EXPECT_EQ(std::memcmp(back.data(), written.data(), written.size() * sizeof(double)), 0);
}

TEST(Recipe, Cli11ReadsTheFileAsHxnoisesConfig)
{
    // The command line as hxnoise builds it: --config FILE with the recipe reader.
    const std::string path = writeTemporary("config_recipe.toml", hx::recipeToml(hx::makeRecipe(shotArguments())));
    const auto parse = [&](std::vector<const char*> argv) {
        RecipeArguments typed;
        CLI::App app("hxnoise", "hxnoise");
        app.config_formatter(hx::recipeFormat());
        app.set_config("--config");
        CLI::App* deform = app.add_subcommand("deform");
        deform->fallthrough(); // hxnoise deform --config FILE
        hx::addRecipeOptions(*deform, typed);
        argv.insert(argv.begin(), "hxnoise");
        app.parse(static_cast<int>(argv.size()), argv.data());
        return typed;
    };
    const RecipeArguments read = parse({"deform", "--config", path.c_str(), "--frames", "1026-1050"});
    EXPECT_EQ(read.frames, "1026-1050"); // the command line's
    EXPECT_EQ(read.output, "out/shot.####.obj");
    EXPECT_EQ(read.keys, hx::recipeArguments(hx::makeRecipe(shotArguments())).keys);

    // CLI11 drops the file's list of an option the command line also gives: so --set and --key
    // are read with readRecipeFile and overlay() instead, which adds them up.
    const RecipeArguments replaced = parse({"deform", "--config", path.c_str(), "--set", "a.b=1"});
    EXPECT_EQ(replaced.settings, (std::vector<std::string>{"a.b=1"}));
    EXPECT_EQ(hx::overlay(hx::readRecipeFile(path), replaced).settings.size(), 5u);
}

TEST(Recipe, AnyNameComesBackExactlyAndMistakesInAFileAreNamed)
{
    for (const std::string name :
         {"a\nv 1 2 3\n.obj", "it's \"x\".obj", "dir\\", "'quoted'", "\"q\"", "tab\there;#[x]=y, z.obj",
          "caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x8e\xac.obj", "\x01\x7f\r.obj", " spaced ", ""}) {
        Recipe recipe;
        recipe.output = name;
        recipe.frames = hx::FrameRange{};
        const std::string toml = hx::recipeToml(recipe);
        EXPECT_EQ(fromToml(toml).output, name) << toml;
        for (const std::string& line : hx::recipeComment(recipe, std::nullopt))
            for (char c : line) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t') << line;
    }
    Recipe notText;
    notText.input = "scan\xff.obj";
    EXPECT_THROW(hx::recipeToml(notText), hx::UsageError);

    EXPECT_EQ(readRefusal("[deform]\nsets = ['a.b=1']\n").rfind("recipe test.toml: ", 0), 0u);
    EXPECT_NE(readRefusal("frames = '1-5'\n"), "(read)"); // outside [deform]
    EXPECT_NE(readRefusal("[deform]\nset = ['a.b=1']\nframes = '5'\nset = ['c.d=2']\n").find("line 4"),
              std::string::npos);
    EXPECT_NE(readRefusal("[deform]\noutput = 'a.obj\n").find("line 2"), std::string::npos);
    EXPECT_NE(readRefusal("[deform]\nframes = ['1-5', '6-9']\n"), "(read)");
    EXPECT_NE(readRefusal("[deform]\nset = [['a.b=1']]\n").find("list or table in a list"), std::string::npos);
    // Text beyond ASCII anywhere: toml++ 3.3 once ran into undefined behaviour on such text
    // outside quotes; now it is read, or refused with its line, like any other.
    EXPECT_EQ(readRefusal("[\xef\xb3\xbf"
                          "de\noutput =-00")
                  .rfind("recipe test.toml: line 1, column 2: ", 0),
              0u);
    EXPECT_NE(readRefusal("[deform]\noutput = \"a\\\xc3\xa9\"").find("line 2"), std::string::npos);
    EXPECT_NE(readRefusal("[deform] \xc3\xa9\noutput = 'a'"), "(read)");
    EXPECT_NE(readRefusal("[deform]\noutput = '\xf3\xb0\x80\x80'").find("line 2: a private-use character"),
              std::string::npos);
    EXPECT_NE(readRefusal("[deform]\noutput = \"\\U000F0000\"").find("private-use"), std::string::npos);
    EXPECT_EQ(
        fromToml("# caf\xc3\xa9\n[deform] # \xe3\x81\x82\nrender = \"\"\"caf\xc3\xa9 \\u00e9\\\n   \xef\xbb\xbe\"\"\"")
            .render,
        "caf\xc3\xa9 \xc3\xa9\xef\xbb\xbe");
    EXPECT_THROW(hx::readRecipeFile(::testing::TempDir() + "no such recipe.toml"), hx::ToolError);
}

TEST(Recipe, EveryFileCarriesTheToolsVersionAndItsFramesRecipe)
{
    const Recipe shot = hx::makeRecipe(shotArguments());
    const std::vector<std::string> lines = hx::recipeComment(shot, 1031);
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines[0], "hxNoise 3.0");
    EXPECT_EQ(lines[1], "[deform]");
    for (const std::string& line : lines)
        for (char c : line) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t') << line;

    // The same lines from a farm chunk as from the whole shot: the files are the same.
    RecipeArguments chunk = hx::recipeArguments(shot);
    chunk.frames = "1027-1051";
    EXPECT_EQ(hx::recipeComment(hx::makeRecipe(chunk), 1031), lines);

    // Without the version line they are a recipe of that one frame.
    std::string text;
    for (std::size_t i = 1; i < lines.size(); ++i) text += lines[i] + "\n";
    const Recipe frame = fromToml(text);
    EXPECT_EQ(frame.frames->frames(), (std::vector<int>{1031}));
    EXPECT_EQ(hx::recipeToml(frame), hx::recipeToml(hx::recipeForFrame(shot, 1031)));
    EXPECT_EQ(hx::recipeComment(Recipe{}, std::nullopt), (std::vector<std::string>{"hxNoise 3.0", "[deform]"}));
}

TEST(Recipe, APointCacheIsTheWholeRunsSoAFramesRecipeLeavesItOut)
{
    RecipeArguments a = shotArguments();
    a.cache = "out/shot.mdd";
    const Recipe shot = hx::makeRecipe(a);
    EXPECT_EQ(shot.cache, "out/shot.mdd");
    // Saved and read back with the rest; a chunk on the command line names its own.
    const std::string toml = hx::recipeToml(shot);
    EXPECT_NE(toml.find("\ncache = 'out/shot.mdd'\n"), std::string::npos) << toml;
    EXPECT_EQ(fromToml(toml).cache, "out/shot.mdd");
    RecipeArguments chunk;
    chunk.cache = "out/shot.1026-1050.mdd";
    EXPECT_EQ(hx::overlay(a, chunk).cache, "out/shot.1026-1050.mdd");
    // A frame's files would not make the cache again, but write one frame over it.
    EXPECT_EQ(hx::recipeForFrame(shot, 1031).cache, "");
    for (const std::string& line : hx::recipeComment(shot, 1031)) EXPECT_EQ(line.find("cache"), std::string::npos);
}

TEST(Recipe, ATableNameThatCannotStartAKeyIsRefusedWithItsPlace)
{
    const std::string refused = ": a table name starts with a letter, a digit, _, - or a quote";
    EXPECT_EQ(readRefusal("[!x]\n"), "recipe test.toml: line 1, column 2" + refused);
    EXPECT_EQ(readRefusal("[deform]\noutput = 'a'\n[[ \xc3\xa9 ]]\n"), "recipe test.toml: line 3, column 4" + refused);
    // What toml++ says of a name quotes it as the file has it.
    EXPECT_NE(readRefusal("[deform]\n\xc3\xa9 = 1\n").find("'\xc3\xa9'"), std::string::npos)
        << readRefusal("[deform]\n\xc3\xa9 = 1\n");
    // A [ at the start of a line inside a string or a list is no table.
    const Recipe inside = fromToml(
        "[deform]\n# [!comment]\nrender = '''\n[\xc3\xa9.png'''\n"
        "set = [\n'a.b=1', # [!x]\n]\noutput = \"\"\"x\\\n[!.obj\"\"\"\n");
    EXPECT_EQ(inside.render, "[\xc3\xa9.png");
    EXPECT_EQ(inside.output, "x[!.obj");
    ASSERT_EQ(inside.settings.size(), 1u);
}

TEST(Recipe, APictureKeepsItsDisplayAndShading)
{
    RecipeArguments a;
    a.render = "view.png";
    a.hud = "off";
    a.shading = "wire";
    const Recipe styled = hx::makeRecipe(a);
    EXPECT_FALSE(styled.hud);
    EXPECT_EQ(styled.shading, "wire");
    // Written out and read back, and written with the defaults when none were given.
    const Recipe back = fromToml(hx::recipeToml(styled));
    EXPECT_FALSE(back.hud);
    EXPECT_EQ(back.shading, "wire");
    RecipeArguments plain;
    plain.render = "view.png";
    const RecipeArguments filled = hx::recipeArguments(hx::makeRecipe(plain));
    EXPECT_EQ(filled.hud, "on");
    EXPECT_EQ(filled.shading, "auto");

    // Without a picture they mean nothing, and are refused like --view and --size.
    for (const auto& [option, member] :
         {std::pair{"--hud", &RecipeArguments::hud}, std::pair{"--shading", &RecipeArguments::shading}}) {
        RecipeArguments alone;
        alone.*member = "on";
        try {
            hx::makeRecipe(alone);
            ADD_FAILURE() << option << " without --render was taken";
        } catch (const hx::UsageError& error) {
            EXPECT_EQ(std::string(error.what()), std::string(option) + " needs --render");
        }
    }
    a.shading = "flat";
    EXPECT_THROW(hx::makeRecipe(a), hx::UsageError);
    // The command line's choice wins over the file's.
    RecipeArguments commandLine;
    commandLine.hud = "on";
    EXPECT_EQ(hx::overlay(hx::recipeArguments(styled), commandLine).hud, "on");
}
