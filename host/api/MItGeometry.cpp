#include <maya/MItGeometry.h>
#include <maya/MPointArray.h>

#include <cstddef>
#include <new>

#include "../engine/Data.h"
#include "../engine/FreshMemory.h"
#include "../engine/PoolShares.h"
#include "ArrayStorage.h"
#include "FnSet.h"

namespace hx {

MItGeometry* Access::newIterator() { return new MItGeometry(); }

// The iterator reads the points where the geometry keeps them, which may be shared with the
// geometry upstream (the deformer's input); the first write gives the geometry its own.
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
    double* p = hx::Access::as<hx::MeshData>(mGeometry)->writablePoints();
    mPoints = p;
    p += 3 * std::size_t(mIndex);
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
    // Each point is built once, straight in the array's storage, on the host's threads: this
    // runs on the deformer's calling thread, before its own tasks can start.
    const double* in = mPoints;
    const MMatrix m = mLocalToWorld;
    const bool world = space == MSpace::kWorld;
    return hx::Access::storage(points).generate(mCount, [in, &m, world](MPoint* out, unsigned int count) {
        hx::inPoolShares(count, [in, &m, world, out](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                const double* p = in + 3 * i;
                if (world)
                    new (out + i) MPoint(MPoint(p[0], p[1], p[2]) * m);
                else
                    new (out + i) MPoint(p[0], p[1], p[2], 1.0);
            }
        });
    });
}

MStatus MItGeometry::setAllPositions(const MPointArray& points, MSpace::Space space) {
    if (points.length() != mCount)
        return hx::Access::fail(MStatus::kInvalidParameter, "setAllPositions needs one point per geometry point");
    if (mCount == 0) return MStatus();
    hx::MeshData* mesh = hx::Access::as<hx::MeshData>(mGeometry);
    if (mesh->sharesPoints()) {
        // Every point is replaced: new storage rather than a copy of the shared points.
        hx::MeshData::Points fresh;
        hx::reserveFresh(fresh, 3 * std::size_t(mCount));
        fresh.resize(3 * std::size_t(mCount));
        mesh->replacePoints(std::move(fresh));
    }
    double* out = mesh->writablePoints();
    const MPoint* in = &points[0];
    const bool world = space == MSpace::kWorld;
    const MMatrix toLocal = world ? mLocalToWorld.inverse() : MMatrix();
    // Coordinates are stored as given (no division by w), as deformers expect.
    hx::inPoolShares(mCount, [in, out, world, &toLocal](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            double* p = out + 3 * i;
            if (world) {
                const MPoint local = in[i] * toLocal;
                p[0] = local.x;
                p[1] = local.y;
                p[2] = local.z;
            } else {
                p[0] = in[i].x;
                p[1] = in[i].y;
                p[2] = in[i].z;
            }
        }
    });
    mPoints = mesh->pointData();
    return MStatus();
}
