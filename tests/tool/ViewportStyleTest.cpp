// The viewport's ways of drawing: shading modes and when the wireframe is left out,
// antialiasing, text, and the dashed pass for what lies hidden.
#include "Camera.h"
#include "Shading.h"
#include "Text.h"
#include "Viewport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <set>

using hx::Bounds;
using hx::Camera;
using hx::Shading;
using hx::View;
using hx::Viewport;

namespace {

// An n x n grid of quads covering the square -1..1 in the XY plane, facing +Z.
struct QuadGrid
{
    std::vector<double> points;
    std::vector<std::uint32_t> sizes;
    std::vector<int> corners;

    explicit QuadGrid(int n)
    {
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) points.insert(points.end(), {-1.0 + 2.0 * i / n, -1.0 + 2.0 * j / n, 0.0});
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const int v = j * (n + 1) + i;
                sizes.push_back(4);
                corners.insert(corners.end(), {v, v + 1, v + n + 2, v + n + 1});
            }
    }
    hx::MeshView view() const { return {points.data(), points.size() / 3, sizes.data(), sizes.size(), corners.data()}; }
};

// The front view of a side x side picture in which the square -1..1 fills the middle half.
Camera frontCamera(int side)
{
    Bounds square = Bounds::empty();
    const double lo[3] = {-1, -1, -1}, hi[3] = {1, 1, 1};
    square.include(lo);
    square.include(hi);
    return Camera::orthographic(View::Front, {0, 0, 0}, 2.0, square, side, side);
}

// How many pixels are darker than the lit surface or the background could be: wire lines.
int darkPixels(Viewport& viewport)
{
    int dark = 0;
    const std::vector<std::uint8_t> pixels = viewport.pixelsTopDown();
    for (std::size_t i = 0; i < pixels.size(); i += 4) dark += pixels[i] < 60;
    return dark;
}

int drawnWith(Shading shading, const QuadGrid& mesh, int side = 100)
{
    Viewport viewport(side, side);
    viewport.setCamera(frontCamera(side));
    viewport.clear();
    viewport.drawMesh(mesh.view(), shading);
    return darkPixels(viewport);
}

} // namespace

TEST(Shading, EachModeDrawsWhatItSays)
{
    const QuadGrid coarse(5);
    // Smooth: lit surfaces, not one dark line; both: the lines over them.
    EXPECT_EQ(drawnWith(Shading::Smooth, coarse), 0);
    EXPECT_GT(drawnWith(Shading::Both, coarse), 200);

    // Wire: light lines on the background, no lit surface between them.
    Viewport viewport(100, 100);
    viewport.setCamera(frontCamera(100));
    viewport.clear();
    viewport.drawMesh(coarse.view(), Shading::Wire);
    // Lines at x and y = -1, -0.6, ..., 1 fall on pixels 25, 35, ..., 75.
    const hx::Rgba between = viewport.pixel(40, 40); // inside a cell, away from its edges
    EXPECT_NEAR(between.r, Viewport::kBackground[0] * 255, 1.5);
    EXPECT_GT(std::max(viewport.pixel(34, 40).r, viewport.pixel(35, 40).r), 150); // on the line x = -0.6

    Shading parsed = Shading::Smooth;
    for (const char* name : {"auto", "smooth", "wire", "both"}) {
        ASSERT_TRUE(hx::parseShading(name, parsed));
        EXPECT_STREQ(hx::shadingName(parsed), name);
    }
    EXPECT_FALSE(hx::parseShading("Smooth", parsed));
}

TEST(Shading, AutoLeavesOutAWireframeWhoseEdgesWouldMergeIntoAMass)
{
    // In 50 pixels, 5 cells are 10 pixels apart and keep their lines; 40 cells are 1.25
    // pixels apart, which lines would fill solid: the surfaces alone are drawn.
    const QuadGrid coarse(5), dense(40);
    const Camera camera = frontCamera(100);
    EXPECT_NEAR(hx::edgeSpacing(coarse.view(), camera), 10.0, 1e-9);
    EXPECT_NEAR(hx::edgeSpacing(dense.view(), camera), 1.25, 1e-9);
    EXPECT_TRUE(hx::drawsWireframe(Shading::Auto, coarse.view(), camera));
    EXPECT_FALSE(hx::drawsWireframe(Shading::Auto, dense.view(), camera));
    EXPECT_TRUE(hx::drawsWireframe(Shading::Both, dense.view(), camera)); // asked for, drawn
    EXPECT_GT(drawnWith(Shading::Auto, coarse), 200);
    EXPECT_EQ(drawnWith(Shading::Auto, dense), 0);

    // A mesh with no edge in front of the camera, or none at all.
    EXPECT_EQ(hx::edgeSpacing(hx::MeshView{}, camera), 0.0);
}

