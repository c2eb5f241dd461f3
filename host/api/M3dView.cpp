#include <maya/M3dView.h>

#include "../engine/Engine.h"
#include "../engine/HostGL.h"
#include "FnSet.h"

M3dView::M3dView()
    : mWidth(hx::Engine::current().portWidth()), mHeight(hx::Engine::current().portHeight()), mGLDepth(0) {}
M3dView::~M3dView() {}

M3dView M3dView::active3dView(MStatus* ReturnStatus) {
    hx::report(ReturnStatus, MStatus());
    return M3dView();
}

// The caller owns the GL context and makes it current before drawing; the view only
// checks that begin and end pair up.
MStatus M3dView::beginGL() {
    ++mGLDepth;
    return MStatus();
}

MStatus M3dView::endGL() {
    if (mGLDepth == 0) return hx::Access::fail(MStatus::kFailure, "endGL without beginGL");
    --mGLDepth;
    return MStatus();
}

int M3dView::portWidth(MStatus* ReturnStatus) {
    hx::report(ReturnStatus, MStatus());
    return mWidth;
}

int M3dView::portHeight(MStatus* ReturnStatus) {
    hx::report(ReturnStatus, MStatus());
    return mHeight;
}

Display* M3dView::display(MStatus* ReturnStatus) {
    hx::report(ReturnStatus, hx::Access::fail(MStatus::kFailure, "this host draws without an X display"));
    return NULL;
}

GLXContext M3dView::glxContext(MStatus* ReturnStatus) {
    hx::report(ReturnStatus, hx::Access::fail(MStatus::kFailure, "this host draws without a GLX context"));
    return NULL;
}

namespace {

// The host's colour tables: bright for active objects, darker for dormant and template ones.
const float kPalette[16][3] = {{0.0f, 0.0f, 0.0f},    {1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 0.0f},    {0.0f, 1.0f, 0.0f},
                               {0.0f, 0.0f, 1.0f},    {1.0f, 1.0f, 0.0f}, {0.0f, 1.0f, 1.0f},    {1.0f, 0.0f, 1.0f},
                               {1.0f, 0.5f, 0.0f},    {0.5f, 0.0f, 1.0f}, {0.0f, 0.5f, 0.25f},   {0.5f, 0.25f, 0.0f},
                               {0.75f, 0.75f, 0.75f}, {0.5f, 0.5f, 0.5f}, {0.25f, 0.25f, 0.25f}, {1.0f, 0.75f, 0.8f}};

float shade(M3dView::ColorTable table) {
    switch (table) {
    case M3dView::kActiveColors: return 1.0f;
    case M3dView::kDormantColors: return 0.6f;
    case M3dView::kTemplateColor: return 0.4f;
    default: return 0.2f;
    }
}

}  // namespace

MStatus M3dView::setDrawColor(const MColor& color) {
    if (hx::haveGL()) glColor4f(color.r, color.g, color.b, color.a);
    return MStatus();
}

MStatus M3dView::setDrawColor(unsigned int index, ColorTable table) {
    if (index >= 16)
        return hx::Access::fail(MStatus::kInvalidParameter,
                                "colour index " + std::to_string(index) + " is outside the colour table (0-15)");
    const float s = shade(table);
    return setDrawColor(MColor(kPalette[index][0] * s, kPalette[index][1] * s, kPalette[index][2] * s));
}

void M3dView::drawText(const MString& text, const MPoint position, TextPosition) {
    if (!hx::haveGL()) return;
    glRasterPos3d(position.x, position.y, position.z);
    glCallLists(static_cast<GLsizei>(text.length()), GL_UNSIGNED_BYTE, text.asChar());
}
