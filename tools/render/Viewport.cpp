#include "Viewport.h"

#include "Interruption.h"
#include "PngFile.h"
#include "Text.h"
#include "VertexNormals.h"

#include <GL/gl.h>
#include <GL/osmesa.h>
#include <algorithm>
#include <cmath>
#include <new>
#include <string>

namespace hx {
namespace {

OSMesaContext context(void* handle)
{
    return static_cast<OSMesaContext>(handle);
}

// Mesa does not always survive a failed allocation: it may crash inside the call that met it
// rather than report it. Every call into it runs under this guard, so that such a crash ends
// the run with a line that says what most likely happened, and no temporary file left.
constexpr const char* kRendererCrashed = "the off-screen renderer (Mesa) crashed, most likely out of memory";

const char* const kOutOfMemory = "out of memory while rendering";

// OpenGL's largest drawable side here (Mesa's software renderer).
constexpr int kMaxDrawnSide = 16384;

} // namespace

Viewport::Viewport(int width, int height) : mWidth(width), mHeight(height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        throw RenderError("image size " + std::to_string(width) + "x" + std::to_string(height) + " is outside 1x1.." +
                          std::to_string(kMaxSide) + "x" + std::to_string(kMaxSide));
    try {
        mBuffer.assign(std::size_t(width) * std::size_t(height) * 4, 0);
    } catch (const std::bad_alloc&) {
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(width) + "x" + std::to_string(height) +
                          " picture");
    }
    CrashGuard guard(kRendererCrashed);
    mContext = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    if (!mContext) throw RenderError("Mesa could not create an off-screen OpenGL context (most likely out of memory)");
    try {
        makeCurrent();
    } catch (...) {
        // A context that could not take the buffer is in no state to be taken down.
        mBroken = true;
        throw;
    }
    mCamera = Camera::framing(View::Persp, Bounds::empty(), width, height);
}

Viewport::~Viewport()
{
    if (!mContext) return;
    CrashGuard guard(kRendererCrashed);
    // Whatever happens, the context lets go of our buffer: left current, it would point Mesa
    // at freed memory for the next viewport, or the next GL call on this thread, to write to.
    if (OSMesaGetCurrentContext() == context(mContext)) OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    // After a failed allocation Mesa's own clean-up can crash: that context is left to the end
    // of the process instead. Any other context is destroyed, during unwinding too.
    if (mBroken) return;
    OSMesaDestroyContext(context(mContext));
}

void Viewport::makeCurrent()
{
    if (mBroken) throw RenderError(kOutOfMemory);
    CrashGuard guard(kRendererCrashed);
    if (!OSMesaMakeCurrent(context(mContext), mBuffer.data(), GL_UNSIGNED_BYTE, drawnWidth(), drawnHeight()))
        throw RenderError("Mesa could not make the off-screen OpenGL context current (most likely out of memory)");
}

void Viewport::loadCamera()
{
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(mCamera.projectionMatrix().data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mCamera.viewMatrix().data());
}

void Viewport::checkMemory()
{
    // Every error is read, so that none is left for the next step to misreport.
    bool outOfMemory = false;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
        outOfMemory = outOfMemory || error == GL_OUT_OF_MEMORY;
    if (outOfMemory) {
        mBroken = true;
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(mWidth) + "x" + std::to_string(mHeight) +
                          " picture (OpenGL)");
    }
}

void Viewport::setCamera(const Camera& camera)
{
    mCamera = camera;
}

void Viewport::clear()
{
    makeCurrent();
    CrashGuard guard(kRendererCrashed);
    glViewport(0, 0, drawnWidth(), drawnHeight());
    glClearColor(kBackground[0], kBackground[1], kBackground[2], 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    checkMemory();
}

int Viewport::antialiasingSamples(int width, int height)
{
    for (int samples = 3; samples > 1; --samples)
        if (long(width) * height * samples * samples <= kMaxSampledPixels && width * samples <= kMaxDrawnSide &&
            height * samples <= kMaxDrawnSide)
            return samples;
    return 1;
}

void Viewport::setSamples(int samples)
{
    samples = std::max(samples, 1);
    if (samples == mSamples) return;
    if (long(mWidth) * samples > kMaxDrawnSide || long(mHeight) * samples > kMaxDrawnSide)
        throw RenderError("cannot draw a " + std::to_string(mWidth) + "x" + std::to_string(mHeight) + " picture at " +
                          std::to_string(samples) + " samples a side");
    try {
        std::vector<std::uint8_t> buffer(std::size_t(mWidth) * mHeight * samples * samples * 4, 0);
        mBuffer.swap(buffer);
    } catch (const std::bad_alloc&) {
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(mWidth) + "x" + std::to_string(mHeight) +
                          " picture at " + std::to_string(samples) + " samples a side");
    }
    mSamples = samples;
    makeCurrent();
}

