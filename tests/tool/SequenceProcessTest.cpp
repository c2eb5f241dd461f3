// `hxnoise deform` as a process over sequences as a studio runs them: shot frame ranges and
// steps, frame numbers in names, keys at frames with both tangent kinds, compound keys, farm
// chunks through GNU parallel, recipes saved and run again, and the recipe in every file.
#include "ToolProcess.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;
namespace fs = hxtest::fs;

namespace {

const char* const kTet = "o tet\nv 0 0 0\nv 1 0 0.5\nv 0 1 0.25\nv 0.5 0.5 1\nf 1 3 2\nf 1 2 4\nf 2 3 4\nf 3 1 4\n";

// Noise on every axis, so that moving the deform space moves the points.
const std::vector<std::string> kNoise = {"--set", "hxNoise1.oxNoiseAmp=0.4", "--set", "hxNoise1.oyNoiseAmp=0.4",
                                         "--set", "hxNoise1.ozNoiseAmp=0.4"};

std::vector<std::string> deform(std::vector<std::string> args, const std::vector<std::string>& more = kNoise)
{
    args.insert(args.begin(), "deform");
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// An OBJ's mesh lines, without the comments that say how it was made.
std::string meshLines(const fs::path& path)
{
    std::string kept;
    std::istringstream in(hxtest::readFile(path));
    for (std::string line; std::getline(in, line);)
        if (line.empty() || line[0] != '#') kept += line + "\n";
    return kept;
}

// The mesh a single evaluation gives with `settings`: what a keyed frame must equal.
std::string meshWith(const TempDir& dir, const std::vector<std::string>& settings)
{
    std::vector<std::string> args = {"tet.obj", "-o", "single.obj"};
    args.insert(args.end(), settings.begin(), settings.end());
    const ToolRun run = runTool(deform(args), dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return meshLines(dir / "single.obj");
}

// The text of a PNG's "Comment" text chunk (tEXt), read chunk by chunk.
std::string pngComment(const std::string& png)
{
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = std::uint32_t(std::uint8_t(png[at])) << 24 |
                                     std::uint32_t(std::uint8_t(png[at + 1])) << 16 |
                                     std::uint32_t(std::uint8_t(png[at + 2])) << 8 | std::uint8_t(png[at + 3]);
        const std::string type = png.substr(at + 4, 4), data = png.substr(at + 8, length);
        if (type == "tEXt" && data.rfind(std::string("Comment\0", 8), 0) == 0) return data.substr(8);
        at += 12 + length;
    }
    return "";
}

// The comment lines at the top of an OBJ after the writer's own first line, "# " taken off.
std::vector<std::string> objComment(const fs::path& path)
{
    std::vector<std::string> lines;
    std::istringstream in(hxtest::readFile(path));
    std::string line;
    std::getline(in, line); // "# written by hxnoise"
    while (std::getline(in, line) && line.rfind("# ", 0) == 0) lines.push_back(line.substr(2));
    return lines;
}

std::vector<std::string> filesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string()[0] != '.') names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(HxnoiseSequence, ShotRangesStepsAndFrameNumbersNameTheFiles)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    const std::vector<std::string> keys = {"--key", "transform1.tx@1001=0", "--key", "transform1.tx@1100=1"};

    const ToolRun shot = runTool(deform({"tet.obj", "-o", "shot.####.obj", "--frames", "1001-1003"}, keys), dir.path());
    ASSERT_EQ(shot.exitCode, 0) << shot.err;
    EXPECT_NE(shot.out.find("wrote shot.1001.obj .. shot.1003.obj (3 frames)\n"), std::string::npos) << shot.out;

