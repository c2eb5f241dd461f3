// Viewport: a small scene rendered with real OpenGL, checked pixel by pixel.
#include "AtomicFile.h"
#include "Camera.h"
#include "PngImage.h"
#include "Viewport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/osmesa.h>
#include <png.h>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;
using hx::Bounds;
using hx::Camera;
using hx::View;
using hx::Viewport;

namespace {

// A 2 x 2 quad standing in the XY plane at z = 0, facing +Z.
const double kQuad[] = {-1, 0, 0, 1, 0, 0, 1, 2, 0, -1, 2, 0};
const std::uint32_t kQuadSizes[] = {4};
const int kQuadCorners[] = {0, 1, 2, 3};

hx::MeshView quad()
{
    hx::MeshView mesh;
    mesh.positions = kQuad;
    mesh.vertexCount = 4;
    mesh.faceSizes = kQuadSizes;
    mesh.faceCount = 1;
    mesh.faceVertices = kQuadCorners;
    return mesh;
}

Bounds quadBounds()
{
    Bounds box = Bounds::empty();
    for (int v = 0; v < 4; ++v) box.include(kQuad + 3 * v);
    return box;
}

// The host's row-vector matrix of a translation: the offset in the last row.
std::array<double, 16> translation(double x, double y, double z)
{
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

hx::Rgba pixelAt(Viewport& viewport, const double world[3])
{
    double x = 0, y = 0;
    EXPECT_TRUE(viewport.camera().project(world, x, y));
    return viewport.pixel(static_cast<int>(x), static_cast<int>(y));
}

// A frame as the host draws one: background, grid, the quad, and a short red line drawn
// by the caller in a node's space one unit to the right of the quad's centre.
void drawScene(Viewport& viewport, View view)
{
    Bounds box = quadBounds();
    const double lineEnd[3] = {2.5, 1.0, 0.0};
    box.include(lineEnd);
    viewport.setCamera(Camera::framing(view, box, viewport.width(), viewport.height()));
    viewport.clear();
    viewport.drawGrid(box);
    viewport.drawMesh(quad());
    const std::array<double, 16> world = translation(2.0, 1.0, 0.0);
    const unsigned error = viewport.drawInWorldSpace(world.data(), [] {
        glLineWidth(3.0f);
        glColor3f(1.0f, 0.0f, 0.0f);
        glBegin(GL_LINES);
        glVertex3d(-0.5, 0.0, 0.0);
        glVertex3d(0.5, 0.0, 0.0);
        glEnd();
    });
    EXPECT_EQ(error, unsigned(GL_NO_ERROR));
}

} // namespace

TEST(Viewport, DrawsBackgroundMeshAndCallerLinesWhereTheCameraProjectsThem)
{
    for (const View view : {View::Persp, View::Front}) {
        Viewport viewport(160, 120);
        drawScene(viewport, view);

        const hx::Rgba corner = viewport.pixel(0, 0);
        EXPECT_NEAR(corner.r, 0.36 * 255, 1.5);
        EXPECT_EQ(corner.r, corner.g);
        EXPECT_EQ(corner.g, corner.b);

        // The quad, lit grey and facing the camera, is lighter than the background.
        const double centre[3] = {-0.2, 1.0, 0.0};
        const hx::Rgba surface = pixelAt(viewport, centre);
        EXPECT_GT(surface.r, corner.r + 10) << "view " << int(view);
        EXPECT_EQ(surface.r, surface.b);

        const double onLine[3] = {2.0, 1.0, 0.0};
        const hx::Rgba line = pixelAt(viewport, onLine);
        EXPECT_GT(line.r, 200) << "view " << int(view);
        EXPECT_LT(line.g, 60);
    }
}

TEST(Viewport, ReportsGlErrorsRaisedByTheCallersDrawing)
{
    Viewport viewport(16, 16);
    viewport.clear();
    const std::array<double, 16> world = translation(0, 0, 0);
    EXPECT_EQ(viewport.drawInWorldSpace(world.data(), [] { glBegin(GL_LINES + 1000); }), unsigned(GL_INVALID_ENUM));
    // The next drawing starts clean.
    EXPECT_EQ(viewport.drawInWorldSpace(world.data(), [] {}), unsigned(GL_NO_ERROR));
}

TEST(Viewport, RefusesImpossibleSizes)
{
    EXPECT_THROW(Viewport(0, 10), hx::RenderError);
    EXPECT_THROW(Viewport(10, Viewport::kMaxSide + 1), hx::RenderError);
}

TEST(Viewport, LetsGoOfItsContextWhenDestroyedEvenWhileAnErrorUnwinds)
{
    {
        Viewport viewport(16, 16);
        viewport.clear();
        ASSERT_NE(OSMesaGetCurrentContext(), nullptr);
    }
    EXPECT_EQ(OSMesaGetCurrentContext(), nullptr) << "destroyed normally";

    try {
        Viewport viewport(16, 16);
        viewport.clear();
        throw std::runtime_error("the frame failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(OSMesaGetCurrentContext(), nullptr) << "destroyed while an error unwound";

    // Another viewport made after both draws as the first did.
    Viewport next(16, 16);
    next.clear();
    EXPECT_NEAR(next.pixel(8, 8).r, 92, 1); // the background grey
}

TEST(Viewport, SavesAPngThatReadsBackAsTheSameImage)
{
    const fs::path dir = fs::temp_directory_path() / ("hx_render_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Viewport viewport(64, 48);
    drawScene(viewport, View::Persp);
    const std::string path = (dir / "scene.png").string();
    viewport.savePng(path);

    const hxtest::Image image = hxtest::readPng(path);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 48);
    EXPECT_EQ(image.rgba, viewport.pixelsTopDown());

    EXPECT_THROW(viewport.savePng((dir / "missing" / "x.png").string()), hx::FileWriteError);
    fs::remove_all(dir);
}

// The text chunks libpng finds in a PNG file: keyword and text.
std::vector<std::pair<std::string, std::string>> pngTexts(const std::string& path)
{
    std::vector<std::pair<std::string, std::string>> texts;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return texts;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        png_textp text = nullptr;
        const int count = png_get_text(png, info, &text, nullptr);
        for (int i = 0; i < count; ++i) {
            const std::size_t length = text[i].itxt_length ? text[i].itxt_length : text[i].text_length;
            texts.emplace_back(text[i].key, std::string(text[i].text, length));
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return texts;
}

TEST(Viewport, APngCarriesItsCommentInATextChunkThatLibpngReads)
{
    const fs::path dir = fs::temp_directory_path() / ("hx_render_text_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Viewport viewport(32, 24);
    drawScene(viewport, View::Top);
    const std::string ascii = (dir / "ascii.png").string(), utf8 = (dir / "utf8.png").string();
    viewport.savePng(ascii, "hxNoise 3.0\n[deform]\ninput = 'rock.obj'");
    // Text beyond Latin-1's ASCII goes in an international chunk, as UTF-8.
    viewport.savePng(utf8,
                     "hxNoise 3.0\ninput = 'r\xc3\xb6"
                     "ck.obj'");
    using Texts = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(pngTexts(ascii), (Texts{{"Comment", "hxNoise 3.0\n[deform]\ninput = 'rock.obj'"}}));
    EXPECT_EQ(pngTexts(utf8), (Texts{{"Comment",
                                      "hxNoise 3.0\ninput = 'r\xc3\xb6"
                                      "ck.obj'"}}));

    // The picture is the one without a comment, pixel for pixel.
    EXPECT_EQ(hxtest::readPng(utf8).rgba, viewport.pixelsTopDown());
    fs::remove_all(dir);
}

TEST(Camera, OrthographicViewsLookAsTheHostsDo)
{
    Bounds box = Bounds::empty();
    const double lo[3] = {-1, -1, -1}, hi[3] = {1, 1, 1};
    box.include(lo);
    box.include(hi);
    const auto pixel = [&](View view, double x, double y, double z) {
        const Camera camera = Camera::framing(view, box, 100, 100);
        const double p[3] = {x, y, z};
        std::array<double, 2> out{};
        EXPECT_TRUE(camera.project(p, out[0], out[1]));
        return out;
    };
    // Top: +X to the right, -Z up the screen (smaller y in image rows).
    EXPECT_GT(pixel(View::Top, 1, 0, 0)[0], 50.0);
    EXPECT_LT(pixel(View::Top, 0, 0, -1)[1], 50.0);
    // Front: +X right, +Y up.
    EXPECT_GT(pixel(View::Front, 1, 0, 0)[0], 50.0);
    EXPECT_LT(pixel(View::Front, 0, 1, 0)[1], 50.0);
    // Side: looking down -X, so -Z is to the right.
    EXPECT_GT(pixel(View::Side, 0, 0, -1)[0], 50.0);
    // Persp: the box's centre is the image's centre, and the box fits inside.
    EXPECT_NEAR(pixel(View::Persp, 0, 0, 0)[0], 50.0, 1e-9);
    for (int corner = 0; corner < 8; ++corner) {
        const auto p = pixel(View::Persp, corner & 1 ? 1 : -1, corner & 2 ? 1 : -1, corner & 4 ? 1 : -1);
        EXPECT_GT(p[0], 0.0);
        EXPECT_LT(p[0], 100.0);
        EXPECT_GT(p[1], 0.0);
        EXPECT_LT(p[1], 100.0);
    }
}
