// Pictures of a deformed mesh and its locator with the real plug-in: framed to fill the
// picture, one camera for a whole sequence, the locator showing through the mesh, and the
// heads-up display.
#include <gtest/gtest.h> // before any header that pulls in X11's macros

#include "DeformScene.h"
#include "Hud.h"
#include "ObjMesh.h"
#include "PluginHostTest.h"
#include "SceneView.h"
#include "ToolError.h"

#include <cmath>

using hx::Host;

namespace {

// The bundled blob with an hxNoise deformer on it, in a fresh host.
class ScenePicture : public hxtest::PluginHostTest
{
protected:
    ScenePicture()
    {
        hx::ObjMesh mesh = hx::ObjMesh::read(HX_EXAMPLES "/blob.obj");
        mSizes = mesh.faceSizes();
        mCorners = mesh.faceVertexIndices();
        mScene = hx::buildDeformScene(host(), "blob", mesh.positions(), std::vector<int>(mSizes.begin(), mSizes.end()),
                                      mCorners);
        evaluate();
    }

    void set(const std::string& plug, std::vector<double> values)
    {
        const hx::Result set = host().setAttr(plug, values);
        ASSERT_TRUE(set) << set.error;
    }
    void evaluate()
    {
        const hx::Result evaluated = host().meshPoints(mScene.meshShape, mPoints);
        ASSERT_TRUE(evaluated) << evaluated.error;
    }
    hx::SceneMesh mesh() const { return {&mPoints, &mSizes, &mCorners}; }

    // The pixels the mesh covers, from its points where the camera puts them: the box of
    // their projections, grown by `margin` pixels for antialiased edges.
    struct Box
    {
        double left, top, right, bottom;
        bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    };
    Box meshBox(const hx::Camera& camera, double margin)
    {
        Box box{1e300, 1e300, -1e300, -1e300};
        const std::vector<double> world = hx::worldPoints(host(), mScene, mPoints);
        for (std::size_t i = 0; i < world.size(); i += 3) {
            double x = 0, y = 0;
            EXPECT_TRUE(camera.project(&world[i], x, y));
            box.left = std::min(box.left, x - margin), box.right = std::max(box.right, x + margin);
            box.top = std::min(box.top, y - margin), box.bottom = std::max(box.bottom, y + margin);
        }
        return box;
    }

    hx::DeformScene mScene;
    std::vector<double> mPoints;
    std::vector<std::uint32_t> mSizes;
    std::vector<int> mCorners;
};

std::vector<std::uint8_t> draw(hx::Viewport& viewport, Host& host, const hx::DeformScene& scene,
                               const hx::SceneMesh& mesh, const hx::Framing& framing, const hx::PictureStyle& style)
{
    const std::vector<std::string> warnings = hx::drawScene(viewport, host, scene, mesh, framing, style);
    EXPECT_TRUE(warnings.empty());
    return viewport.pixelsTopDown();
}

bool isRed(const std::uint8_t* p)
{
    return p[0] > 150 && p[1] < 90 && p[2] < 90;
}

} // namespace

TEST_F(ScenePicture, FramesOfAKeyedSequenceDifferOnlyWhereTheMeshMoved)
{
    // The mesh slides along x over four frames; the locator, its noise and curves stay.
    for (const char* axis : {"x", "y", "z"}) {
        set(std::string("hxNoise1.o") + axis + "NoiseAmp", {0.3});
        set(std::string("noiseLocator1.o") + axis + "CrvLenIn", {3});
    }
    set("transform1.translate", {0, 0, 2.5});
    const std::vector<int> frames = {1, 2, 3, 4};
    const auto atFrame = [&](int frame) {
        set("blob.translateX", {0.5 * (frame - 1)});
        evaluate();
    };
    hx::PictureStyle style;
    style.hud = false;
    const int width = 240, height = 180;
    const hx::SequenceFraming framed =
        hx::frameSequence(host(), mScene, mesh(), hx::View::Persp, width, height, frames, atFrame, style);
    ASSERT_FALSE(framed.failedFrame);

    hx::Viewport viewport(width, height);
    std::vector<std::vector<std::uint8_t>> pictures;
    std::vector<Box> boxes;
    for (const int frame : frames) {
        atFrame(frame);
        pictures.push_back(draw(viewport, host(), mScene, mesh(), framed.framing, style));
        boxes.push_back(meshBox(framed.framing.camera, 3.0));
    }
    int outside = 0, differentInside = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool underMesh = false;
            for (const Box& box : boxes) underMesh = underMesh || box.contains(x, y);
            const std::size_t at = (std::size_t(y) * width + x) * 4;
            for (std::size_t f = 1; f < pictures.size(); ++f) {
                const bool same = std::equal(&pictures[0][at], &pictures[0][at] + 4, &pictures[f][at]);
                if (underMesh)
                    differentInside += !same;
                else
                    EXPECT_TRUE(same) << "pixel " << x << "," << y << " differs in frame " << frames[f];
            }
            outside += !underMesh;
        }
    // The test means something: much of the picture is away from the mesh, and the mesh moved.
    EXPECT_GT(outside, width * height / 4);
    EXPECT_GT(differentInside, 500);

    // Every frame's mesh is inside the picture: the camera framed them all.
    for (const Box& box : boxes) {
        EXPECT_GE(box.left, 0.0);
        EXPECT_LE(box.right, double(width));
    }
}

