// The hxnoise command line: what it accepts, what it refuses, and how it says so.
#include "CommandLine.h"
#include "Suggest.h"
#include "ValueParse.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

using hx::CommandLine;

namespace {

CommandLine parse(std::initializer_list<const char*> args)
{
    std::vector<const char*> argv = {"hxnoise"};
    argv.insert(argv.end(), args.begin(), args.end());
    return hx::parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// The command line as typed, words split at spaces (none of them holds one).
CommandLine parseLine(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    std::vector<const char*> argv = {"hxnoise"};
    for (const std::string& word : words) argv.push_back(word.c_str());
    return hx::parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

} // namespace

TEST(CommandLine, ReadsAFullDeformRequest)
{
    const CommandLine cl = parseLine(
        "deform --set hxNoise1.oyNoiseAmp=0.5 head.obj -o out.obj --set transform1.translate=1,-2,+3e-1 --render "
        "view.png --view top --size 320x200 --frames 24 --key hxNoise1.oxNoiseSeed=1:24 --key transform1.tx=-1:1 "
        "--plugin lib/hxNoise.so");
    ASSERT_EQ(cl.action, CommandLine::Action::Run) << cl.error;
    ASSERT_EQ(cl.command, CommandLine::Command::Deform);
    const hx::Recipe& r = cl.deform.recipe;
    EXPECT_EQ(r.input, "head.obj"); // --set took one value, not the input after it
    EXPECT_EQ(r.output, "out.obj");
    ASSERT_EQ(r.settings.size(), 2u);
    EXPECT_EQ(r.settings[0].node, "hxNoise1");
    EXPECT_EQ(r.settings[0].attribute, "oyNoiseAmp");
    EXPECT_EQ(r.settings[1].numbers, (std::vector<double>{1, -2, 0.3}));
    EXPECT_EQ(r.settings[1].parts, (std::vector<std::string>{"1", "-2", "+3e-1"}));
    EXPECT_EQ(r.render, "view.png");
    EXPECT_EQ(r.view, "top");
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.height, 200);
    ASSERT_TRUE(r.frames);
    EXPECT_EQ(r.frames->count(), 24);
    // FROM:TO keys become keys on the range's first and last frames.
    ASSERT_EQ(r.keys.size(), 4u);
    EXPECT_EQ(r.keys[2].attribute, "tx");
    EXPECT_EQ(r.keys[2].frame, 1);
    EXPECT_EQ(r.keys[2].values, std::vector<double>{-1.0});
    EXPECT_EQ(r.keys[3].frame, 24);
    EXPECT_EQ(r.keys[3].values, std::vector<double>{1.0});
    EXPECT_EQ(r.plugin, "lib/hxNoise.so");
}

TEST(CommandLine, DefaultsAndInfo)
{
    const CommandLine bare = parse({"deform"});
    ASSERT_EQ(bare.action, CommandLine::Action::Run);
    EXPECT_EQ(bare.deform.recipe.input, "");
    EXPECT_EQ(bare.deform.recipe.view, "persp");
    EXPECT_EQ(bare.deform.recipe.width, 640);
    EXPECT_FALSE(bare.deform.recipe.frames);

    const CommandLine info = parse({"info", "hxNoise"});
    ASSERT_EQ(info.action, CommandLine::Action::Run);
    EXPECT_EQ(info.command, CommandLine::Command::Info);
    EXPECT_EQ(info.info.type, "hxNoise");
}

TEST(CommandLine, HelpDocumentsEveryOptionWithAnExample)
{
    const CommandLine help = parse({"deform", "--help"});
    EXPECT_EQ(help.action, CommandLine::Action::Exit);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--output", "--set", "--render", "--view", "--size", "--frames", "--key", "--plugin", "e.g.", "Examples:"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
}

TEST(CommandLine, UsageErrorsExitTwoWithOneLineNamingTheFault)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{}, "subcommand is required"},
        {{"transmogrify"}, "unknown command 'transmogrify', expected deform, info or view"},
        {{"defrom"}, "did you mean deform?"},
        {{"deform", "--set", "hxNoise1.oyNoiseAmp"}, "is not NODE.ATTRIBUTE=VALUE"},
        {{"deform", "--set", "oyNoiseAmp=1"}, "is not NODE.ATTRIBUTE"},
        {{"deform", "--set", "hxNoise1.oyNoiseAmp=abc"}, "'abc' is not a number"},
        {{"deform", "--set", "hxNoise1.oyNoiseAmp=nan"}, "'nan' is not a finite number"},
        {{"deform", "--set", "transform1.t=1,,3"}, "is empty"},
        {{"deform", "--frames", "3"}, "--frames requires --key"},
        {{"deform", "--key", "a.b=0:1"}, "--key requires --frames"},
        {{"deform", "--frames", "2.5", "--key", "a.b=0:1"}, "'2.5' is not an integer"},
        {{"deform", "--frames", "0", "--key", "a.b=0:1"}, "outside 1..100000"},
        {{"deform", "--frames", "2", "--key", "a.b=0"},
         "is not NODE.ATTRIBUTE@FRAME=VALUE (or NODE.ATTRIBUTE=FROM:TO)"},
        {{"deform", "--frames", "2", "--key", "a.b=0:inf"}, "'inf' is not a finite number"},
        {{"deform", "--render", "a.png", "--size", "0x10"}, "outside 1x1..8192x8192"},
        {{"deform", "--render", "a.png", "--size", "100"}, "is not WIDTHxHEIGHT"},
        {{"deform", "--render", "a.png", "--size", "100x1e3"}, "'1e3' is not an integer"},
        {{"deform", "--size", "100x100"}, "--size requires --render"},
        {{"deform", "--render", "a.png", "--view", "bottom"}, "bottom"},
        {{"deform", "--bogus"}, "--bogus"},
        {{"deform", "a.obj", "-o", "a.obj"}, "names the input file"},
        {{"deform", "-o", "a.obj", "--save-config", "-"}, "--save-config -: a recipe is written to a named file"},
        {{"deform", "--config", "-"}, "--config -: a recipe is read from a named file"},
    };
    for (const auto& [args, fragment] : cases) {
        std::vector<const char*> argv = {"hxnoise"};
        argv.insert(argv.end(), args.begin(), args.end());
        const CommandLine cl = hx::parseCommandLine(static_cast<int>(argv.size()), argv.data());
        const std::string line = argv.size() > 1 ? argv.back() : "(nothing)";
        EXPECT_EQ(cl.action, CommandLine::Action::Exit) << line;
        EXPECT_EQ(cl.exitCode, 2) << line;
        EXPECT_NE(cl.error.find(fragment), std::string::npos) << line << ": " << cl.error;
        EXPECT_EQ(cl.error.find('\n'), std::string::npos) << cl.error;
        EXPECT_EQ(cl.error.rfind("hxnoise: ", 0), 0u) << cl.error;
    }
}