    // Every fourth frame from the first; the range's end is not on the step, so not evaluated.
    const ToolRun step =
        runTool(deform({"tet.obj", "-o", "s.##.obj", "--frames", "1-10", "--step", "4", "--key", "transform1.tx=0:1"}),
                dir.path());
    ASSERT_EQ(step.exitCode, 0) << step.err;
    // A name without # keeps the _NNNN suffix, numbered by the shot's frames.
    const ToolRun suffix = runTool(deform({"tet.obj", "-o", "old.obj", "--frames", "1001-1002"}, keys), dir.path());
    ASSERT_EQ(suffix.exitCode, 0) << suffix.err;
    // N alone is still frames 1..N.
    const ToolRun count = runTool(deform({"tet.obj", "-o", "n.obj", "--frames", "2"}, keys), dir.path());
    ASSERT_EQ(count.exitCode, 0) << count.err;

    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"n_0001.obj", "n_0002.obj", "old_1001.obj", "old_1002.obj",
                                                             "s.01.obj", "s.05.obj", "s.09.obj", "shot.1001.obj",
                                                             "shot.1002.obj", "shot.1003.obj", "tet.obj"}));

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--frames", "1100-1001"}, "--frames 1100-1001 ends before it starts"},
        {{"--frames", "1-10", "--step", "0"}, "--step 0 is outside"},
        {{"-o", "a.##.##.obj", "--frames", "3"}, "a.##.##.obj"},
        {{"-o", "a.####.obj"}, "has # for a frame number, but no --frames gives frames"},
        {{"--frames", "3", "--tangents", "cubic"}, "--tangents 'cubic' is not linear or smooth"},
    };
    for (const auto& [args, fragment] : refused) {
        SCOPED_TRACE(fragment);
        std::vector<std::string> all = {"tet.obj"};
        all.insert(all.end(), args.begin(), args.end());
        const bool hasFrames = std::find(args.begin(), args.end(), "--frames") != args.end();
        const ToolRun run = runTool(deform(all, hasFrames ? keys : kNoise), dir.path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(fragment), std::string::npos) << run.err;
        EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;
    }

    // A one-frame shot, as a farm task of one frame runs it: its file named alone.
    const ToolRun one = runTool(deform({"tet.obj", "-o", "one.####.obj", "--frames", "1050-1050"}, keys), dir.path());
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_NE(one.out.find("wrote one.1050.obj\n"), std::string::npos) << one.out;
    EXPECT_TRUE(fs::exists(dir.path() / "one.1050.obj"));
}

TEST(HxnoiseSequence, KeysAtFramesHoldBeyondTheirEndsAndEaseWhenSmooth)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    // The deform space moves from x = 0 on frame 2 to x = 4 on frame 6; frames 1..7.
    const std::vector<std::string> keys = {"--frames",          "1-7",   "--key",
                                           "transform1.tx@2=0", "--key", "transform1.tx@6=4"};
    std::vector<std::string> linear = {"tet.obj", "-o", "lin.#.obj"}, smooth = {"tet.obj", "-o", "smo.#.obj"};
    linear.insert(linear.end(), keys.begin(), keys.end());
    smooth.insert(smooth.end(), keys.begin(), keys.end());
    smooth.insert(smooth.end(), {"--tangents", "smooth"});
    ASSERT_EQ(runTool(deform(linear), dir.path()).exitCode, 0);
    ASSERT_EQ(runTool(deform(smooth), dir.path()).exitCode, 0);

    // Before the first key and after the last, the keys' values hold.
    EXPECT_EQ(meshLines(dir / "lin.1.obj"), meshWith(dir, {"--set", "transform1.tx=0"}));
    EXPECT_EQ(meshLines(dir / "lin.7.obj"), meshWith(dir, {"--set", "transform1.tx=4"}));
    EXPECT_EQ(meshLines(dir / "smo.7.obj"), meshLines(dir / "lin.7.obj"));
    // Linear: a quarter of the way is a quarter of the distance.
    EXPECT_EQ(meshLines(dir / "lin.3.obj"), meshWith(dir, {"--set", "transform1.tx=1"}));
    // Smooth: flat at the keys, so slower off the first key (3t² - 2t³ of the way at t = 1/4
    // is 0.15625 of 4), and through the middle at the middle.
    EXPECT_EQ(meshLines(dir / "smo.3.obj"), meshWith(dir, {"--set", "transform1.tx=0.625"}));
    EXPECT_EQ(meshLines(dir / "smo.4.obj"), meshWith(dir, {"--set", "transform1.tx=2"}));

    // An integer attribute's keyed value is rounded: octaves 1 to 2 over three frames is 2 in
    // the middle (1.5, halves away from zero).
    ASSERT_EQ(runTool(deform({"tet.obj", "-o", "oct.#.obj", "--frames", "3", "--key", "hxNoise1.xno@1=1", "--key",
                              "hxNoise1.xno@3=2"}),
                      dir.path())
                  .exitCode,
              0);
    EXPECT_EQ(meshLines(dir / "oct.2.obj"), meshWith(dir, {"--set", "hxNoise1.oxNoiseOctaves=2"}));
}

