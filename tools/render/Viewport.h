// Viewport: an off-screen OpenGL viewport that draws what the host's viewport draws.
//
// Mesa's OSMesa renders into memory with real OpenGL, so the same immediate-mode calls a
// locator makes in the host's viewport land in our image. A frame is: clear to the host's
// dark grey, the grid, each mesh shaded with its wireframe over it, then whatever the caller
// draws in a node's world space (a locator's own draw), text over it all, then read back or
// save. With antialiasing (setSamples), the frame is drawn larger and each block of pixels
// averaged into one, so lines and edges come out smooth; line widths and text are given in
// the picture's own pixels either way.
#pragma once

#include "OneLineError.h"

#include "Camera.h"
#include "Grid.h"
#include "MeshView.h"
#include "Shading.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hx {

struct RenderErrorKind;
using RenderError = OneLineError<RenderErrorKind>;

struct Rgba
{
    std::uint8_t r, g, b, a;
};

// How a caller's drawing meets what is already drawn: in front of it, as usual, or only
// where it lies behind it (dashed, for the parts of a locator the mesh hides).
enum class Depth { Visible, Hidden };

class Viewport
{
public:
    static constexpr int kMaxSide = 8192;
    // The host's default background, a flat dark grey.
    static constexpr float kBackground[3] = {0.36f, 0.36f, 0.36f};

    // Creates a width x height RGBA context with a depth buffer; throws RenderError when
    // the size is out of 1..kMaxSide or Mesa cannot make the context. Every drawing call
    // throws RenderError ("out of memory while rendering ...") when OpenGL ran out of
    // memory, after which the viewport draws nothing more; a crash inside Mesa ends the
    // process with one line and exit code 1 (CrashGuard in Interruption.h).
    Viewport(int width, int height);
    ~Viewport();
    Viewport(const Viewport&) = delete;
    Viewport& operator=(const Viewport&) = delete;

    int width() const { return mWidth; }
    int height() const { return mHeight; }

    // Antialiasing: each picture pixel is the average of samples x samples drawn pixels. 1,
    // the default, draws the picture as it is. Takes effect from the next clear().
    void setSamples(int samples);
    int samples() const { return mSamples; }
    // The samples a width x height picture is drawn with when antialiased: 3, or fewer where
    // the drawing would take more than kMaxSampledPixels (or more than OpenGL's largest side).
    static int antialiasingSamples(int width, int height);
    static constexpr long kMaxSampledPixels = 16L * 1024 * 1024;

    void setCamera(const Camera& camera);
    const Camera& camera() const { return mCamera; }

    void clear();
    // The grid's lines, those through the origin darker, as the host draws its grid: a
    // backdrop, hiding nothing drawn after it.
    void drawGrid(const Grid& grid);
    // The grid the camera's view shows around `around` (gridFor).
    void drawGrid(const Bounds& around);
    // The mesh lit in grey, with its wireframe as `shading` says (drawn over the surfaces,
    // offset so the lines win the depth test); faces naming vertices out of range are skipped.
    void drawMesh(const MeshView& mesh, Shading shading = Shading::Both);
    // Runs `draw` with the model-view set to the camera's view times `worldMatrix` (16
    // doubles, row-vector convention with the translation in the last row, which is GL's
    // column-major layout), lighting off and lines kLocatorLineWidth pixels wide; GL state is
    // restored afterwards. Depth::Hidden keeps only what lies behind what is drawn already,
    // in dashes, and leaves the depth buffer as it was. Returns the first OpenGL error the
    // drawing raised (GL_NO_ERROR, 0, when it was clean); running out of memory throws instead.
    unsigned drawInWorldSpace(const double worldMatrix[16], const std::function<void()>& draw,
                              Depth depth = Depth::Visible);
    static constexpr float kLocatorLineWidth = 1.5f;
    // One line of text over everything, its top-left corner at (x, y) in picture pixels, at a
    // stroke width of `scale` pixels (Text.h), with a dark shadow so it reads on any background.
    void drawText(const std::string& text, double x, double y, double scale, const float rgb[3]);

    // The finished image, top row first.
    std::vector<std::uint8_t> pixelsTopDown();
    // One pixel, x right and y down from the top-left corner.
    Rgba pixel(int x, int y);
    // Writes the image as PNG through a temporary file, with `comment` in a text chunk when
    // it is not empty; throws FileWriteError.
    void savePng(const std::string& path, const std::string& comment = "");

private:
    void makeCurrent();
    // Loads the camera's projection, and its view as the model-view matrix (world space).
    void loadCamera();
    // Throws when OpenGL has run out of memory since the last check.
    void checkMemory();
    // Makes the context current and waits for the drawing to land in the buffer.
    void finish();
    // The picture: the drawn buffer, each block of samples x samples averaged; bottom row first.
    std::vector<std::uint8_t> resolved();
    int drawnWidth() const { return mWidth * mSamples; }
    int drawnHeight() const { return mHeight * mSamples; }

    int mWidth;
    int mHeight;
    int mSamples = 1;
    std::vector<std::uint8_t> mBuffer; // the drawn pixels, bottom row first, as OpenGL fills it
    void* mContext = nullptr;
    bool mBroken = false; // Mesa failed an allocation: nothing more is asked of it
    Camera mCamera;
};

} // namespace hx
