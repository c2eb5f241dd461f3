// `hxnoise deform` run as a process on small meshes: the points it writes are the noise
// core's to the bit, the rest of the mesh passes through, frames interpolate their keys.
#include "ToolProcess.h"

#include "ObjMesh.h"
#include "ReferenceDeformation.h"

#include <GlRecorder.h>
#include <engine/Host.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <charconv>
#include <cmath>
#include <cstring>

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

// Where the deformer puts `points` (x, y, z each): through the inverse of the deform space
// into the field, displaced, and back. `deformSpace` is row by row, as the host keeps it.
std::vector<double> expectedPoints(const std::vector<double>& points, AxisNoise x, AxisNoise y, AxisNoise z,
                                   const double deformSpace[4][4])
{
    return coreDeformation(points, FieldParameters{x, y, z}, MMatrix(deformSpace));
}

const double kIdentity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

void expectSameBits(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (bitsOf(actual[i]) != bitsOf(expected[i]) && differing++ < 5)
            ADD_FAILURE() << "coordinate " << i << ": " << actual[i] << " written, " << expected[i] << " expected";
    EXPECT_EQ(differing, 0u);
}

std::string shortest(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// A 5 x 5 patch of quads with coordinates that no short decimal holds, texture coordinates,
// (stale) normals, a group and a material: what a host's exporter writes.
std::string patchObj(std::vector<double>& points)
{
    std::string text = "# a lumpy patch\nmtllib patch.mtl\no patch\n";
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            const double p[3] = {i / 3.0 - 0.7, std::sin(i * 1.3 + j) / 7.0, j * 0.45 + 1e-7 * i};
            points.insert(points.end(), p, p + 3);
            text += "v " + shortest(p[0]) + " " + shortest(p[1]) + " " + shortest(p[2]) + "\n";
        }
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) text += "vt " + shortest(i / 4.0) + " " + shortest(j / 4.0) + "\n";
    text += "vn 0 0 1\ng skin\nusemtl clay\n";
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const int a = j * 5 + i + 1, b = a + 1, c = a + 6, d = a + 5;
            text += "f " + std::to_string(a) + "/" + std::to_string(a) + "/1 " + std::to_string(b) + "/" +
                    std::to_string(b) + "/1 " + std::to_string(c) + "/" + std::to_string(c) + "/1 " +
                    std::to_string(d) + "/" + std::to_string(d) + "/1\n";
        }
    return text;
}