TEST(Antialiasing, EdgesBlendIntoTheBackgroundInSteps)
{
    // A slanted edge of a lit triangle: drawn as it is, each pixel is the surface or the
    // background; supersampled, pixels along the edge take shades between.
    const double corners[] = {-1.0, -1.0, 0.0, 1.0, -0.6, 0.0, -1.0, 1.0, 0.0};
    const std::uint32_t size[] = {3};
    const int order[] = {0, 1, 2};
    const hx::MeshView triangle{corners, 3, size, 1, order};
    std::size_t shades[2];
    for (const int samples : {1, 3}) {
        Viewport viewport(60, 60);
        viewport.setSamples(samples);
        EXPECT_EQ(viewport.samples(), samples);
        viewport.setCamera(frontCamera(60));
        viewport.clear();
        viewport.drawMesh(triangle, Shading::Smooth);
        std::set<int> seen;
        const std::vector<std::uint8_t> pixels = viewport.pixelsTopDown();
        for (std::size_t i = 0; i < pixels.size(); i += 4) seen.insert(pixels[i]);
        shades[samples == 3] = seen.size();
        // The picture has the size asked for, whatever was drawn.
        EXPECT_EQ(pixels.size(), 60u * 60u * 4u);
    }
    EXPECT_LE(shades[0], 3u);
    EXPECT_GE(shades[1], 6u);

    EXPECT_EQ(Viewport::antialiasingSamples(800, 600), 3);
    EXPECT_EQ(Viewport::antialiasingSamples(1920, 1080), 2);
    EXPECT_EQ(Viewport::antialiasingSamples(8192, 8192), 1);
}

TEST(Text, DrawsLightStrokesWithADarkShadowInsideItsBox)
{
    Viewport viewport(120, 40);
    viewport.clear();
    const float white[3] = {1.0f, 1.0f, 1.0f};
    viewport.drawText("grid 0.5", 10.0, 10.0, 2.0, white);
    const double width = hx::textWidth("grid 0.5", 2.0);
    EXPECT_GT(width, 60.0);
    int light = 0, dark = 0, outside = 0;
    const std::vector<std::uint8_t> pixels = viewport.pixelsTopDown();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const int red = pixels[(std::size_t(y) * 120 + x) * 4];
            const bool inBox = x >= 10 && x <= 10 + width + 2 && y >= 10 && y <= 10 + hx::kLineHeight * 2.0 + 2;
            if (red > 200) ++light;
            if (red < 40) ++dark;
            if ((red > 200 || red < 40) && !inBox) ++outside;
        }
    EXPECT_GT(light, 100);
    EXPECT_GT(dark, 50);
    EXPECT_EQ(outside, 0);
}

TEST(Text, AnyBytesAreLaidOutAsPrintableCharactersOnOneLine)
{
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes.push_back(char(c));
    const std::string printable = hx::printableText(bytes);
    ASSERT_EQ(printable.size(), 256u);
    for (char c : printable) EXPECT_TRUE(c >= 32 && c <= 126) << int(c);
    EXPECT_EQ(hx::printableText("a\nb\tc"), "a b c");
    EXPECT_EQ(hx::printableText("frame 1001"), "frame 1001");

    // The quads of any text lie within its width and a line's height.
    const std::vector<float> quads = hx::textQuads(bytes, 5.0, 7.0, 1.5);
    ASSERT_FALSE(quads.empty());
    EXPECT_EQ(quads.size() % 8, 0u);
    const double width = hx::textWidth(bytes, 1.5);
    for (std::size_t i = 0; i < quads.size(); i += 2) {
        EXPECT_GE(quads[i], 5.0f);
        EXPECT_LE(quads[i], float(5.0 + width + 1.5));
        EXPECT_GE(quads[i + 1], 7.0f);
        EXPECT_LE(quads[i + 1], float(7.0 + hx::kLineHeight * 1.5));
    }
    EXPECT_TRUE(hx::textQuads("", 0, 0, 1).empty());
}

TEST(HiddenDrawing, ShowsOnlyWhatLiesBehindWhatIsDrawnDashed)
{
    // A red line from x = -3 to 3 at z = -1, behind the quad (x, y within -1..1, z = 0).
    Viewport viewport(120, 60);
    Bounds scene = Bounds::empty();
    const double lo[3] = {-3, -1, -1}, hi[3] = {3, 1, 1};
    scene.include(lo);
    scene.include(hi);
    viewport.setCamera(Camera::orthographic(View::Front, {0, 0, 0}, 1.5, scene, 120, 60));
    viewport.clear();
    const QuadGrid quad(1);
    viewport.drawMesh(quad.view(), Shading::Smooth);
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const auto line = [] {
        glColor3f(1.0f, 0.0f, 0.0f);
        glBegin(GL_LINES);
        glVertex3d(-3.0, 0.0, -1.0);
        glVertex3d(3.0, 0.0, -1.0);
        glEnd();
    };
    EXPECT_EQ(viewport.drawInWorldSpace(identity, line, hx::Depth::Hidden), unsigned(GL_NO_ERROR));
    const auto redAt = [&](int x) {
        for (int y = 28; y <= 32; ++y)
            if (viewport.pixel(x, y).r > 150 && viewport.pixel(x, y).g < 80) return true;
        return false;
    };
    // Outside the quad nothing hides the line: the hidden pass leaves it out.
    EXPECT_FALSE(redAt(10));
    EXPECT_FALSE(redAt(110));
    // Over the quad (pixels 40..80), dashes: some pixels red, some not.
    int red = 0;
    for (int x = 42; x < 78; ++x) red += redAt(x);
    EXPECT_GT(red, 8);
    EXPECT_LT(red, 30);

    // The ordinary pass then draws the rest, solid, and nothing over the quad.
    viewport.drawInWorldSpace(identity, line);
    EXPECT_TRUE(redAt(10));
    EXPECT_TRUE(redAt(110));
}
