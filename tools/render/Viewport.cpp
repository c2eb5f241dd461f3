#include "Viewport.h"

#include "Interruption.h"
#include "PngFile.h"
#include "VertexNormals.h"

#include <GL/osmesa.h>
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>

namespace hx {
namespace {

OSMesaContext context(void* handle) { return static_cast<OSMesaContext>(handle); }

// Mesa does not always survive a failed allocation: it may crash inside the call that met it
// rather than report it. Every call into it runs under this guard, so that such a crash ends
// the run with a line that says what most likely happened, and no temporary file left.
constexpr const char* kRendererCrashed =
    "the off-screen renderer (Mesa) crashed, most likely out of memory";

const char* const kOutOfMemory = "out of memory while rendering";

// A step of 1, 2 or 5 times a power of ten, the way grids are usually spaced.
double niceStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double scaled = rough / power;
    return power * (scaled < 1.5 ? 1.0 : scaled < 3.5 ? 2.0 : scaled < 7.5 ? 5.0 : 10.0);
}

}  // namespace

Viewport::Viewport(int width, int height) : mWidth(width), mHeight(height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        throw RenderError("image size " + std::to_string(width) + "x" + std::to_string(height) +
                          " is outside 1x1.." + std::to_string(kMaxSide) + "x" +
                          std::to_string(kMaxSide));
    try {
        mBuffer.assign(std::size_t(width) * std::size_t(height) * 4, 0);
    } catch (const std::bad_alloc&) {
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(width) + "x" + std::to_string(height) +
                          " picture");
    }
    CrashGuard guard(kRendererCrashed);
    mContext = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    if (!mContext)
        throw RenderError("Mesa could not create an off-screen OpenGL context (most likely out of memory)");
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
    // After a failed allocation, or while an error unwinds (which may be one), Mesa's own
    // clean-up can crash: the context is left to the end of the process instead.
    if (!mContext || mBroken || std::uncaught_exceptions() > 0) return;
    CrashGuard guard(kRendererCrashed);
    // Release the context before destroying it, or Mesa keeps our framebuffer bound.
    if (OSMesaGetCurrentContext() == context(mContext))
        OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(context(mContext));
}

void Viewport::makeCurrent()
{
    if (mBroken) throw RenderError(kOutOfMemory);
    CrashGuard guard(kRendererCrashed);
    if (!OSMesaMakeCurrent(context(mContext), mBuffer.data(), GL_UNSIGNED_BYTE, mWidth, mHeight))
        throw RenderError("Mesa could not make the off-screen OpenGL context current (most likely out of memory)");
}

void Viewport::checkMemory()
{
    // Every error is read, so that none is left for the next step to misreport.
    bool outOfMemory = false;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
        outOfMemory = outOfMemory || error == GL_OUT_OF_MEMORY;
    if (outOfMemory) {
        mBroken = true;
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(mWidth) + "x" +
                          std::to_string(mHeight) + " picture (OpenGL)");
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
    glViewport(0, 0, mWidth, mHeight);
    glClearColor(kBackground[0], kBackground[1], kBackground[2], 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    checkMemory();
}

void Viewport::drawGrid(const Bounds& around)
{
    makeCurrent();
    double reach = 1.0;
    if (!around.isEmpty())
        for (double v : {around.min[0], around.max[0], around.min[2], around.max[2]})
            if (std::isfinite(v)) reach = std::max(reach, std::abs(v));
    const double step = niceStep(reach * 1.25 / 5.0);
    const int lines = static_cast<int>(std::ceil(reach * 1.25 / step));
    const double extent = lines * step;

    CrashGuard guard(kRendererCrashed);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(mCamera.projectionMatrix().data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mCamera.viewMatrix().data());
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    for (int i = -lines; i <= lines; ++i) {
        const float shade = (i == 0) ? 0.15f : 0.48f;  // the axes stand out, as in the host
        glColor3f(shade, shade, shade);
        glVertex3d(i * step, 0.0, -extent);
        glVertex3d(i * step, 0.0, extent);
        glVertex3d(-extent, 0.0, i * step);
        glVertex3d(extent, 0.0, i * step);
    }
    glEnd();
    checkMemory();
}

void Viewport::drawMesh(const MeshView& mesh)
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

    const GLfloat grey[4] = {0.6f, 0.6f, 0.6f, 1.0f};  // light enough to stand out from the background
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
    drawFaces(true);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_LIGHTING);

    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0.12f, 0.12f, 0.12f);
    drawFaces(false);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    checkMemory();
}

unsigned Viewport::drawInWorldSpace(const double worldMatrix[16], const std::function<void()>& draw)
{
    makeCurrent();
    CrashGuard guard(kRendererCrashed);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(mCamera.projectionMatrix().data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mCamera.viewMatrix().data());
    glMultMatrixd(worldMatrix);
    while (glGetError() != GL_NO_ERROR) {
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();
    glDisable(GL_LIGHTING);
    draw();
    // A draw that left a begin open or passed a bad argument is reported to the caller,
    // which decides whether a locator's fault should fail the run.
    const GLenum error = glGetError();
    glPopMatrix();
    glPopAttrib();
    if (error == GL_OUT_OF_MEMORY) {
        mBroken = true;
        throw RenderError(std::string(kOutOfMemory) + " a " + std::to_string(mWidth) + "x" +
                          std::to_string(mHeight) + " picture (OpenGL)");
    }
    checkMemory();
    return error;
}

std::vector<std::uint8_t> Viewport::pixelsTopDown()
{
    finish();
    std::vector<std::uint8_t> out(mBuffer.size());
    const std::size_t row = std::size_t(mWidth) * 4;
    for (int y = 0; y < mHeight; ++y)
        std::copy_n(mBuffer.data() + (mHeight - 1 - y) * row, row, out.data() + y * row);
    return out;
}

Rgba Viewport::pixel(int x, int y)
{
    finish();
    x = std::clamp(x, 0, mWidth - 1);
    y = std::clamp(y, 0, mHeight - 1);
    const std::uint8_t* p = mBuffer.data() + (std::size_t(mHeight - 1 - y) * mWidth + x) * 4;
    return {p[0], p[1], p[2], p[3]};
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
    finish();
    writePng(path, mWidth, mHeight, mBuffer.data(), true, comment);
}

}  // namespace hx