// The noise settings the tests use, on every axis, and the same as --set arguments.
const AxisNoise kX{2, 1.7f, 0.35f, 3}, kY{5, 0.45f, -0.6f, 11}, kZ{7, 3.0f, 1.25f, 0};
const std::vector<std::string> kNoiseSettings = {"--set", "hxNoise1.oxNoiseOctaves=2",
                                                 "--set", "hxNoise1.xnf=1.7",
                                                 "--set", "hxNoise1.oxNoiseAmp=0.35",
                                                 "--set", "hxNoise1.xns=3",
                                                 "--set", "hxNoise1.yno=5",
                                                 "--set", "hxNoise1.oyNoiseFreq=0.45",
                                                 "--set", "hxNoise1.yna=-0.6",
                                                 "--set", "hxNoise1.yns=11",
                                                 "--set", "hxNoise1.zno=7",
                                                 "--set", "hxNoise1.znf=3",
                                                 "--set", "hxNoise1.zna=1.25",
                                                 "--set", "hxNoise1.zns=0"};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(HxnoiseDeform, WritesTheNoiseCoresPointsBitForBitWithAMovedAndScaledLocator)
{
    TempDir dir;
    std::vector<double> points;
    hxtest::writeFile(dir / "patch.obj", patchObj(points));

    const ToolRun run = runTool(concat({"deform", "patch.obj", "-o", "out.obj", "--set",
                                        "transform1.translate=0.3,-1.2,2.5", "--set", "transform1.scale=2,0.5,1.5"},
                                       kNoiseSettings),
                                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");

    const double space[4][4] = {{2, 0, 0, 0}, {0, 0.5, 0, 0}, {0, 0, 1.5, 0}, {0.3, -1.2, 2.5, 1}};
    const hx::ObjMesh out = hx::ObjMesh::read(dir / "out.obj");
    expectSameBits(out.positions(), expectedPoints(points, kX, kY, kZ, space));

    // Everything but the points and the normals passes through unchanged.
    const hx::ObjMesh in = hx::ObjMesh::read(dir / "patch.obj");
    EXPECT_EQ(out.faceSizes(), in.faceSizes());
    EXPECT_EQ(out.faceVertexIndices(), in.faceVertexIndices());
    EXPECT_EQ(out.texCoords(), in.texCoords());
    EXPECT_EQ(out.materialLibraries(), in.materialLibraries());
    ASSERT_EQ(out.statements().size(), in.statements().size());
    for (std::size_t i = 0; i < in.statements().size(); ++i)
        EXPECT_EQ(out.statements()[i].text, in.statements()[i].text);
    // The stale normal is recomputed in its place from the moved points of the faces that
    // use it (here all of them), and the corners keep using it.
    ASSERT_EQ(out.normals().size(), in.normals().size());
    EXPECT_EQ(out.faceNormalIndices(), in.faceNormalIndices());
    EXPECT_NE(out.normals()[2], 1.0);
}

TEST(HxnoiseDeform, MatchesTheEngineForARotatedLocatorAndTheDefaultNoise)
{
    TempDir dir;
    std::vector<double> points;
    hxtest::writeFile(dir / "patch.obj", patchObj(points));
    const std::vector<std::pair<std::string, std::vector<double>>> settings = {{"transform1.rotate", {30, -45, 100}},
                                                                               {"transform1.translate", {1, 0, -2}},
                                                                               {"hxNoise1.oxNoiseAmp", {0.8}},
                                                                               {"hxNoise1.oyNoiseAmp", {0.8}},
                                                                               {"hxNoise1.ozNoiseAmp", {0.8}}};
    std::vector<std::string> args = {"deform", "patch.obj", "-o", "out.obj"};
    for (const auto& [plug, values] : settings) {
        std::string text = plug + "=";
        for (std::size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + shortest(values[i]);
        args.insert(args.end(), {"--set", text});
    }
    const ToolRun run = runTool(args, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The same scene built in this process through the host's own interface; the GL
    // recorder stands in for the GL entry points the plug-in's locator draws with.
    hx::gl::clearRecordedCalls();
    hx::Host& host = hx::Host::instance();
    host.reset();
    ASSERT_TRUE(host.loadPlugin(HX_PLUGIN)) << host.lastError();
    const hx::ObjMesh in = hx::ObjMesh::read(dir / "patch.obj");
    ASSERT_TRUE(host.createNode("transform", "patch"));
    ASSERT_TRUE(host.createNode("mesh", "patchShape", "patch"));
    ASSERT_TRUE(host.setMesh("patchShape", in.positions(),
                             std::vector<int>(in.faceSizes().begin(), in.faceSizes().end()), in.faceVertexIndices()));
    ASSERT_TRUE(host.deformer("hxNoise", "patchShape")) << host.lastError();
    for (const auto& [plug, values] : settings) ASSERT_TRUE(host.setAttr(plug, values)) << host.lastError();
    std::vector<double> engine;
    ASSERT_TRUE(host.meshPoints("patchShape", engine));
    host.reset();

    expectSameBits(hx::ObjMesh::read(dir / "out.obj").positions(), engine);
    EXPECT_NE(engine, points);
}

TEST(HxnoiseDeform, FramesMoveEachKeyLinearlyAndRoundIntegers)
{
    TempDir dir;
    std::vector<double> points;
    hxtest::writeFile(dir / "patch.obj", patchObj(points));
    const ToolRun run = runTool({"deform", "patch.obj", "-o", "anim.obj", "--render", "anim.png", "--size", "64x48",
                                 "--frames", "3", "--key", "hxNoise1.oyNoiseAmp=0:1", "--key", "hxNoise1.yno=1:4"},
                                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("anim_0001.obj .. anim_0003.obj"), std::string::npos) << run.out;

    // Octaves 1, 2.5 rounded to 3, then 4; amplitude 0, 0.5, 1.
    const AxisNoise y[3] = {{1, 1.0f, 0.0f, 1}, {3, 1.0f, 0.5f, 1}, {4, 1.0f, 1.0f, 1}};
    for (int frame = 1; frame <= 3; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const std::string name = "anim_000" + std::to_string(frame);
        ASSERT_TRUE(hxtest::fs::exists(dir / (name + ".png")));
        const std::vector<double> written = hx::ObjMesh::read(dir / (name + ".obj")).positions();
        expectSameBits(written,
                       expectedPoints(points, {4, 1.0f, 0.0f, 0}, y[frame - 1], {4, 1.0f, 0.0f, 2}, kIdentity));
        if (frame == 1) expectSameBits(written, points); // no amplitude, no movement
    }
    EXPECT_FALSE(hxtest::fs::exists(dir / "anim.obj"));
    EXPECT_FALSE(hxtest::fs::exists(dir / "anim_0004.obj"));
}

TEST(HxnoiseDeform, NamesTheMeshAfterItsObjectOrFileAndPrintsTheNodesItMade)
{
    TempDir dir;
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    hxtest::writeFile(dir / "3d scan.v2.obj", triangle);
    const ToolRun fromStem = runTool({"deform", "3d scan.v2.obj"}, dir.path());
    ASSERT_EQ(fromStem.exitCode, 0) << fromStem.err;
    for (const char* line :
         {"created _3d_scan_v2 (transform)\n",
          "created _3d_scan_v2Shape (mesh, under _3d_scan_v2): 3 vertices, 1 faces\n", "created hxNoise1 (hxNoise)\n",
          "created transform1 (transform)\n", "created noiseLocator1 (noiseLocator, under transform1)\n"})
        EXPECT_NE(fromStem.out.find(line), std::string::npos) << line << "\nin:\n" << fromStem.out;
    EXPECT_NE(fromStem.err.find("nothing written"), std::string::npos);

    // An object named like the locator's transform must not take its name: transform1 is
    // always the locator's, so --set transform1.translate moves the locator.
    hxtest::writeFile(dir / "clash.obj", "o transform1\n" + triangle);
    const ToolRun clash = runTool({"deform", "clash.obj", "--set", "transform1.tx=3"}, dir.path());
    ASSERT_EQ(clash.exitCode, 0) << clash.err;
    EXPECT_NE(clash.out.find("created transform1_mesh (transform)\n"), std::string::npos) << clash.out;
    EXPECT_NE(clash.out.find("created noiseLocator1 (noiseLocator, under transform1)\n"), std::string::npos);
}
