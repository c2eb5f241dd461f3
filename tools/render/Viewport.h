// Viewport: an off-screen OpenGL viewport that draws what the host's viewport draws.
//
// Mesa's OSMesa renders into memory with real OpenGL, so the same immediate-mode calls a
// locator makes in the host's viewport land in our image. A frame is: clear to the host's
// dark grey, the ground grid, each mesh shaded with its wireframe over it, then whatever
// the caller draws in a node's world space (a locator's own draw), then read back or save.
#pragma once

#include "Camera.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace hx {

class RenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A polygon mesh as raw arrays owned by the caller (see computeVertexNormals for the layout).
struct MeshView {
    const double* positions = nullptr;  // x, y, z per vertex, in world space
    std::size_t vertexCount = 0;
    const std::uint32_t* faceSizes = nullptr;
    std::size_t faceCount = 0;
    const int* faceVertices = nullptr;
};

struct Rgba {
    std::uint8_t r, g, b, a;
};

class Viewport {
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

    void setCamera(const Camera& camera);
    const Camera& camera() const { return mCamera; }

    void clear();
    // Lines on the XZ plane, spaced to suit `around`, axis lines darker.
    void drawGrid(const Bounds& around);
    // The mesh lit in grey, its wireframe drawn over it (offset so the lines win the depth
    // test); faces naming vertices out of range are skipped.
    void drawMesh(const MeshView& mesh);
    // Runs `draw` with the model-view set to the camera's view times `worldMatrix` (16
    // doubles, row-vector convention with the translation in the last row, which is GL's
    // column-major layout) and lighting off; GL state is restored afterwards. Returns the
    // first OpenGL error the drawing raised (GL_NO_ERROR, 0, when it was clean); running
    // out of memory throws instead.
    unsigned drawInWorldSpace(const double worldMatrix[16], const std::function<void()>& draw);

    // The finished image, top row first.
    std::vector<std::uint8_t> pixelsTopDown();
    // One pixel, x right and y down from the top-left corner.
    Rgba pixel(int x, int y);
    // Writes the image as PNG through a temporary file, with `comment` in a text chunk when
    // it is not empty; throws FileWriteError.
    void savePng(const std::string& path, const std::string& comment = "");

private:
    void makeCurrent();
    // Throws when OpenGL has run out of memory since the last check.
    void checkMemory();
    // Makes the context current and waits for the drawing to land in the buffer.
    void finish();

    int mWidth;
    int mHeight;
    std::vector<std::uint8_t> mBuffer;  // bottom row first, as OpenGL fills it
    void* mContext = nullptr;
    bool mBroken = false;  // Mesa failed an allocation: nothing more is asked of it
    Camera mCamera;
};

}  // namespace hx
