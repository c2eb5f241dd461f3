#include "FloatWidening.h"

using hx::narrow;
using hx::wide;

const MFloatPoint MFloatPoint::origin(0.0f, 0.0f, 0.0f, 1.0f);

// Every constructor comes down to the one from four floats.
MFloatPoint::MFloatPoint(float xx, float yy, float zz, float ww) : x(xx), y(yy), z(zz), w(ww) {}
MFloatPoint::MFloatPoint() : MFloatPoint(0.0f, 0.0f, 0.0f) {}
MFloatPoint::MFloatPoint(const MFloatPoint&) = default;
MFloatPoint::MFloatPoint(const MFloatVector& s) : MFloatPoint(s.x, s.y, s.z) {}
MFloatPoint::MFloatPoint(const float d[4]) : MFloatPoint(d[0], d[1], d[2], d[3]) {}
MFloatPoint::MFloatPoint(const double d[4]) : MFloatPoint(narrow(MPoint(d))) {}
MFloatPoint::~MFloatPoint() {}

MFloatPoint& MFloatPoint::operator=(const MFloatPoint&) = default;
MStatus MFloatPoint::setCast(const MPoint& src) {
    *this = narrow(src);
    return MStatus::kSuccess;
}
float MFloatPoint::operator()(unsigned int i) const { return (*this)[i]; }
float MFloatPoint::operator[](unsigned int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
float& MFloatPoint::operator[](unsigned int i) { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }

MFloatVector MFloatPoint::operator-(const MFloatPoint& o) const { return narrow(wide(*this) - wide(o)); }
MFloatPoint MFloatPoint::operator+(const MFloatVector& v) const { return narrow(wide(*this) + wide(v)); }
MFloatPoint& MFloatPoint::operator+=(const MFloatVector& v) { return *this = *this + v; }
MFloatPoint MFloatPoint::operator-(const MFloatVector& v) const { return narrow(wide(*this) - wide(v)); }
MFloatPoint& MFloatPoint::operator-=(const MFloatVector& v) { return *this = *this - v; }
MFloatPoint MFloatPoint::operator*(const MFloatMatrix& m) const { return narrow(wide(*this) * wide(m)); }
MFloatPoint& MFloatPoint::operator*=(const MFloatMatrix& m) { return *this = *this * m; }
bool MFloatPoint::operator==(const MFloatPoint& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
bool MFloatPoint::operator!=(const MFloatPoint& o) const { return !(*this == o); }

float MFloatPoint::distanceTo(const MFloatPoint& o) const { return float(wide(*this).distanceTo(wide(o))); }
bool MFloatPoint::isEquivalent(const MFloatPoint& o, float tolerance) const {
    return wide(*this).isEquivalent(wide(o), tolerance);
}
MFloatPoint& MFloatPoint::cartesianize() { return *this = narrow(wide(*this).cartesianize()); }
MStatus MFloatPoint::get(float dest[4]) const {
    for (unsigned int i = 0; i < 4; ++i) dest[i] = (*this)[i];
    return MStatus::kSuccess;
}
MStatus MFloatPoint::get(double dest[4]) const { return wide(*this).get(dest); }