TEST(CommandLine, PicturesTakeTheDisplayOnOrOffAndAShadingMode)
{
    const CommandLine plain = parse({"deform", "--render", "a.png"});
    ASSERT_EQ(plain.action, CommandLine::Action::Run) << plain.error;
    EXPECT_TRUE(plain.deform.recipe.hud);
    EXPECT_EQ(plain.deform.recipe.shading, "auto");

    const CommandLine styled = parse({"deform", "--render", "a.png", "--hud", "off", "--shading", "wire"});
    ASSERT_EQ(styled.action, CommandLine::Action::Run) << styled.error;
    EXPECT_FALSE(styled.deform.recipe.hud);
    EXPECT_EQ(styled.deform.recipe.shading, "wire");

    for (const auto& [args, message] : std::vector<std::pair<std::vector<const char*>, std::string>>{
             {{"deform", "--hud", "off"}, "hxnoise: --hud needs --render (see hxnoise --help)"},
             {{"deform", "--shading", "both"}, "hxnoise: --shading needs --render (see hxnoise --help)"},
             {{"deform", "--render", "a.png", "--hud", "Off"},
              "hxnoise: --hud 'Off' is not on or off; did you mean off or on? (see hxnoise --help)"},
             {{"deform", "--render", "a.png", "--shading", "Smooth"},
              "hxnoise: --shading 'Smooth' is not auto, smooth, wire or both; did you mean smooth? (see hxnoise "
              "--help)"},
         }) {
        std::vector<const char*> argv = {"hxnoise"};
        argv.insert(argv.end(), args.begin(), args.end());
        const CommandLine cl = hx::parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(cl.exitCode, 2);
        EXPECT_EQ(cl.error, message);
    }
}

