// A mesh's points, shared between copies until one of them writes.
#include "Data.h"
#include "FreshMemory.h"

namespace hx {

double* MeshData::writablePoints() {
    if (mPoints.use_count() > 1) {
        auto own = std::make_shared<Points>();
        reserveFresh(*own, mPoints->size());
        own->assign(mPoints->begin(), mPoints->end());
        mPoints = std::move(own);
    }
    return mPoints->empty() ? nullptr : mPoints->data();
}

void MeshData::replacePoints(Points points) {
    if (mPoints.use_count() > 1)
        mPoints = std::make_shared<Points>(std::move(points));
    else
        mPoints->swap(points);  // the old points are freed as `points` goes
}

}  // namespace hx
