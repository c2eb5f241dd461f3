#include <maya/MBoundingBox.h>
#include <maya/MMatrix.h>

#include <algorithm>

MBoundingBox::MBoundingBox() : mEmpty(true) {}
MBoundingBox::MBoundingBox(const MBoundingBox&) = default;
MBoundingBox::MBoundingBox(const MPoint& corner1, const MPoint& corner2) : mEmpty(true) {
    expand(corner1);
    expand(corner2);
}
MBoundingBox::~MBoundingBox() {}

MBoundingBox& MBoundingBox::operator=(const MBoundingBox&) = default;

void MBoundingBox::clear() {
    mMin = mMax = MPoint();
    mEmpty = true;
}

void MBoundingBox::expand(const MPoint& p) {
    if (mEmpty) {
        mMin = mMax = MPoint(p.x, p.y, p.z);
        mEmpty = false;
        return;
    }
    mMin = MPoint(std::min(mMin.x, p.x), std::min(mMin.y, p.y), std::min(mMin.z, p.z));
    mMax = MPoint(std::max(mMax.x, p.x), std::max(mMax.y, p.y), std::max(mMax.z, p.z));
}

void MBoundingBox::expand(const MBoundingBox& box) {
    if (box.mEmpty) return;
    expand(box.mMin);
    expand(box.mMax);
}

void MBoundingBox::transformUsing(const MMatrix& matrix) {
    if (mEmpty) return;
    const MPoint lo = mMin, hi = mMax;
    mEmpty = true;
    for (int i = 0; i < 8; ++i) {
        MPoint corner((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
        expand((corner * matrix).cartesianize());
    }
}

bool MBoundingBox::contains(const MPoint& p) const {
    return !mEmpty && p.x >= mMin.x && p.x <= mMax.x && p.y >= mMin.y && p.y <= mMax.y && p.z >= mMin.z &&
           p.z <= mMax.z;
}

bool MBoundingBox::intersects(const MBoundingBox& b, double tol) const {
    if (mEmpty || b.mEmpty) return false;
    return mMin.x <= b.mMax.x + tol && b.mMin.x <= mMax.x + tol && mMin.y <= b.mMax.y + tol &&
           b.mMin.y <= mMax.y + tol && mMin.z <= b.mMax.z + tol && b.mMin.z <= mMax.z + tol;
}

double MBoundingBox::width() const { return mEmpty ? 0.0 : mMax.x - mMin.x; }
double MBoundingBox::height() const { return mEmpty ? 0.0 : mMax.y - mMin.y; }
double MBoundingBox::depth() const { return mEmpty ? 0.0 : mMax.z - mMin.z; }
MPoint MBoundingBox::center() const {
    return MPoint((mMin.x + mMax.x) / 2, (mMin.y + mMax.y) / 2, (mMin.z + mMax.z) / 2);
}
MPoint MBoundingBox::min() const { return mMin; }
MPoint MBoundingBox::max() const { return mMax; }
