#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <cmath>

const MPoint MPoint::origin(0.0, 0.0, 0.0, 1.0);

MPoint::MPoint() : x(0.0), y(0.0), z(0.0), w(1.0) {}
MPoint::MPoint(const MPoint&) = default;
MPoint::MPoint(const MVector& s) : x(s.x), y(s.y), z(s.z), w(1.0) {}
MPoint::MPoint(double xx, double yy, double zz, double ww) : x(xx), y(yy), z(zz), w(ww) {}
MPoint::MPoint(const double d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
MPoint::MPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
MPoint::~MPoint() {}

MPoint& MPoint::operator=(const MPoint&) = default;
double MPoint::operator[](unsigned int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
double& MPoint::operator[](unsigned int i) { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }

// Row vector times matrix: x' = x*m00 + y*m10 + z*m20 + w*m30, and so on per column.
MPoint MPoint::operator*(const MMatrix& m) const {
    const double(*a)[4] = m.matrix;
    return MPoint(
        x * a[0][0] + y * a[1][0] + z * a[2][0] + w * a[3][0], x * a[0][1] + y * a[1][1] + z * a[2][1] + w * a[3][1],
        x * a[0][2] + y * a[1][2] + z * a[2][2] + w * a[3][2], x * a[0][3] + y * a[1][3] + z * a[2][3] + w * a[3][3]);
}
MPoint& MPoint::operator*=(const MMatrix& m) { return *this = *this * m; }
MVector MPoint::operator-(const MPoint& o) const { return MVector(x - o.x, y - o.y, z - o.z); }
MPoint MPoint::operator+(const MVector& v) const { return MPoint(x + v.x, y + v.y, z + v.z, w); }
MPoint& MPoint::operator+=(const MVector& v) { return *this = *this + v; }
MPoint MPoint::operator-(const MVector& v) const { return MPoint(x - v.x, y - v.y, z - v.z, w); }
MPoint& MPoint::operator-=(const MVector& v) { return *this = *this - v; }
MPoint MPoint::operator*(double s) const { return MPoint(x * s, y * s, z * s, w); }
bool MPoint::operator==(const MPoint& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
bool MPoint::operator!=(const MPoint& o) const { return !(*this == o); }

double MPoint::distanceTo(const MPoint& o) const { return (*this - o).length(); }
bool MPoint::isEquivalent(const MPoint& o, double tolerance) const {
    return std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance && std::fabs(z - o.z) <= tolerance &&
           std::fabs(w - o.w) <= tolerance;
}
MPoint& MPoint::cartesianize() {
    if (w != 0.0 && w != 1.0) {
        x /= w;
        y /= w;
        z /= w;
        w = 1.0;
    }
    return *this;
}
MStatus MPoint::get(double dest[4]) const {
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    dest[3] = w;
    return MStatus::kSuccess;
}