TEST(ValueParse, NumbersAndIntegersAreReadStrictly)
{
    EXPECT_EQ(hx::parseNumber("-2.5e-3", "x"), -2.5e-3);
    EXPECT_EQ(hx::parseNumber("+7", "x"), 7.0);
    EXPECT_EQ(hx::parseInteger("-12", "x"), -12);
    for (const char* bad : {"", " ", "1.5x", "0x10", "1e999", "NaN", "-inf", "1 2"})
        EXPECT_THROW(hx::parseNumber(bad, "x"), hx::UsageError) << bad;
    for (const char* bad : {"1.0", "1e3", "9999999999", "seven", "3 "})
        EXPECT_THROW(hx::parseInteger(bad, "x"), hx::UsageError) << bad;
    try {
        hx::parseInteger("2.5", "value of hxNoise1.oxNoiseOctaves");
    } catch (const hx::UsageError& error) {
        EXPECT_STREQ(error.what(), "value of hxNoise1.oxNoiseOctaves '2.5' is not an integer");
    }
}

TEST(Suggest, ProposesTheClosestKnownNames)
{
    const std::vector<std::string> attributes = {"oxNoiseAmp",  "oyNoiseAmp",  "ozNoiseAmp",
                                                 "oxNoiseFreq", "deformSpace", "envelope"};
    EXPECT_EQ(hx::closestNames("oxNoisAmp", attributes),
              (std::vector<std::string>{"oxNoiseAmp", "oyNoiseAmp", "ozNoiseAmp"}));
    EXPECT_EQ(hx::closestNames("ENVELOPE", attributes), (std::vector<std::string>{"envelope"}));
    EXPECT_TRUE(hx::closestNames("translate", attributes).empty());
    EXPECT_EQ(hx::didYouMean({"a", "b", "c"}), "; did you mean a, b or c?");
    EXPECT_EQ(hx::didYouMean({"hxNoise1"}), "; did you mean hxNoise1?");
    EXPECT_EQ(hx::didYouMean({}), "");
    EXPECT_EQ(hx::editDistance("kitten", "sitting"), 3u);
}

TEST(CommandLine, ViewTakesDeformsOptionsAndItsOwn)
{
    const CommandLine view = parseLine(
        "view head.obj --set hxNoise1.yna=0.5 --frames 1001-1010 --key transform1.tx@1001=0 --size 1024x700 --hud off "
        "--config shot.toml --save-config mine.toml --snapshot window.png -o out.obj");
    ASSERT_EQ(view.action, CommandLine::Action::Run) << view.error;
    ASSERT_EQ(view.command, CommandLine::Command::View);
    const hx::ViewRequest& r = view.view;
    EXPECT_EQ(r.arguments.input, "head.obj");
    EXPECT_EQ(r.arguments.settings, std::vector<std::string>{"hxNoise1.yna=0.5"});
    EXPECT_EQ(r.arguments.frames, "1001-1010");
    EXPECT_EQ(r.arguments.keys, std::vector<std::string>{"transform1.tx@1001=0"});
    EXPECT_EQ(r.arguments.size, "1024x700");
    EXPECT_EQ(r.arguments.hud, "off");
    EXPECT_EQ(r.arguments.output, "out.obj");
    EXPECT_EQ(r.config, "shot.toml");
    EXPECT_EQ(r.saveConfig, "mine.toml");
    EXPECT_EQ(r.snapshot, "window.png");

    const CommandLine bare = parse({"view"});
    ASSERT_EQ(bare.action, CommandLine::Action::Run);
    EXPECT_FALSE(bare.view.arguments.input);
    EXPECT_FALSE(bare.view.config);

    const CommandLine help = parse({"view", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--snapshot", "--config", "--save-config", "--set", "--key", "tumbles", "e.g."})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    EXPECT_EQ(parse({"veiw"}).error,
              "hxnoise: unknown command 'veiw', expected deform, info or view; did you mean "
              "view? (see hxnoise --help)");
}
