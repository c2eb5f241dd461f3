// `hxnoise deform` run as a process: a mesh the noise does not move is written back with
// the very coordinates it was read with, however far the locator is and however it is
// turned and scaled. The way into the deform space and back would round them (with the
// locator 1e16 away, every x of the blob would come back as 0 or 2).
#include "ToolProcess.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>

using hxtest::kTetrahedron;
using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

// The x, y, z of every `v` line of an OBJ text, in order.
std::vector<double> vertexCoordinates(const std::string& obj)
{
    std::vector<double> coordinates;
    std::istringstream lines(obj);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("v ", 0) != 0) continue;
        const char* cursor = line.c_str() + 2;
        for (int c = 0; c < 3; ++c) {
            char* end = nullptr;
            coordinates.push_back(std::strtod(cursor, &end));
            cursor = end;
        }
    }
    return coordinates;
}

std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The index of the first coordinate whose bits differ, or -1.
long firstDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size()) return 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (bitsOf(a[i]) != bitsOf(b[i])) return long(i);
    return -1;
}

struct Case
{
    const char* what;
    std::string mesh; // the OBJ text
    std::vector<std::string> settings;
};

std::vector<Case> cases()
{
    const std::string blob = hxtest::readFile(HX_EXAMPLES "/blob.obj");
    const std::vector<std::string> allAxes = {"--set", "hxNoise1.oxNoiseAmp=0.6", "--set", "hxNoise1.oyNoiseAmp=0.6",
                                              "--set", "hxNoise1.ozNoiseAmp=0.6"};
    std::vector<std::string> farWithNoise = {"--set", "transform1.tx=1e16"};
    farWithNoise.insert(farWithNoise.end(), allAxes.begin(), allAxes.end());
    return {
        // Amplitudes at 0 (the default) are the documented way to switch the deformer off.
        {"switched off, locator far away", blob, {"--set", "transform1.tx=1e16"}},
        {"switched off, locator far away, turned and scaled",
         blob,
         {"--set", "transform1.translate=-3e15,1e16,2.5e14", "--set", "transform1.rotate=30,-45,100", "--set",
          "transform1.scale=2,0.5,1.25"}},
        {"switched off, a vertex and the locator at the edge of a double's range",
         "v 1.5e308 0.7 0.2\nv 1.4 0.1 0.6\nv 0.25 1.3 0.55\nf 1 2 3\n",
         {"--set", "transform1.tx=-1.5e308"}},
        // Beyond the noise lattice's reach no octave adds anything, whatever the amplitude.
        {"noise on every axis, locator far away", kTetrahedron, farWithNoise},
    };
}

} // namespace

TEST(UnmovedPoints, AMeshTheNoiseDoesNotMoveIsWrittenBackExactly)
{
    for (const Case& row : cases()) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        hxtest::writeFile(dir / "in.obj", row.mesh);
        std::vector<std::string> args = {"deform", "in.obj", "-o", "out.obj"};
        args.insert(args.end(), row.settings.begin(), row.settings.end());

        const ToolRun run = runTool(args, dir.path());
        EXPECT_EQ(run.err, "");
        if (run.exitCode != 0) {
            ADD_FAILURE() << "exit code " << run.exitCode;
            continue;
        }

        const std::vector<double> in = vertexCoordinates(row.mesh);
        const std::vector<double> out = vertexCoordinates(hxtest::readFile(dir / "out.obj"));
        EXPECT_FALSE(in.empty());
        const long diff = firstDifference(out, in);
        EXPECT_EQ(diff, -1) << "coordinate " << diff << " of " << in.size() << ": written "
                            << (diff >= 0 && std::size_t(diff) < out.size() ? out[diff] : 0.0) << ", read "
                            << (diff >= 0 ? in[diff] : 0.0);
    }
}

TEST(UnmovedPoints, TheSameNoiseMovesTheMeshOnceTheLocatorIsNear)
{
    // The far-locator case above keeps the mesh because the noise cannot reach it, not
    // because the amplitudes went unread: with the locator at the origin they move it.
    TempDir dir;
    hxtest::writeFile(dir / "in.obj", kTetrahedron);
    const ToolRun run = runTool({"deform", "in.obj", "-o", "out.obj", "--set", "hxNoise1.oxNoiseAmp=0.6", "--set",
                                 "hxNoise1.oyNoiseAmp=0.6", "--set", "hxNoise1.ozNoiseAmp=0.6"},
                                dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<double> in = vertexCoordinates(kTetrahedron);
    const std::vector<double> out = vertexCoordinates(hxtest::readFile(dir / "out.obj"));
    ASSERT_EQ(out.size(), in.size());
    for (std::size_t v = 0; v < in.size(); v += 3)
        EXPECT_FALSE(out[v] == in[v] && out[v + 1] == in[v + 1] && out[v + 2] == in[v + 2]) << "vertex " << v / 3 + 1;
}
