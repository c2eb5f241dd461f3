// What `hxnoise deform` says about each --set and --key: the value the attribute holds
// afterwards (not the one typed, when the host changed it), and one warning for a plug the
// deformer takes but never uses.
#include "ToolProcess.h"

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

} // namespace

TEST(SettingReport, EachSettingIsReportedAsStored)
{
    TempDir dir;
    hxtest::writeFile(dir / "tri.obj", kTriangle);
    const ToolRun run = runTool({"deform", "tri.obj", "--set", "hxNoise1.oxNoiseOctaves=11", "--set", "hxNoise1.xns=-3",
                                 "--set", "hxNoise1.oxNoiseAmp=1e-50", "--set", "hxNoise1.yna=0.1", "--set",
                                 "transform1.rotate=45,255,-30", "--set", "noiseLocator1.xci=1000"},
                                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* line : {
             "set hxNoise1.oxNoiseOctaves = 10\n",   // clamped to the maximum, with a warning
             "set hxNoise1.xns = 0\n",               // clamped to the minimum
             "set hxNoise1.oxNoiseAmp = 0\n",        // too small for a float
             "set hxNoise1.yna = 0.1\n",             // as typed: the float nearest 0.1 is what 0.1 means
             "set transform1.rotate = 45,255,-30\n", // degrees, as typed, though held in radians
             "set noiseLocator1.xci = 500\n",
         })
        EXPECT_EQ(count(run.out, line), 1u) << line << "in:\n" << run.out;
    EXPECT_EQ(count(run.err, "hxnoise: warning: hxNoise1.oxNoiseOctaves: 11 is above the maximum 10"), 1u) << run.err;
}

TEST(SettingReport, APlugTheDeformerNeverUsesIsWarnedOfOnce)
{
    TempDir dir;
    hxtest::writeFile(dir / "tri.obj", kTriangle);
    const ToolRun run = runTool({"deform", "tri.obj", "--set", "hxNoise1.envelope=0.5", "--set", "hxNoise1.en=0.2",
                                 "--set", "hxNoise1.weightList[0].weights[0]=0.5", "--set", "hxNoise1.nodeState=1",
                                 "--set", "transform1.tx=1", "--frames", "2", "--key", "transform1.ty=0:1"},
                                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.err,
                    "hxnoise: warning: hxNoise1.envelope has no effect: hxNoise applies its noise in full "
                    "whatever the envelope; fade it with the amplitudes\n"),
              1u)
        << run.err;
    EXPECT_EQ(count(run.err,
                    "hxnoise: warning: hxNoise1.weightList[0].weights[0] has no effect: hxNoise does not use "
                    "painted weights\n"),
              1u)
        << run.err;
    EXPECT_EQ(
        count(run.err, "hxnoise: warning: hxNoise1.nodeState has no effect: hxNoise does not use the node state\n"), 1u)
        << run.err;
    EXPECT_EQ(count(run.err, "has no effect"), 3u) << "transform1.tx moves the deform space: " << run.err;

    // Keyed rather than set (a keyed plug cannot be set too): once for the whole sequence.
    const ToolRun keyed = runTool({"deform", "tri.obj", "--frames", "3", "--key", "hxNoise1.envelope=0:1"}, dir.path());
    ASSERT_EQ(keyed.exitCode, 0) << keyed.err;
    EXPECT_EQ(count(keyed.err, "hxNoise1.envelope has no effect"), 1u) << keyed.err;
}