TEST(HxnoiseSequence, CompoundAttributesAreKeyedWholeAndClashesRefusedInOneLine)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    const ToolRun run = runTool(deform({"tet.obj", "-o", "c.#.obj", "--frames", "3", "--key",
                                        "transform1.translate@1=0,0,0", "--key", "transform1.translate@3=2,4,6"}),
                                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(meshLines(dir / "c.2.obj"), meshWith(dir, {"--set", "transform1.translate=1,2,3"}));
    // A compound key and a key on one of its children meet on the same numbers.
    const ToolRun mixed = runTool(deform({"tet.obj", "-o", "m.#.obj", "--frames", "3", "--key",
                                          "transform1.translate@1=0,0,0", "--key", "transform1.ty@3=4"}),
                                  dir.path());
    ASSERT_EQ(mixed.exitCode, 0) << mixed.err;
    EXPECT_EQ(meshLines(dir / "m.2.obj"), meshWith(dir, {"--set", "transform1.translate=0,2,0"}));

    const auto before = hxtest::snapshot(dir.path());
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--key", "transform1.translate@1=0,0,0", "--key", "transform1.tx@1=5"},
         "two keys on transform1.translateX at frame 1"},
        {{"--key", "hxNoise1.xna@1=0", "--key", "hxNoise1.oxNoiseAmp@1=1"},
         "two keys on hxNoise1.oxNoiseAmp at frame 1"},
        {{"--key", "transform1.tx@1=0", "--set", "transform1.translate=1,1,1"},
         "--set transform1.translate=1,1,1: transform1.translateX is keyed"},
        {{"--key", "transform1.translate@1=0,0"}, "transform1.translate has 3 (translateX, translateY, translateZ)"},
        {{"--key", "hxNoise1.xno@2=2.5"}, "--key hxNoise1.xno@2 '2.5' is not an integer"},
        {{"--key", "hxNoise2.xna@1=0"}, "no node named 'hxNoise2'; did you mean hxNoise1?"},
    };
    for (const auto& [args, fragment] : refused) {
        SCOPED_TRACE(fragment);
        std::vector<std::string> all = {"tet.obj", "-o", "x.#.obj", "--frames", "3"};
        all.insert(all.end(), args.begin(), args.end());
        const ToolRun bad = runTool(deform(all), dir.path());
        EXPECT_EQ(bad.exitCode, 2);
        EXPECT_NE(bad.err.find(fragment), std::string::npos) << bad.err;
        EXPECT_EQ(hxtest::lineCount(bad.err), 1u) << bad.err;
    }
    EXPECT_EQ(hxtest::snapshot(dir.path()), before) << "a refused run writes nothing";
}