void Viewport::drawGrid(const Bounds& around)
{
    drawGrid(gridFor(mCamera.view(), around));
}

void Viewport::drawGrid(const Grid& grid)
{
    makeCurrent();
    CrashGuard guard(kRendererCrashed);
    loadCamera();
    glDisable(GL_LIGHTING);
    glLineWidth(float(mSamples));
    // The grid is a backdrop: it hides nothing drawn after it, so a curve or a mesh below the
    // ground is not cut into dashes by the lines over it.
    glDepthMask(GL_FALSE);
    const auto vertex = [&](double along0, double along1) {
        double p[3] = {0.0, 0.0, 0.0};
        p[grid.axes[0]] = along0;
        p[grid.axes[1]] = along1;
        glVertex3dv(p);
    };
    glBegin(GL_LINES);
    for (int a = 0; a < 2; ++a) {
        const int other = 1 - a;
        for (long k = grid.first[a]; k <= grid.last[a]; ++k) {
            const float shade = (k == 0) ? 0.15f : 0.48f; // the axes stand out, as in the host
            glColor3f(shade, shade, shade);
            const double at = double(k) * grid.step;
            if (a == 0)
                vertex(at, grid.low(other)), vertex(at, grid.high(other));
            else
                vertex(grid.low(other), at), vertex(grid.high(other), at);
        }
    }
    glEnd();
    glDepthMask(GL_TRUE);
    checkMemory();
}

