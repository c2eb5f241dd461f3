// `hxnoise deform` as a process with the files studios use: meshes in and out in every format
// by extension, point caches read back by a reader of their own here, standard input and
// output through a pipe, material libraries that still resolve, and where the time goes.
#include "ToolProcess.h"

#include "ObjMesh.h"

#include <assimp/scene.h>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <regex>

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;
namespace fs = hxtest::fs;

namespace {

// A tetrahedron whose coordinates every format holds exactly (floats included).
const char* const kTet =
    "o tet\nv 0 0 0\nv 1 0 0.5\nv 0 1 0.25\nv 0.5 0.5 1\nvt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
    "f 1/1 3/3 2/2\nf 1/1 2/2 4/4\nf 2/2 3/3 4/4\nf 3/3 1/1 4/4\n";

const std::vector<std::string> kNoise = {"--set", "hxNoise1.oxNoiseAmp=0.4", "--set", "hxNoise1.oyNoiseAmp=0.4",
                                         "--set", "hxNoise1.ozNoiseAmp=0.4"};

std::vector<std::string> deform(std::vector<std::string> args, const std::vector<std::string>& more = {})
{
    args.insert(args.begin(), "deform");
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::vector<double> pointsOf(const std::string& objPath)
{
    return hx::ObjMesh::read(objPath).positions();
}

// The OBJ text without its comment lines: the mesh itself.
std::string withoutComments(const std::string& text)
{
    std::string kept;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.empty() || line[0] != '#') kept += line + "\n";
    return kept;
}

// Each value of `a` equals `b`'s once rounded to a float, as formats that store floats keep them.
void expectSameAsFloats(const std::vector<double>& a, const std::vector<double>& b, const std::string& what)
{
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(static_cast<float>(a[i]), static_cast<float>(b[i])) << what << " value " << i;
}

// A point cache as its readers in animation packages see it, read byte by byte here rather
// than through the tool's writer: the header's counts and times, then each frame's points.
struct PointCache
{
    std::int32_t points = 0;
    std::int32_t frames = 0;
    float startFrame = 0, sampleRate = 0; // PC2
    std::vector<float> times;             // MDD, in seconds
    std::vector<std::vector<float>> framePoints;
};

std::uint32_t littleEndian(const std::string& b, std::size_t at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint32_t bigEndian(const std::string& b, std::size_t at)
{
    return std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint32_t(std::uint8_t(b[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 8 | std::uint32_t(std::uint8_t(b[at + 3]));
}

float asFloat(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

PointCache readPc2(const std::string& b)
{
    PointCache cache;
    EXPECT_EQ(b.substr(0, 12), std::string("POINTCACHE2\0", 12));
    EXPECT_EQ(littleEndian(b, 12), 1u); // version
    cache.points = static_cast<std::int32_t>(littleEndian(b, 16));
    cache.startFrame = asFloat(littleEndian(b, 20));
    cache.sampleRate = asFloat(littleEndian(b, 24));
    cache.frames = static_cast<std::int32_t>(littleEndian(b, 28));
    EXPECT_EQ(b.size(), 32 + std::size_t(cache.frames) * cache.points * 12);
    for (std::size_t at = 32, f = 0; f < std::size_t(cache.frames) && at < b.size(); ++f) {
        cache.framePoints.emplace_back();
        for (int i = 0; i < cache.points * 3; ++i, at += 4)
            cache.framePoints.back().push_back(asFloat(littleEndian(b, at)));
    }
    return cache;
}

PointCache readMdd(const std::string& b)
{
    PointCache cache;
    cache.frames = static_cast<std::int32_t>(bigEndian(b, 0));
    cache.points = static_cast<std::int32_t>(bigEndian(b, 4));
    std::size_t at = 8;
    for (int f = 0; f < cache.frames; ++f, at += 4) cache.times.push_back(asFloat(bigEndian(b, at)));
    EXPECT_EQ(b.size(), at + std::size_t(cache.frames) * cache.points * 12);
    for (int f = 0; f < cache.frames && at < b.size(); ++f) {
        cache.framePoints.emplace_back();
        for (int i = 0; i < cache.points * 3; ++i, at += 4)
            cache.framePoints.back().push_back(asFloat(bigEndian(b, at)));
    }
    return cache;
}

std::vector<float> asFloats(const std::vector<double>& values)
{
    return {values.begin(), values.end()};
}

// Runs a shell command line in `dir`; its exit status.
int shell(const std::string& command, const fs::path& dir)
{
    const std::string line = "cd '" + dir.string() + "' && bash -o pipefail -c '" + command + "'";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(HxnoiseMeshFiles, EveryWritableFormatGoesOutAndComesBackThroughTheTool)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    const ToolRun obj = runTool(deform({"tet.obj", "-o", "noisy.obj"}, kNoise), dir.path());
    ASSERT_EQ(obj.exitCode, 0) << obj.err;
    const std::vector<double> deformed = pointsOf(dir / "noisy.obj");

    for (const std::string format : {"ply", "stl", "gltf", "glb"}) {
        SCOPED_TRACE(format);
        // Out: the same deformation, in the format the name asks for.
        const ToolRun out = runTool(deform({"tet.obj", "-o", "noisy." + format}, kNoise), dir.path());
        ASSERT_EQ(out.exitCode, 0) << out.err;
        EXPECT_NE(out.out.find("wrote noisy." + format + "\n"), std::string::npos) << out.out;
        // In: that file read back and written as OBJ, with no noise, holds the deformed points.
        const ToolRun back = runTool({"deform", "noisy." + format, "-o", format + "_back.obj"}, dir.path());
        ASSERT_EQ(back.exitCode, 0) << back.err;
        const hx::Mesh mesh = hx::ObjMesh::read(dir / (format + "_back.obj"));
        EXPECT_EQ(mesh.faceCount(), 4u);
        if (format == "stl") {
            // STL keeps separate triangles, whose corners the reader joins again where they
            // meet, in the order the triangles use them.
            std::vector<float> got = asFloats(mesh.positions()), want = asFloats(deformed);
            std::sort(got.begin(), got.end());
            std::sort(want.begin(), want.end());
            EXPECT_EQ(got, want);
        } else {
            // Vertex order and texture coordinates survive the formats that hold them.
            expectSameAsFloats(mesh.positions(), deformed, format);
            EXPECT_EQ(mesh.texCoordCount(), 4u);
        }
    }
}

TEST(HxnoiseMeshFiles, FbxAndColladaAreReadAndTheReadOnlyOrUnknownFormatsRefused)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    ASSERT_EQ(runTool({"deform", "tet.obj", "-o", "tet.glb"}, dir.path()).exitCode, 0);
    // FBX and Collada files made by another program's exporter (Assimp's, here).
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(dir / "tet.glb", 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    Assimp::Exporter exporter;
    ASSERT_EQ(exporter.Export(scene, "collada", dir / "tet.dae"), AI_SUCCESS) << exporter.GetErrorString();
    ASSERT_EQ(exporter.Export(scene, "fbxa", dir / "tet.fbx"), AI_SUCCESS) << exporter.GetErrorString();

    for (const std::string name : {"tet.dae", "tet.fbx"}) {
        SCOPED_TRACE(name);
        const ToolRun run = runTool(deform({name, "-o", name + ".obj"}, kNoise), dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const hx::Mesh mesh = hx::ObjMesh::read(dir / (name + ".obj"));
        EXPECT_EQ(mesh.faceCount(), 4u);
        EXPECT_GE(mesh.vertexCount(), 4u);
    }

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"tet.obj", "-o", "out.fbx"}, "hxnoise: out.fbx: FBX"},
        {{"tet.obj", "-o", "out.dae"}, "hxnoise: out.dae: Collada"},
        {{"tet.obj", "-o", "out.3ds"}, "hxnoise: out.3ds: unknown mesh format '.3ds'"},
        {{"tet.3ds"}, "hxnoise: tet.3ds: unknown mesh format '.3ds'"},
        {{"tet.obj", "--render", "view.jpg"}, "hxnoise: view.jpg: pictures are written as PNG"},
        {{"tet.obj", "--cache", "points.abc", "--frames", "2", "--key", "transform1.tx=0:1"},
         "hxnoise: points.abc: point caches are written as .pc2 or .mdd"},
    };
    for (const auto& [args, start] : refused) {
        SCOPED_TRACE(args.back());
        const auto before = hxtest::snapshot(dir.path());
        const ToolRun run = runTool(deform(args), dir.path());
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.err.rfind(start, 0), 0u) << run.err;
        EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;
        EXPECT_EQ(hxtest::snapshot(dir.path()), before) << "nothing written";
    }
}

TEST(HxnoiseMeshFiles, WhatAFormatCannotHoldIsNamedOnceAndMaterialLibrariesStillResolve)
{
    TempDir dir;
    const std::string cube = hxtest::readFile(std::string(HX_TEST_DATA) + "/cube.obj");
    fs::create_directories(dir / "assets");
    fs::create_directories(dir / "out/deep");
    hxtest::writeFile(dir / "assets/cube.obj", cube);
    hxtest::writeFile(dir / "assets/cube.mtl", "newmtl grey\nKd 0.5 0.5 0.5\n");

    // STL: one line a loss, said once over a sequence of three frames, naming the output.
    const ToolRun stl = runTool(
        deform({"assets/cube.obj", "-o", "out/cube.####.stl", "--frames", "3", "--key", "hxNoise1.oxNoiseAmp=0:1"}),
        dir.path());
    ASSERT_EQ(stl.exitCode, 0) << stl.err;
    for (const char* lost : {"texture coordinates are not kept", "groups, materials and smoothing groups are not kept",
                             "material libraries (mtllib) are not kept", "faces with more than 3 corners are split"})
        EXPECT_EQ(hxtest::count(stl.err, lost), 1u) << lost << " in:\n" << stl.err;
    EXPECT_EQ(hxtest::count(stl.err, "hxnoise: warning: out/cube.####.stl: STL: "), hxtest::lineCount(stl.err))
        << stl.err;

    // OBJ into another folder: the library is written relative to it, and the run says so.
    const ToolRun obj = runTool(deform({"assets/cube.obj", "-o", "out/deep/cube.obj"}), dir.path());
    ASSERT_EQ(obj.exitCode, 0) << obj.err;
    EXPECT_NE(obj.out.find("out/deep/cube.obj: mtllib cube.mtl is written as ../../assets/cube.mtl"), std::string::npos)
        << obj.out;
    EXPECT_NE(hxtest::readFile(dir / "out/deep/cube.obj").find("\nmtllib ../../assets/cube.mtl\n"), std::string::npos);

    // A library that is not there cannot be made to resolve: a warning, and the name as it was.
    fs::remove(dir / "assets/cube.mtl");
    const ToolRun missing = runTool(deform({"assets/cube.obj", "-o", "out/cube.obj"}), dir.path());
    ASSERT_EQ(missing.exitCode, 0) << missing.err;
    EXPECT_NE(missing.err.find("hxnoise: warning: out/cube.obj: mtllib cube.mtl is not found beside"),
              std::string::npos)
        << missing.err;
}

TEST(HxnoiseMeshFiles, StandardInputAndOutputCarryObjThroughAPipe)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    ASSERT_EQ(runTool(deform({"tet.obj", "-o", "file.obj"}, kNoise), dir.path()).exitCode, 0);

    std::string noise;
    for (const std::string& argument : kNoise) noise += " " + argument;
    ASSERT_EQ(
        shell("cat tet.obj | " + hxtest::toolPath() + " deform - -o -" + noise + " 2>messages.txt | cat >piped.obj",
              dir.path()),
        0)
        << hxtest::readFile(dir / "messages.txt");
    // The same mesh as through files; the run's own messages went to standard error.
    EXPECT_EQ(withoutComments(hxtest::readFile(dir / "piped.obj")),
              withoutComments(hxtest::readFile(dir / "file.obj")));
    const std::string messages = hxtest::readFile(dir / "messages.txt");
    EXPECT_NE(messages.find("read standard input\n"), std::string::npos) << messages;
    EXPECT_NE(messages.find("created tet (transform)\n"), std::string::npos) << messages;

    // A sequence writes a file a frame, which one standard output cannot take apart.
    const ToolRun frames =
        runTool(deform({"tet.obj", "-o", "-", "--frames", "2", "--key", "transform1.tx=0:1"}), dir.path());
    EXPECT_EQ(frames.exitCode, 2);
    EXPECT_NE(frames.err.find("-o - writes one mesh to standard output"), std::string::npos) << frames.err;
    // A reader that went away is a failure, not a success.
    hxtest::ToolOptions closed;
    closed.closedOutput = true;
    const ToolRun gone = hxtest::runToolWith(deform({"tet.obj", "-o", "-"}), dir.path(), closed);
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("standard output"), std::string::npos) << gone.err;
}

TEST(HxnoiseMeshFiles, PointCachesHoldEveryFrameWithItsStartAndTheRestShapeBeside)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    // Frames 1001, 1003 and 1005, the deform space moving along x.
    std::vector<std::string> shot = {"--frames", "1001-1005",           "--step", "2", "--key", "transform1.tx@1001=0",
                                     "--key",    "transform1.tx@1005=2"};
    shot.insert(shot.end(), kNoise.begin(), kNoise.end());
    const ToolRun frames = runTool(deform({"tet.obj", "-o", "f.####.obj"}, shot), dir.path());
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    std::vector<std::vector<float>> expected;
    for (const char* name : {"f.1001.obj", "f.1003.obj", "f.1005.obj"})
        expected.push_back(asFloats(pointsOf(dir / name)));
    ASSERT_NE(expected[0], expected[2]) << "the frames differ";

