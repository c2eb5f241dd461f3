// `hxnoise deform --render` run as a process: the picture shows the locator's red cross
// and its three blue curves where the camera projects them, the mesh where it stands, and
// the host's dark grey background around them.
#include "PngImage.h"
#include "ToolProcess.h"

#include "Camera.h"
#include "ObjMesh.h"
#include "axisNoiseField.h"

#include <cmath>

using hxtest::Image;
using hxtest::readPng;
using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

// Whether a pixel within `radius` of where `world` projects passes `test`: lines are one
// pixel wide and land within a pixel of the exact projection.
template <class Test>
bool near(const Image& image, const hx::Camera& camera, const double world[3], Test test, int radius = 2)
{
    double px = 0, py = 0;
    if (!camera.project(world, px, py)) return false;
    for (int y = int(py) - radius; y <= int(py) + radius; ++y)
        for (int x = int(px) - radius; x <= int(px) + radius; ++x)
            if (x >= 0 && y >= 0 && x < image.width && y < image.height && test(image.at(x, y))) return true;
    return false;
}

bool isRed(const std::uint8_t* p)
{
    return p[0] > 200 && p[1] < 60 && p[2] < 60;
}
bool isBlue(const std::uint8_t* p)
{
    return p[2] > 200 && p[0] < 60 && p[1] < 60;
}
bool isBackground(const std::uint8_t* p)
{
    return p[0] == p[1] && p[1] == p[2] && std::abs(p[0] - 92) <= 1;
}
bool isMeshGrey(const std::uint8_t* p)
{
    return p[0] == p[1] && p[1] == p[2] && std::abs(p[0] - 92) > 10;
}

const char* kCube =
    "o box\n"
    "v -0.5 -0.5 0.5\nv 0.5 -0.5 0.5\nv -0.5 0.5 0.5\nv 0.5 0.5 0.5\n"
    "v -0.5 0.5 -0.5\nv 0.5 0.5 -0.5\nv -0.5 -0.5 -0.5\nv 0.5 -0.5 -0.5\n"
    "f 1 2 4 3\nf 3 4 6 5\nf 5 6 8 7\nf 7 8 2 1\nf 2 8 6 4\nf 7 1 3 5\n";

// The locator's place and the curves' settings the test renders with.
const double kLocator[3] = {4.0, 1.0, 0.0};
const float kLength = 3.0f;
const int kCount = 60;
const float kAmplitude = 0.3f;

} // namespace

TEST(HxnoiseRender, ShowsTheCrossTheCurvesAndTheMeshWhereTheCameraProjectsThem)
{
    for (const hx::View view : {hx::View::Persp, hx::View::Front}) {
        const char* viewName = view == hx::View::Persp ? "persp" : "front";
        SCOPED_TRACE(viewName);
        TempDir dir;
        hxtest::writeFile(dir / "box.obj", kCube);
        // Without the heads-up display, whose text the test would have to lay out too.
        std::vector<std::string> args = {
            "deform",  "box.obj", "-o",     "out.obj", "--render", "view.png", "--size",
            "320x240", "--view",  viewName, "--hud",   "off",      "--set",    "transform1.translate=4,1,0"};
        for (const char* axis : {"x", "y", "z"}) {
            args.insert(args.end(), {"--set", std::string("hxNoise1.") + axis + "na=0.3"});
            args.insert(args.end(), {"--set", std::string("noiseLocator1.o") + axis + "CrvLenIn=3"});
            args.insert(args.end(), {"--set", std::string("noiseLocator1.") + axis + "ci=60"});
        }
        const ToolRun run = runTool(args, dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const Image image = readPng(dir / "view.png");
        ASSERT_EQ(image.width, 320);
        ASSERT_EQ(image.height, 240);

        // The curves, sampled as the deformer samples them from the other axes' noise.
        Perlin noise[3] = {makeAxisNoise(4, 1.0f, kAmplitude, 0), makeAxisNoise(4, 1.0f, kAmplitude, 1),
                           makeAxisNoise(4, 1.0f, kAmplitude, 2)};
        const int others[3][2] = {{1, 2}, {0, 2}, {1, 0}};
        FieldPoint curves[3][MAX_PTS];
        for (int axis = 0; axis < 3; ++axis)
            ASSERT_EQ(sampleCurve(NoiseAxis(axis), kLength, kCount, noise[others[axis][0]], noise[others[axis][1]],
                                  curves[axis]),
                      kCount);

        // The camera frames what the picture shows: the deformed mesh, the locator's cross
        // (unit arms) and its curves.
        const std::vector<double> points = hx::ObjMesh::read(dir / "out.obj").positions();
        std::vector<hx::Vec3> shown;
        for (std::size_t i = 0; i < points.size(); i += 3) shown.push_back({points[i], points[i + 1], points[i + 2]});
        for (int axis = 0; axis < 3; ++axis)
            for (const double end : {-1.0, 1.0}) {
                hx::Vec3 arm{kLocator[0], kLocator[1], kLocator[2]};
                arm[axis] += end;
                shown.push_back(arm);
            }
        for (int axis = 0; axis < 3; ++axis)
            for (int i = 0; i < kCount; ++i)
                shown.push_back({curves[axis][i].x + kLocator[0], curves[axis][i].y + kLocator[1],
                                 curves[axis][i].z + kLocator[2]});
        const hx::Camera camera = hx::Camera::framing(view, shown, 320, 240);

        EXPECT_TRUE(isBackground(image.at(0, 0)));
        const double meshCentre[3] = {0.0, 0.0, 0.0};
        EXPECT_TRUE(near(image, camera, meshCentre, isMeshGrey, 0));

        // The cross: its negative arms, which no curve covers, where they stand clear of
        // the origin in this view.
        double originX = 0, originY = 0;
        ASSERT_TRUE(camera.project(kLocator, originX, originY));
        int redArms = 0;
        for (int axis = 0; axis < 3; ++axis) {
            double arm[3] = {kLocator[0], kLocator[1], kLocator[2]};
            arm[axis] -= 0.6;
            double ax = 0, ay = 0;
            ASSERT_TRUE(camera.project(arm, ax, ay));
            if (std::hypot(ax - originX, ay - originY) < 4.0) continue;
            EXPECT_TRUE(near(image, camera, arm, isRed)) << "arm " << axis;
            ++redArms;
        }
        EXPECT_GE(redArms, 2);

        // The curves past the cross's arms.
        int checked = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const FieldPoint* curve = curves[axis];
            const int n = kCount;
            for (int i = 0; i < n; i += 3) {
                if (i * kLength / kCount < 1.2) continue;
                const double world[3] = {curve[i].x + kLocator[0], curve[i].y + kLocator[1], curve[i].z + kLocator[2]};
                double px = 0, py = 0;
                ASSERT_TRUE(camera.project(world, px, py));
                if (std::hypot(px - originX, py - originY) < 4.0) continue; // a curve along the view axis
                EXPECT_TRUE(near(image, camera, world, isBlue)) << "curve " << axis << " point " << i;
                ++checked;
            }
        }
        EXPECT_GE(checked, 15);
    }
}

