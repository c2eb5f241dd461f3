// `hxnoise deform` with a plug-in whose deform, compute or draw fails or throws: the run
// fails with one line naming the node and plug (and the plug-in, for an exception), writes
// nothing and exits 1. The plug-in is a test build that registers "hxNoise" and
// "noiseLocator" and fails as its deformer's "failure" attribute says.
#include "ToolProcess.h"

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;
namespace fs = hxtest::fs;

namespace {

const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

std::vector<std::string> deformWith(std::vector<std::string> more)
{
    std::vector<std::string> args = {"deform",  "tri.obj", "-o",    "out.obj",  "--render",
                                     "out.png", "--size",  "64x48", "--plugin", HX_MISBEHAVING_PLUGIN};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

} // namespace

TEST(EvaluationFailure, AFailingOrThrowingPlugInFailsTheRunAndWritesNothing)
{
    const std::string deform = "hxnoise: cannot evaluate triShape: deform of hxNoise1.outputGeometry[0] ";
    const std::string draw = "hxnoise: cannot draw locator noiseLocator1: ";
    const std::string plugin = " in plug-in 'MisbehavingHxNoise'";
    const struct
    {
        int failure;
        std::string message;
    } cases[] = {
        {1, deform + "failed: (kFailure): Unexpected Internal Failure"},
        {2, deform + "threw an exception" + plugin + ": the deformer broke on purpose"},
        {3, deform + "ran out of memory" + plugin},
        {4, deform + "threw an exception" + plugin},
        {5, draw + "compute of hxNoise1.curve failed: (kFailure): Unexpected Internal Failure"},
        {6, draw + "compute of hxNoise1.curve threw an exception" + plugin + ": the curve broke on purpose"},
        {7, draw + "draw of locator 'noiseLocator1' threw an exception" + plugin +
                ": the locator's draw broke on purpose"},
    };
    TempDir dir;
    hxtest::writeFile(dir / "tri.obj", kTriangle);
    const auto before = hxtest::snapshot(dir.path());
    for (const auto& c : cases) {
        SCOPED_TRACE("failure " + std::to_string(c.failure));
        const ToolRun run = runTool(deformWith({"--set", "hxNoise1.failure=" + std::to_string(c.failure)}), dir.path());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message + "\n");
        EXPECT_TRUE(hxtest::snapshot(dir.path()) == before) << "nothing is written";
    }

    // The same plug-in, behaving, writes both files.
    const ToolRun fine = runTool(deformWith({}), dir.path());
    EXPECT_EQ(fine.exitCode, 0) << fine.err;
    EXPECT_TRUE(fs::exists(dir / "out.obj"));
    EXPECT_TRUE(fs::exists(dir / "out.png"));
}

TEST(EvaluationFailure, AFrameThatFailsEndsTheSequenceAfterTheFramesBefore)
{
    TempDir dir;
    hxtest::writeFile(dir / "tri.obj", kTriangle);
    // failure 0 on frame 1, 1 on frame 2 (deform returns a failure), 2 on frame 3.
    const ToolRun run = runTool(deformWith({"--frames", "3", "--key", "hxNoise1.failure=0:2"}), dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "hxnoise: frame 2: cannot evaluate triShape: deform of hxNoise1.outputGeometry[0] failed: (kFailure): "
              "Unexpected Internal Failure (frames 1..1 were written)\n");
    EXPECT_TRUE(fs::exists(dir / "out_0001.obj"));
    EXPECT_TRUE(fs::exists(dir / "out_0001.png"));
    EXPECT_FALSE(fs::exists(dir / "out_0002.obj"));
    EXPECT_FALSE(fs::exists(dir / "out_0002.png"));
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());
}
