#include <maya/MItGeometry.h>
#include <maya/MPointArray.h>

#include <cstddef>
#include <iterator>
#include <new>

#include "../engine/Data.h"
#include "../engine/FreshMemory.h"
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
    // Each point is built once, straight in the array's storage: a call per point would cost
    // a large mesh more than the copy itself, and this runs on the deformer's calling thread,
    // before its tasks.
    const double* in = mPoints;
    if (space == MSpace::kWorld) {
        const MMatrix& m = mLocalToWorld;
        return hx::Access::storage(points).generate(mCount, [in, &m](MPoint* at, unsigned int i) {
            const double* p = in + 3 * std::size_t(i);
            new (at) MPoint(MPoint(p[0], p[1], p[2]) * m);
        });
    }
    return hx::Access::storage(points).generate(mCount, [in](MPoint* at, unsigned int i) {
        const double* p = in + 3 * std::size_t(i);
        new (at) MPoint(p[0], p[1], p[2], 1.0);
    });
}

namespace {

// The x, y, z of a run of points, one coordinate after another: fills a mesh's points
// from an MPointArray in one pass, each coordinate written once.
class Coordinates {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = double;
    using difference_type = std::ptrdiff_t;
    using pointer = const double*;
    using reference = const double&;

    Coordinates(const MPoint* point, int axis) : mPoint(point), mAxis(axis) {}
    const double& operator*() const { return mAxis == 0 ? mPoint->x : mAxis == 1 ? mPoint->y : mPoint->z; }
    Coordinates& operator++() {
        if (++mAxis == 3) {
            mAxis = 0;
            ++mPoint;
        }
        return *this;
    }
    Coordinates operator++(int) {
        Coordinates before = *this;
        ++*this;
        return before;
    }
    Coordinates& operator--() { return *this += -1; }
    Coordinates operator--(int) {
        Coordinates before = *this;
        --*this;
        return before;
    }
    Coordinates& operator-=(difference_type n) { return *this += -n; }
    Coordinates operator-(difference_type n) const { return Coordinates(*this) += -n; }
    const double& operator[](difference_type n) const { return *(*this + n); }
    bool operator<(const Coordinates& other) const { return *this - other < 0; }
    Coordinates& operator+=(difference_type n) {
        const difference_type at = mAxis + n;
        const difference_type points = at >= 0 ? at / 3 : -((2 - at) / 3);
        mPoint += points;
        mAxis = static_cast<int>(at - 3 * points);
        return *this;
    }
    Coordinates operator+(difference_type n) const { return Coordinates(*this) += n; }
    difference_type operator-(const Coordinates& other) const {
        return 3 * (mPoint - other.mPoint) + (mAxis - other.mAxis);
    }
    bool operator==(const Coordinates& other) const { return mPoint == other.mPoint && mAxis == other.mAxis; }
    bool operator!=(const Coordinates& other) const { return !(*this == other); }

private:
    const MPoint* mPoint;
    int mAxis;
};

}  // namespace

MStatus MItGeometry::setAllPositions(const MPointArray& points, MSpace::Space space) {
    if (points.length() != mCount)
        return hx::Access::fail(MStatus::kInvalidParameter, "setAllPositions needs one point per geometry point");
    if (mCount == 0) return MStatus();
    hx::MeshData* mesh = hx::Access::as<hx::MeshData>(mGeometry);
    const MPoint* in = &points[0];
    if (space == MSpace::kWorld) {
        const MMatrix toLocal = mLocalToWorld.inverse();
        double* out = mesh->writablePoints();
        for (unsigned int i = 0; i < mCount; ++i) {
            const MPoint local = in[i] * toLocal;
            double* p = out + 3 * std::size_t(i);
            p[0] = local.x;
            p[1] = local.y;
            p[2] = local.z;
        }
    } else if (mesh->sharesPoints()) {
        // Every point is replaced: fresh storage, written once, instead of a copy of the
        // shared points overwritten.
        hx::MeshData::Points fresh;
        hx::reserveFresh(fresh, 3 * std::size_t(mCount));
        fresh.assign(Coordinates(in, 0), Coordinates(in + mCount, 0));
        mesh->replacePoints(std::move(fresh));
    } else {
        double* out = mesh->writablePoints();
        for (unsigned int i = 0; i < mCount; ++i) {
            double* p = out + 3 * std::size_t(i);
            p[0] = in[i].x;
            p[1] = in[i].y;
            p[2] = in[i].z;
        }
    }
    mPoints = mesh->pointData();
    return MStatus();
}