TEST(HxnoiseRender, ASequenceKeepsOneCameraSoItsFramesPlayAsAFlipbook)
{
    // The box slides along x; the locator above it, with its curves, stays where it is.
    TempDir dir;
    hxtest::writeFile(dir / "box.obj", kCube);
    std::vector<std::string> args = {
        "deform", "box.obj",  "--render", "anim.png", "--size",       "200x150", "--hud",
        "off",    "--frames", "3",        "--key",    "box.tx=0:1.5", "--set",   "transform1.translate=0,2.5,0"};
    for (const char* axis : {"x", "y", "z"})
        args.insert(args.end(), {"--set", std::string("hxNoise1.") + axis + "na=0.3"});
    const ToolRun run = runTool(args, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Image first = readPng(dir / "anim_0001.png"), last = readPng(dir / "anim_0003.png");
    ASSERT_EQ(first.rgba.size(), last.rgba.size());

    // Every pixel of the locator's cross and curves is where it was; the box has moved.
    int locatorPixels = 0, moved = 0;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x) {
            const std::uint8_t *a = first.at(x, y), *b = last.at(x, y);
            if (isRed(a) || isBlue(a)) {
                ++locatorPixels;
                EXPECT_TRUE(std::equal(a, a + 4, b)) << "locator pixel " << x << "," << y;
            }
            moved += !std::equal(a, a + 4, b);
        }
    EXPECT_GT(locatorPixels, 30);
    EXPECT_GT(moved, 100);
    EXPECT_TRUE(std::equal(first.at(0, 0), first.at(0, 0) + 4, last.at(0, 0)));
}

TEST(HxnoiseRender, ShadingSmoothLeavesTheWireframeOut)
{
    TempDir dir;
    hxtest::writeFile(dir / "box.obj", kCube);
    const auto darkPixels = [&](const char* shading) {
        const ToolRun run = runTool(
            {"deform", "box.obj", "--render", "box.png", "--size", "160x120", "--hud", "off", "--shading", shading},
            dir.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const Image image = readPng(dir / "box.png");
        int dark = 0;
        for (std::size_t i = 0; i < image.rgba.size(); i += 4) dark += image.rgba[i] < 50 && image.rgba[i + 2] < 50;
        return dark;
    };
    // The grid's axis lines are as dark; the wireframe adds its edges to them.
    const int smooth = darkPixels("smooth"), both = darkPixels("both");
    EXPECT_GT(both, smooth + 50);
    EXPECT_EQ(darkPixels("auto"), both); // a box's few edges are far apart: drawn
}