    for (const std::string format : {"pc2", "mdd"}) {
        SCOPED_TRACE(format);
        const std::string cache = "tet." + format, rest = "rest_" + format + ".obj";
        const ToolRun run = runTool(deform({"tet.obj", "-o", rest, "--cache", cache}, shot), dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("wrote " + cache + " (3 frames of 4 points from frame 1001)\n"), std::string::npos)
            << run.out;
        // One mesh, written once: the undeformed input, which the cache's points replace.
        EXPECT_EQ(pointsOf(dir / rest), pointsOf(dir / "tet.obj"));
        EXPECT_FALSE(fs::exists(dir / ("rest_" + format + "_1001.obj")));

        const std::string bytes = hxtest::readFile(dir / cache);
        const PointCache read = format == "pc2" ? readPc2(bytes) : readMdd(bytes);
        EXPECT_EQ(read.points, 4);
        EXPECT_EQ(read.frames, 3);
        EXPECT_EQ(read.framePoints, expected);
        if (format == "pc2") {
            EXPECT_EQ(read.startFrame, 1001.0f);
            EXPECT_EQ(read.sampleRate, 2.0f); // frames from one sample to the next
        } else {
            // Each frame's time in seconds at 24 frames a second.
            EXPECT_EQ(read.times, (std::vector<float>{float(1001 / 24.0), float(1003 / 24.0), float(1005 / 24.0)}));
        }
    }