TEST(HxnoiseSequence, FarmChunksThroughGnuParallelWriteTheWholeRunsFilesByteForByte)
{
    if (std::system("parallel --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "GNU parallel is not installed";
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    fs::create_directories((dir.path() / "whole"));
    fs::create_directories((dir.path() / "farm"));
    // The shot's options over `frames`, its recipe saved.
    const auto shot = [](const std::string& frames) {
        return deform({"../tet.obj", "-o", "shot.####.obj", "--render", "shot.####.png", "--size", "48x32", "--frames",
                       frames, "--key", "transform1.translate@1001=0,0,0", "--key", "transform1.translate@1012=0,0,2",
                       "--key", "hxNoise1.xno@1006=3", "--tangents", "smooth", "--save-config", "shot.toml"});
    };
    // The frames `first` to `last` in `folder` are the whole run's, byte for byte.
    const auto expectSameAsWhole = [&dir](const std::string& folder, int first, int last) {
        for (int frame = first; frame <= last; ++frame)
            for (const std::string extension : {".obj", ".png"}) {
                const std::string name = "shot." + std::to_string(frame) + extension;
                EXPECT_EQ(hxtest::readFile(dir.path() / folder / name), hxtest::readFile(dir.path() / "whole" / name))
                    << name;
            }
    };

    // The whole shot in one run, its recipe saved.
    const ToolRun whole = runTool(shot("1001-1012"), (dir.path() / "whole"));
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    fs::copy_file(dir / "whole/shot.toml", dir / "farm/shot.toml");

    // The same recipe in four chunks, as four processes side by side; each chunk also writes a
    // point cache of its own frames.
    const std::string command = "cd '" + ((dir.path() / "farm")).string() + "' && parallel --halt now,fail=1 " +
                                hxtest::toolPath() +
                                " deform --config shot.toml --frames {} --cache part.{}.pc2 '>' log.{}.txt "
                                "::: 1001-1003 1004-1006 1007-1009 1010-1012";
    ASSERT_EQ(std::system(command.c_str()), 0);

    expectSameAsWhole("farm", 1001, 1012);
    // A chunk's cache starts at the chunk's first frame and holds its three.
    const std::string cache = hxtest::readFile(dir / "farm/part.1004-1006.pc2");
    ASSERT_EQ(cache.size(), 32u + 3 * 4 * 12);
    float start = 0;
    std::memcpy(&start, cache.data() + 20, 4); // a little-endian float on this little-endian machine
    EXPECT_EQ(start, 1004.0f);
    EXPECT_EQ(cache.compare(28, 4, std::string("\x03\0\0\0", 4)), 0);

    // The recipe saved from a one-frame run of the same options, without running the shot:
    // a chunk from it writes the whole run's files all the same.
    fs::create_directories((dir.path() / "saved"));
    const ToolRun saved = runTool(shot("1001-1001"), (dir.path() / "saved"));
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const ToolRun chunk = runTool({"deform", "--config", "shot.toml", "--frames", "1005-1008"}, (dir.path() / "saved"));
    ASSERT_EQ(chunk.exitCode, 0) << chunk.err;
    expectSameAsWhole("saved", 1005, 1008);
}

TEST(HxnoiseSequence, ASavedRecipeRunsTheSameRunAgainAndTheCommandLineAddsToIt)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    fs::create_directories((dir.path() / "first"));
    fs::create_directories((dir.path() / "again"));
    const ToolRun first = runTool(deform({"../tet.obj", "-o",     "t.####.obj", "--render", "t.####.png",
                                          "--size",     "40x30",  "--view",     "top",      "--frames",
                                          "1001-1004",  "--step", "3",          "--key",    "transform1.tz=0:1",
                                          "--tangents", "smooth", "--cache",    "t.mdd",    "--save-config",
                                          "t.toml"}),
                                  (dir.path() / "first"));
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // The recipe holds every option of the run, the FROM:TO key placed on the range's ends.
    const std::string recipe = hxtest::readFile(dir / "first/t.toml");
    EXPECT_EQ(recipe,
              "# hxNoise 3.0 recipe: hxnoise deform --config FILE runs it again\n"
              "[deform]\n"
              "input = '../tet.obj'\n"
              "output = 't.####.obj'\n"
              "render = 't.####.png'\n"
              "cache = 't.mdd'\n"
              "view = 'top'\n"
              "size = '40x30'\n"
              "hud = 'on'\n"
              "shading = 'auto'\n"
              "frames = '1001-1004'\n"
              "step = 3\n"
              "tangents = 'smooth'\n"
              "set = ['hxNoise1.oxNoiseAmp=0.4',\n"
              "       'hxNoise1.oyNoiseAmp=0.4',\n"
              "       'hxNoise1.ozNoiseAmp=0.4']\n"
              "key = ['transform1.tz@1001=0',\n"
              "       'transform1.tz@1004=1']\n");

    fs::copy_file(dir / "first/t.toml", dir / "again/t.toml");
    const ToolRun again = runTool({"deform", "--config", "t.toml"}, (dir.path() / "again"));
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(filesIn((dir.path() / "again")), filesIn((dir.path() / "first")));
    for (const std::string& name : filesIn((dir.path() / "first")))
        EXPECT_EQ(hxtest::readFile(dir.path() / "again" / name), hxtest::readFile(dir.path() / "first" / name)) << name;

    // Options on the command line replace the file's; its --set come after the file's.
    const ToolRun more = runTool({"deform", "--config", "t.toml", "--frames", "1001-1001", "-o", "more.obj", "--set",
                                  "hxNoise1.oxNoiseAmp=0", "--save-config", "more.toml"},
                                 (dir.path() / "again"));
    ASSERT_EQ(more.exitCode, 0) << more.err;
    const std::string moreRecipe = hxtest::readFile(dir / "again/more.toml");
    EXPECT_NE(moreRecipe.find("output = 'more.obj'\n"), std::string::npos) << moreRecipe;
    EXPECT_NE(moreRecipe.find("frames = '1001-1001'\n"), std::string::npos) << moreRecipe;
    EXPECT_NE(moreRecipe.find("       'hxNoise1.ozNoiseAmp=0.4',\n       'hxNoise1.oxNoiseAmp=0']\n"),
              std::string::npos)
        << moreRecipe;

    const auto before = hxtest::snapshot(dir.path());
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> refused = {
        {{"--config", "missing.toml"}, 1, "hxnoise: cannot read the recipe missing.toml: No such file or directory"},
        {{"--config", "t.toml", "--save-config", "./t.toml"}, 2, "--save-config ./t.toml is the recipe t.toml"},
        {{"--config", "t.toml", "--key", "transform1.tz@1001=5"}, 2, "two keys on transform1.translateZ at frame 1001"},
    };
    for (const auto& [args, code, fragment] : refused) {
        SCOPED_TRACE(fragment);
        std::vector<std::string> all = {"deform"};
        all.insert(all.end(), args.begin(), args.end());
        const ToolRun bad = runTool(all, (dir.path() / "again"));
        EXPECT_EQ(bad.exitCode, code) << bad.err;
        EXPECT_NE(bad.err.find(fragment), std::string::npos) << bad.err;
        EXPECT_EQ(hxtest::lineCount(bad.err), 1u) << bad.err;
    }
    hxtest::writeFile(dir / "again/bad.toml", "[deform]\nframes = '1-3'\nkey = 'not a key'\n");
    const ToolRun bad = runTool({"deform", "--config", "bad.toml"}, (dir.path() / "again"));
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("--key 'not a key'"), std::string::npos) << bad.err;
    EXPECT_EQ(hxtest::snapshot(dir.path()).size(), before.size() + 1) << "only bad.toml is new";

    // A recipe saved on its own, to be run later with outputs given on the command line.
    const ToolRun alone = runTool({"deform", "../tet.obj", "--save-config", "alone.toml"}, (dir.path() / "again"));
    ASSERT_EQ(alone.exitCode, 0) << alone.err;
    EXPECT_EQ(hxtest::readFile(dir / "again/alone.toml"),
              "# hxNoise 3.0 recipe: hxnoise deform --config FILE runs it again\n[deform]\ninput = '../tet.obj'\n");
    EXPECT_NE(alone.err.find("hxnoise: nothing written but the recipe: name a mesh with -o"), std::string::npos)
        << alone.err;
}