void Viewport::drawMesh(const MeshView& mesh, Shading shading)
{
    makeCurrent();
    // Faces are drawn only when all their corners exist; the rest of the mesh still shows.
    // A mesh whose faces are all whole (the usual case) is drawn from its own arrays; only
    // one with broken faces gets a filtered copy of its topology.
    std::vector<std::uint32_t> keptSizes;
    std::vector<int> keptVertices;
    const std::uint32_t* faceSizes = mesh.faceSizes;
    std::size_t faceCount = mesh.faceCount;
    const int* faceVertices = mesh.faceVertices;
    const auto faceIsWhole = [&](const int* corner, std::uint32_t size) {
        for (std::uint32_t i = 0; i < size; ++i)
            if (corner[i] < 0 || std::size_t(corner[i]) >= mesh.vertexCount) return false;
        return true;
    };
    bool allWhole = true;
    {
        const int* corner = mesh.faceVertices;
        for (std::size_t f = 0; f < mesh.faceCount && allWhole; ++f) {
            allWhole = faceIsWhole(corner, mesh.faceSizes[f]);
            corner += mesh.faceSizes[f];
        }
    }
    if (!allWhole) {
        const int* corner = mesh.faceVertices;
        for (std::size_t f = 0; f < mesh.faceCount; ++f) {
            if (faceIsWhole(corner, mesh.faceSizes[f])) {
                keptSizes.push_back(mesh.faceSizes[f]);
                keptVertices.insert(keptVertices.end(), corner, corner + mesh.faceSizes[f]);
            }
            corner += mesh.faceSizes[f];
        }
        faceSizes = keptSizes.data();
        faceCount = keptSizes.size();
        faceVertices = keptVertices.data();
    }
    const std::vector<double> normals =
        computeVertexNormals(mesh.positions, mesh.vertexCount, faceSizes, faceCount, faceVertices);

    CrashGuard guard(kRendererCrashed);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(mCamera.projectionMatrix().data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A headlight: the light sits at the eye, so every face turned to the camera is lit.
    const GLfloat headlight[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat ambient[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, headlight);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glLoadMatrixd(mCamera.viewMatrix().data());

    const GLfloat grey[4] = {0.6f, 0.6f, 0.6f, 1.0f}; // light enough to stand out from the background
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const auto drawFaces = [&](bool withNormals) {
        const int* corner = faceVertices;
        for (std::size_t f = 0; f < faceCount; ++f) {
            const std::uint32_t size = faceSizes[f];
            glBegin(GL_POLYGON);
            for (std::uint32_t i = 0; i < size; ++i) {
                if (withNormals) glNormal3dv(normals.data() + 3 * corner[i]);
                glVertex3dv(mesh.positions + 3 * corner[i]);
            }
            glEnd();
            corner += size;
        }
    };
    const bool wireframe = drawsWireframe(shading, mesh, mCamera);
    if (drawsSurfaces(shading)) drawFaces(true);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_LIGHTING);

    if (wireframe) {
        glLineWidth(float(mSamples));
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        // Over the surfaces, dark lines; on their own, lighter ones that read on the background.
        const float shade = drawsSurfaces(shading) ? 0.12f : 0.75f;
        glColor3f(shade, shade, shade);
        drawFaces(false);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    checkMemory();
}

unsigned Viewport::drawInWorldSpace(const double worldMatrix[16], const std::function<void()>& draw, Depth depth)
{
    makeCurrent();
    CrashGuard guard(kRendererCrashed);
    loadCamera();
    glMultMatrixd(worldMatrix);
    while (glGetError() != GL_NO_ERROR) {
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glLineWidth(kLocatorLineWidth * float(mSamples));
    if (depth == Depth::Hidden) {
        glDepthFunc(GL_GREATER);
        glDepthMask(GL_FALSE);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(2 * mSamples, 0x3333);
    }
    draw();
    // A draw that left a begin open or passed a bad argument is reported to the caller,
    // which decides whether a locator's fault should fail the run.
    const GLenum error = glGetError();
    glPopMatrix();
    glPopAttrib();
    if (error == GL_OUT_OF_MEMORY) {
        mBroken = true;
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(mWidth) + "x" + std::to_string(mHeight) +
                          " picture (OpenGL)");
    }
    checkMemory();
    return error;
}

void Viewport::drawText(const std::string& text, double x, double y, double scale, const float rgb[3])
{
    makeCurrent();
    const std::vector<float> shape = textQuads(text, 0.0, 0.0, scale);
    CrashGuard guard(kRendererCrashed);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, mWidth, mHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    const double shadow = std::max(1.0, 0.75 * scale);
    for (int pass = 0; pass < 2; ++pass) {
        const double dx = x + (pass == 0 ? shadow : 0.0), dy = y + (pass == 0 ? shadow : 0.0);
        if (pass == 0)
            glColor3f(0.08f, 0.08f, 0.08f);
        else
            glColor3fv(rgb);
        glBegin(GL_QUADS);
        for (std::size_t i = 0; i + 1 < shape.size(); i += 2) glVertex2d(dx + shape[i], dy + shape[i + 1]);
        glEnd();
    }
    glPopAttrib();
    checkMemory();
}

std::vector<std::uint8_t> Viewport::resolved()
{
    finish();
    if (mSamples == 1) return mBuffer;
    std::vector<std::uint8_t> out(std::size_t(mWidth) * mHeight * 4);
    const std::size_t drawnRow = std::size_t(drawnWidth()) * 4;
    const unsigned blockArea = unsigned(mSamples * mSamples);
    std::vector<unsigned> sums(std::size_t(mWidth) * 4);
    for (int y = 0; y < mHeight; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int sy = 0; sy < mSamples; ++sy) {
            const std::uint8_t* row = mBuffer.data() + (std::size_t(y) * mSamples + sy) * drawnRow;
            for (int x = 0; x < mWidth; ++x)
                for (int sx = 0; sx < mSamples; ++sx)
                    for (int c = 0; c < 4; ++c)
                        sums[std::size_t(x) * 4 + c] += row[(std::size_t(x) * mSamples + sx) * 4 + c];
        }
        std::uint8_t* outRow = out.data() + std::size_t(y) * mWidth * 4;
        for (std::size_t i = 0; i < sums.size(); ++i) outRow[i] = std::uint8_t((sums[i] + blockArea / 2) / blockArea);
    }
    return out;
}

std::vector<std::uint8_t> Viewport::pixelsTopDown()
{
    const std::vector<std::uint8_t> picture = resolved();
    std::vector<std::uint8_t> out(picture.size());
    const std::size_t row = std::size_t(mWidth) * 4;
    for (int y = 0; y < mHeight; ++y) std::copy_n(picture.data() + (mHeight - 1 - y) * row, row, out.data() + y * row);
    return out;
}

Rgba Viewport::pixel(int x, int y)
{
    finish();
    x = std::clamp(x, 0, mWidth - 1);
    y = std::clamp(y, 0, mHeight - 1);
    unsigned sums[4] = {0, 0, 0, 0};
    for (int sy = 0; sy < mSamples; ++sy)
        for (int sx = 0; sx < mSamples; ++sx) {
            const std::size_t drawnY = std::size_t(mHeight - 1 - y) * mSamples + sy;
            const std::uint8_t* p = mBuffer.data() + (drawnY * drawnWidth() + std::size_t(x) * mSamples + sx) * 4;
            for (int c = 0; c < 4; ++c) sums[c] += p[c];
        }
    const unsigned area = unsigned(mSamples * mSamples);
    const auto average = [&](int c) { return std::uint8_t((sums[c] + area / 2) / area); };
    return {average(0), average(1), average(2), average(3)};
}

void Viewport::finish()
{
    makeCurrent();
    CrashGuard guard(kRendererCrashed);
    glFinish();
    checkMemory();
}

void Viewport::savePng(const std::string& path, const std::string& comment)
{
    const std::vector<std::uint8_t> picture = resolved();
    writePng(path, mWidth, mHeight, picture.data(), true, comment);
}

} // namespace hx