TEST_F(ScenePicture, AFrameThatFailsStopsTheFramingAtTheFramesBeforeIt)
{
    const auto atFrame = [&](int frame) {
        if (frame == 3) throw hx::ToolError("frame 3 cannot be evaluated");
        set("blob.translateY", {double(frame)});
        evaluate();
    };
    const hx::SequenceFraming failed =
        hx::frameSequence(host(), mScene, mesh(), hx::View::Front, 100, 100, {1, 2, 3, 4}, atFrame);
    ASSERT_EQ(failed.failedFrame, 3);
    EXPECT_THROW(std::rethrow_exception(failed.failure), hx::ToolError);
    const hx::SequenceFraming before =
        hx::frameSequence(host(), mScene, mesh(), hx::View::Front, 100, 100, {1, 2}, atFrame);
    EXPECT_FALSE(before.failedFrame);
    EXPECT_EQ(failed.framing.camera.viewMatrix(), before.framing.camera.viewMatrix());
    EXPECT_EQ(failed.framing.camera.projectionMatrix(), before.framing.camera.projectionMatrix());
}

TEST_F(ScenePicture, TheMeshAndTheLocatorFillThePicture)
{
    // The locator well away from the mesh, with long curves: both are framed, not the
    // locator's 10 x 10 bounding square.
    set("transform1.translate", {4, 0, 0});
    hx::PictureStyle style;
    style.hud = false;
    hx::Viewport viewport(200, 150);
    hx::drawScene(viewport, host(), mScene, mesh(), hx::View::Front, style);
    const hx::Camera& camera = viewport.camera();
    const Box box = meshBox(camera, 0.0);
    double crossEndX = 0, crossEndY = 0;
    const double crossEnd[3] = {5, 0, 0}; // the cross's +x arm ends a unit from the locator
    ASSERT_TRUE(camera.project(crossEnd, crossEndX, crossEndY));
    // From the mesh's left edge to the cross's right arm: the width the picture gives.
    EXPECT_NEAR((crossEndX - box.left) / 200.0, hx::Camera::kFill, 0.02);
    EXPECT_NEAR(box.left, 200.0 - crossEndX, 1.0);
}

TEST_F(ScenePicture, ALocatorInsideTheMeshShowsThroughItDashed)
{
    // The deformer's defaults: the locator's unit cross sits inside the blob.
    hx::PictureStyle style;
    style.hud = false;
    hx::Viewport viewport(240, 180);
    hx::drawScene(viewport, host(), mScene, mesh(), hx::View::Front, style);
    const std::vector<std::uint8_t> pixels = viewport.pixelsTopDown();
    // Along the cross's -x arm, hidden in the blob (its curves run along the +x arm): red
    // pixels in dashes, not a solid line and not nothing.
    int red = 0, checked = 0;
    for (double x = -0.9; x <= -0.2; x += 0.02) {
        const double arm[3] = {x, 0, 0};
        double px = 0, py = 0;
        ASSERT_TRUE(viewport.camera().project(arm, px, py));
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            found = found || isRed(&pixels[(std::size_t(py + dy) * 240 + std::size_t(px)) * 4]);
        red += found;
        ++checked;
    }
    EXPECT_GT(red, checked / 4);
    EXPECT_LT(red, checked * 9 / 10);
}

TEST_F(ScenePicture, TheDisplayWritesTheValuesAboveTheSceneAndLabelsEachCurve)
{
    for (const char* axis : {"x", "y", "z"}) set(std::string("noiseLocator1.o") + axis + "CrvLenIn", {2});
    set("hxNoise1.oyNoiseAmp", {0.4});
    hx::PictureStyle style;
    style.setPlugs = {"hxNoise1.oyNoiseAmp", "noiseLocator1.oxCrvLenIn"};
    style.frame = 1042;
    const int width = 400, height = 300;
    const hx::Insets insets = hx::hudInsets(host(), style, width, height);
    const hx::HudLayout layout = hx::hudLayout(width, height);
    // The frame's line and the two nodes' lines.
    EXPECT_DOUBLE_EQ(insets.top, layout.margin + layout.frameLine + 2 * layout.line);
    EXPECT_GT(insets.bottom, 0.0);

    hx::Viewport viewport(width, height);
    hx::drawScene(viewport, host(), mScene, mesh(), hx::View::Persp, style);
    const std::vector<std::uint8_t> withHud = viewport.pixelsTopDown();
    const hx::Camera camera = viewport.camera();
    // The scene stays below the display's lines.
    EXPECT_GE(meshBox(camera, 0.0).top, insets.top - 1.0);
    style.hud = false;
    hx::drawScene(viewport, host(), mScene, mesh(), hx::View::Persp, style);
    const std::vector<std::uint8_t> without = viewport.pixelsTopDown();

    // Light text in the top band and at the bottom, where the picture without it has none.
    const auto lightIn = [&](const std::vector<std::uint8_t>& p, int top, int bottom) {
        int light = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width; ++x) light += p[(std::size_t(y) * width + x) * 4] > 220;
        return light;
    };
    EXPECT_GT(lightIn(withHud, 0, int(insets.top)), 200);
    EXPECT_EQ(lightIn(without, 0, int(insets.top)), 0);
    EXPECT_GT(lightIn(withHud, height - int(insets.bottom), height), 20);

    // Each curve's label, pale blue, near the end of its curve.
    for (const hx::LocatorCurve& curve : hx::locatorCurves(host(), mScene.locator)) {
        double endX = 0, endY = 0;
        ASSERT_TRUE(camera.project(&curve.points[curve.points.size() - 3], endX, endY));
        int label = 0;
        for (int y = int(endY) - 25; y <= int(endY) + 25; ++y)
            for (int x = int(endX) - 25; x <= int(endX) + 25; ++x) {
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                const std::uint8_t* p = &withHud[(std::size_t(y) * width + x) * 4];
                label += p[2] > 200 && p[0] > 120 && p[0] < 200;
            }
        EXPECT_GT(label, 5) << "the " << curve.axis << " curve";
    }
}
