// Every bad input to hxnoise, run as a process: one clear line on standard error naming
// what was wrong, exit code 2 for a mistake on the command line and 1 for a failure, and
// no output file appearing or changing. A value beyond an attribute's limits is the one
// exception: the host clamps it with a warning and the run goes on.
#include "ToolProcess.h"

#include <functional>

using hxtest::kTetrahedron;
using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;
namespace fs = hxtest::fs;

namespace {

struct BadInput
{
    const char* what;
    std::function<void(const TempDir&)> prepare; // files the row needs besides tet.obj
    std::vector<std::string> args;
    int exitCode;
    const char* message; // a fragment of standard error
    bool writesOutput = false;
};

void file(const TempDir& dir, const std::string& name, const std::string& text)
{
    hxtest::writeFile(dir / name, text);
}

std::vector<BadInput> badInputs()
{
    const std::vector<std::string> out = {"-o", "out.obj"};
    const auto deformTet = [&](std::vector<std::string> more) {
        std::vector<std::string> args = {"deform", "tet.obj", "-o", "out.obj"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const auto none = [](const TempDir&) {};
    return {
        // Files that are not a mesh.
        {"missing file", none, {"deform", "nowhere.obj", "-o", "out.obj"}, 1, "nowhere.obj: No such file or directory"},
        {"directory as file",
         [](const TempDir& d) { fs::create_directory(d / "folder.obj"); },
         {"deform", "folder.obj", "-o", "out.obj"},
         1,
         "folder.obj: is a directory"},
        {"empty file",
         [](const TempDir& d) { file(d, "empty.obj", ""); },
         {"deform", "empty.obj", "-o", "out.obj"},
         1,
         "empty.obj: empty file"},
        {"binary garbage",
         [](const TempDir& d) {
             file(d, "noise.obj",
                  std::string("\x7f"
                              "ELF\x02\x01\x01\0\0\xff\xfe",
                              12));
         },
         {"deform", "noise.obj", "-o", "out.obj"},
         1,
         "noise.obj:1: binary data"},
        {"comments only",
         [](const TempDir& d) { file(d, "notes.obj", "# nothing here\n"); },
         {"deform", "notes.obj", "-o", "out.obj"},
         1,
         "no vertices"},
        {"face naming a missing vertex",
         [](const TempDir& d) { file(d, "holes.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 7\n"); },
         {"deform", "holes.obj", "-o", "out.obj"},
         1,
         "holes.obj:4: face names vertex 7 but the file has only 3"},
        {"NaN coordinate",
         [](const TempDir& d) { file(d, "nan.obj", "v 0 0 0\nv 1 nan 0\nv 0 1 0\nf 1 2 3\n"); },
         {"deform", "nan.obj", "-o", "out.obj"},
         1,
         "nan.obj:2: vertex number 'nan' is not finite"},
        {"infinite coordinate",
         [](const TempDir& d) { file(d, "inf.obj", "v 0 0 -inf\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"); },
         {"deform", "inf.obj", "-o", "out.obj"},
         1,
         "inf.obj:1: vertex number '-inf' is not finite"},
        {"coordinate beyond a double",
         [](const TempDir& d) { file(d, "big.obj", "v 0 0 1e999\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"); },
         {"deform", "big.obj", "-o", "out.obj"},
         1,
         "out of the range of a double"},
        {"10^7 numbers in one garbage line",
         [](const TempDir& d) {
             std::string line = "v";
             line.reserve(20'000'002);
             for (int i = 0; i < 10'000'000; ++i) line += " 7";
             file(d, "flood.obj", line + "\n");
         },
         {"deform", "flood.obj", "-o", "out.obj"},
         1,
         "flood.obj:1: line longer than 1 MiB"},

        // Names and values on the command line.
        {"unknown node", none, deformTet({"--set", "hxNoise2.oxNoiseAmp=1"}), 2,
         "no node named 'hxNoise2'; did you mean hxNoise1?"},
        {"unknown attribute", none, deformTet({"--set", "hxNoise1.oxNoisAmp=1"}), 2,
         "unknown attribute 'oxNoisAmp' on hxNoise1 (hxNoise); did you mean oxNoiseAmp"},
        {"unknown short name", none, deformTet({"--set", "noiseLocator1.xlj=1"}), 2, "did you mean"},
        {"value not a number", none, deformTet({"--set", "hxNoise1.oxNoiseAmp=loud"}), 2,
         "value of hxNoise1.oxNoiseAmp 'loud' is not a number"},
        {"non-integer for an int attribute", none, deformTet({"--set", "hxNoise1.oxNoiseOctaves=2.5"}), 2,
         "'2.5' is not an integer"},
        {"integer beyond an int", none, deformTet({"--set", "hxNoise1.xns=4294967296"}), 2, "out of the integer range"},
        {"NaN value", none, deformTet({"--set", "transform1.tx=nan"}), 2, "'nan' is not a finite number"},
        {"infinite value", none, deformTet({"--set", "transform1.translate=0,inf,0"}), 2,
         "'inf' is not a finite number"},
        {"value no float holds", none, deformTet({"--set", "hxNoise1.xna=1e39"}), 2, "too large for a float attribute"},
        {"too few values for a compound", none, deformTet({"--set", "transform1.translate=1,2"}), 2,
         "transform1.translate takes 3 values (translateX, translateY, translateZ), got 2"},
        {"a plug driven by a connection", none, deformTet({"--set", "hxNoise1.oxLength=2"}), 2,
         "hxNoise1.oxLength is driven by noiseLocator1.oxCrvLenOut"},
        {"an output attribute", none, deformTet({"--set", "noiseLocator1.oxCrvLenOut=2"}), 2,
         "is an output and cannot be set"},
        {"a key on a compound", none, deformTet({"--frames", "2", "--key", "transform1.translate=0:1"}), 2,
         "a key moves one number"},
        {"a key with a non-integer end", none, deformTet({"--frames", "2", "--key", "hxNoise1.xno=1:2.5"}), 2,
         "--key hxNoise1.xno end '2.5' is not an integer"},
        {"frames without a key", none, deformTet({"--frames", "2"}), 2, "--frames requires --key"},
        {"unknown option", none, deformTet({"--colour", "red"}), 2, "--colour"},
        {"value beyond limits is clamped", none, deformTet({"--set", "hxNoise1.oxNoiseOctaves=12"}), 0,
         "warning: hxNoise1.oxNoiseOctaves: 12 is above the maximum 10; set to the maximum", true},

        // The plug-in.
        {"plug-in path that is not a plug-in", [](const TempDir& d) { file(d, "fake.so", "not a library\n"); },
         deformTet({"--plugin", "fake.so"}), 1, "cannot load plug-in 'fake'"},
        {"shared library that is not a plug-in", none, deformTet({"--plugin", HX_GLRECORD}), 1,
         "does not export MApiVersion"},
        {"missing plug-in", none, deformTet({"--plugin", "lib/hxNoise.so"}), 1, "no such file"},
        {"plug-in path that is a directory", [](const TempDir& d) { fs::create_directory(d / "lib"); },
         deformTet({"--plugin", "lib"}), 1, "--plugin lib is a directory; name the plug-in file, e.g. lib/hxNoise.so"},

        // Where the results go.
        {"output in a missing directory",
         none,
         {"deform", "tet.obj", "-o", "later/out.obj"},
         1,
         "cannot write later/out.obj: directory later does not exist"},
        {"picture in a missing directory", none, deformTet({"--render", "later/out.png"}), 1,
         "cannot write later/out.png"},
        {"output in a read-only place",
         none,
         {"deform", "tet.obj", "-o", "/proc/hxnoise_out.obj"},
         1,
         "cannot write /proc/hxnoise_out.obj"},
        {"output that is a directory",
         [](const TempDir& d) { fs::create_directory(d / "done.obj"); },
         {"deform", "tet.obj", "-o", "done.obj"},
         1,
         "cannot write done.obj"},
        {"output over the input", none, {"deform", "tet.obj", "-o", "./tet.obj"}, 2, "./tet.obj is the input mesh"},
        // The noise moves the points by hundreds in a deform space 1e308 long in y: the way
        // back overflows. (Points the noise leaves alone come back as read, however far.)
        {"points pushed past the range of a double",
         [](const TempDir& d) { file(d, "edge.obj", "v 1.5 0.7 0.2\nv 1.4 0.1 0.6\nv 0.25 1.3 0.55\nf 1 2 3\n"); },
         {"deform", "edge.obj", "-o", "out.obj", "--set", "transform1.sy=1e308", "--set", "hxNoise1.oyNoiseAmp=1000"},
         1,
         "the deformation gave points that are not finite numbers (the first is vertex 1)"},
        {"unknown node type for info",
         none,
         {"info", "hxnoise"},
         2,
         "unknown node type 'hxnoise'; did you mean hxNoise?"},
    };
}

} // namespace

TEST(HxnoiseBadInput, EachGetsOneClearLineTheRightExitCodeAndWritesNothing)
{
    for (const BadInput& row : badInputs()) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        hxtest::writeFile(dir / "tet.obj", kTetrahedron);
        // The result of an earlier run, which a failed run must leave as it was.
        hxtest::writeFile(dir / "out.obj", "# an earlier result\n");
        row.prepare(dir);
        const auto before = hxtest::snapshot(dir.path());

        const ToolRun run = runTool(row.args, dir.path());
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << "standard error:\n" << run.err;
        EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;

        auto after = hxtest::snapshot(dir.path());
        if (row.writesOutput) {
            EXPECT_NE(after["out.obj"], before.at("out.obj"));
            after["out.obj"] = before.at("out.obj");
        }
        EXPECT_EQ(after, before) << "files appeared or changed";
    }
}
