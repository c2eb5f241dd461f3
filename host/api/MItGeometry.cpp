#include <maya/MItGeometry.h>
#include <maya/MPointArray.h>

#include "../engine/Data.h"
#include "FnSet.h"

namespace hx {

MItGeometry* Access::newIterator() { return new MItGeometry(); }

void Access::setGeometry(MItGeometry& it, MeshData* mesh, const MMatrix& localToWorld) {
    it.mGeometry = wrap(mesh);
    it.mPoints = mesh ? mesh->pointData() : nullptr;
    it.mCount = mesh ? mesh->pointCount() : 0;
    it.mIndex = 0;
    it.mLocalToWorld = localToWorld;
}

}  // namespace hx

MItGeometry::MItGeometry() : mPoints(nullptr), mCount(0), mIndex(0) {}
MItGeometry::~MItGeometry() {}

bool MItGeometry::isDone(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, MStatus());
    return mIndex >= mCount;
}

MStatus MItGeometry::next() {
    if (mIndex >= mCount) return MStatus::kFailure;
    ++mIndex;
    return MStatus();
}

MPoint MItGeometry::position(MSpace::Space space, MStatus* ReturnStatus) const {
    if (mIndex >= mCount) {
        hx::report(ReturnStatus, MStatus(MStatus::kFailure));
        return MPoint();
    }
    hx::report(ReturnStatus, MStatus());
    const double* p = mPoints + 3 * mIndex;
    MPoint point(p[0], p[1], p[2]);
    return space == MSpace::kWorld ? point * mLocalToWorld : point;
}

MStatus MItGeometry::setPosition(const MPoint& point, MSpace::Space space) {
    if (mIndex >= mCount) return MStatus::kFailure;
    // Coordinates are stored as given (no division by w), as deformers expect.
    const MPoint local = space == MSpace::kWorld ? point * mLocalToWorld.inverse() : point;
    double* p = mPoints + 3 * mIndex;
    p[0] = local.x;
    p[1] = local.y;
    p[2] = local.z;
    return MStatus();
}

// This host keeps no normals with its meshes.
MVector MItGeometry::normal(MSpace::Space, MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, MStatus(MStatus::kNotImplemented));
    return MVector();
}

int MItGeometry::index(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, mIndex < mCount ? MStatus() : MStatus(MStatus::kFailure));
    return static_cast<int>(mIndex);
}

int MItGeometry::count(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, MStatus());
    return static_cast<int>(mCount);
}

MStatus MItGeometry::reset() {
    mIndex = 0;
    return MStatus();
}

MStatus MItGeometry::allPositions(MPointArray& points, MSpace::Space space) const {
    MStatus status = points.setLength(mCount);
    if (!status || mCount == 0) return status;
    // Straight into the array's storage: a call per point would cost a large mesh more than
    // the copy itself, and this runs on the deformer's calling thread, before its tasks.
    MPoint* out = &points[0];
    for (unsigned int i = 0; i < mCount; ++i) {
        const double* p = mPoints + 3 * i;
        if (space == MSpace::kWorld) {
            out[i] = MPoint(p[0], p[1], p[2]) * mLocalToWorld;
        } else {
            out[i].x = p[0];
            out[i].y = p[1];
            out[i].z = p[2];
            out[i].w = 1.0;
        }
    }
    return MStatus();
}

MStatus MItGeometry::setAllPositions(const MPointArray& points, MSpace::Space space) {
    if (points.length() != mCount)
        return hx::Access::fail(MStatus::kInvalidParameter, "setAllPositions needs one point per geometry point");
    if (mCount == 0) return MStatus();
    const MMatrix toLocal = space == MSpace::kWorld ? mLocalToWorld.inverse() : MMatrix();
    const MPoint* in = &points[0];
    for (unsigned int i = 0; i < mCount; ++i) {
        const MPoint local = space == MSpace::kWorld ? in[i] * toLocal : in[i];
        double* p = mPoints + 3 * i;
        p[0] = local.x;
        p[1] = local.y;
        p[2] = local.z;
    }
    return MStatus();
}
