#include <maya/M3dView.h>

#include "../engine/Engine.h"
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