TEST(HxnoiseSequence, EveryObjAndPngCarriesTheVersionAndTheRecipeOfItsFrame)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    const ToolRun run =
        runTool(deform({"tet.obj", "-o", "c.####.obj", "--render", "c.####.png", "--size", "32x24", "--frames",
                        "1001-1003", "--key", "transform1.tx@1001=0", "--key", "transform1.tx@1003=1"}),
                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> expected = {
        "hxNoise 3.0",
        "[deform]",
        "input = 'tet.obj'",
        "output = 'c.####.obj'",
        "render = 'c.####.png'",
        "view = 'persp'",
        "size = '32x24'",
        "hud = 'on'",
        "shading = 'auto'",
        "frames = '1002-1002'",
        "step = 1",
        "tangents = 'linear'",
        "set = ['hxNoise1.oxNoiseAmp=0.4',",
        "       'hxNoise1.oyNoiseAmp=0.4',",
        "       'hxNoise1.ozNoiseAmp=0.4']",
        "key = ['transform1.tx@1001=0',",
        "       'transform1.tx@1003=1']",
    };
    EXPECT_EQ(objComment(dir / "c.1002.obj"), expected);
    std::string joined;
    for (const std::string& line : expected) joined += (joined.empty() ? "" : "\n") + line;
    EXPECT_EQ(pngComment(hxtest::readFile(dir / "c.1002.png")), joined);

    // Without its first line, the comment is a recipe that makes that frame's files again.
    fs::create_directories((dir.path() / "redo"));
    fs::copy_file(dir / "tet.obj", dir / "redo/tet.obj");
    std::string recipe;
    for (std::size_t i = 1; i < expected.size(); ++i) recipe += expected[i] + "\n";
    hxtest::writeFile(dir / "redo/frame.toml", recipe);
    ASSERT_EQ(runTool({"deform", "--config", "frame.toml"}, (dir.path() / "redo")).exitCode, 0);
    EXPECT_EQ(hxtest::readFile(dir / "redo/c.1002.obj"), hxtest::readFile(dir / "c.1002.obj"));
    EXPECT_EQ(hxtest::readFile(dir / "redo/c.1002.png"), hxtest::readFile(dir / "c.1002.png"));
}