    // A cache without -o stands alone; beside an -o with #, the frames' meshes are written too.
    EXPECT_EQ(runTool(deform({"tet.obj", "--cache", "alone.pc2"}, shot), dir.path()).exitCode, 0);
    EXPECT_EQ(readPc2(hxtest::readFile(dir / "alone.pc2")).framePoints, expected);
    const ToolRun both = runTool(deform({"tet.obj", "-o", "both.####.obj", "--cache", "both.pc2"}, shot), dir.path());
    ASSERT_EQ(both.exitCode, 0) << both.err;
    EXPECT_EQ(readPc2(hxtest::readFile(dir / "both.pc2")).framePoints, expected);
    EXPECT_EQ(withoutComments(hxtest::readFile(dir / "both.1003.obj")),
              withoutComments(hxtest::readFile(dir / "f.1003.obj")));
}

TEST(HxnoiseMeshFiles, AFailedOrInterruptedCacheRunLeavesNoCache)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    // The third frame's evaluation fails, after two frames went into the cache: a plug-in
    // whose deformer fails when its "failure" attribute says so.
    const ToolRun failed =
        runTool(deform({"tet.obj", "-o", "rest.obj", "--cache", "c.pc2", "--frames", "3", "--key",
                        "hxNoise1.failure@2=0", "--key", "hxNoise1.failure@3=1", "--plugin", HX_MISBEHAVING_PLUGIN}),
                dir.path());
    EXPECT_EQ(failed.exitCode, 1) << failed.err;
    EXPECT_NE(failed.err.find("frame 3: "), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("(frames 1..2 were written; the cache was not)"), std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(dir / "c.pc2"));
    EXPECT_FALSE(fs::exists(dir / "rest.obj"));
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());

    // Interrupted half way through a long run: no cache, no temporary.
    hxtest::ToolOptions options;
    options.whileRunning = [&](pid_t pid) {
        if (!fs::exists(dir / ".hxnoise_stderr") ||
            hxtest::readFile(dir / ".hxnoise_stdout").find("created") == std::string::npos)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(pid, SIGINT);
        return true;
    };
    const ToolRun interrupted = hxtest::runToolWith(
        deform({"tet.obj", "--cache", "long.mdd", "--frames", "100000", "--key", "transform1.tx=0:1"}), dir.path(),
        options);
    EXPECT_EQ(interrupted.signal, SIGINT) << interrupted.err;
    EXPECT_NE(interrupted.err.find(" were evaluated; the cache long.mdd is written only with the last frame"),
              std::string::npos)
        << interrupted.err;
    EXPECT_FALSE(fs::exists(dir / "long.mdd"));
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty()) << hxtest::hiddenFiles(dir.path()).front();
}

TEST(HxnoiseMeshFiles, TimingsSayWhereTheTimeWentPhaseByPhase)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTet);
    const ToolRun run = runTool(
        deform({"tet.obj", "-o", "out.obj", "--render", "out.png", "--size", "64x48", "--timings"}), dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Wall time, then the processor time spent meanwhile.
    std::string pattern;
    for (const char* phase : {"read", "set-up", "evaluate", "render", "write"})
        pattern +=
            std::string("hxnoise: time ") + phase + " +[0-9]+\\.[0-9]{3} s \\(processor [0-9]+\\.[0-9]{3} s\\)\n";
    const std::regex phases(pattern);
    EXPECT_TRUE(std::regex_match(run.err, phases)) << run.err;
    EXPECT_EQ(run.out.find("time"), std::string::npos) << "timings go to standard error only";
}
