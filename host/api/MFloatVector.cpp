#include "FloatWidening.h"

#include <cmath>

using hx::narrow;
using hx::wide;

const MFloatVector MFloatVector::zero(0.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::one(1.0f, 1.0f, 1.0f);
const MFloatVector MFloatVector::xAxis(1.0f, 0.0f, 0.0f);
const MFloatVector MFloatVector::yAxis(0.0f, 1.0f, 0.0f);
const MFloatVector MFloatVector::zAxis(0.0f, 0.0f, 1.0f);

// Every constructor comes down to the one from three floats.
MFloatVector::MFloatVector(float xx, float yy, float zz) : x(xx), y(yy), z(zz) {}
MFloatVector::MFloatVector() : MFloatVector(0.0f, 0.0f, 0.0f) {}
MFloatVector::MFloatVector(const MFloatVector&) = default;
MFloatVector::MFloatVector(const MFloatPoint& src) : MFloatVector(src.x, src.y, src.z) {}
MFloatVector::MFloatVector(const MVector& src) : MFloatVector(narrow(src)) {}
MFloatVector::MFloatVector(const float d[3]) : MFloatVector(d[0], d[1], d[2]) {}
MFloatVector::~MFloatVector() {}

MFloatVector& MFloatVector::operator=(const MFloatVector&) = default;
float MFloatVector::operator()(unsigned int i) const { return (*this)[i]; }
float MFloatVector::operator[](unsigned int i) const { return i == 0 ? x : i == 1 ? y : z; }
float& MFloatVector::operator[](unsigned int i) { return i == 0 ? x : i == 1 ? y : z; }

MFloatVector MFloatVector::operator+(const MFloatVector& o) const { return narrow(wide(*this) + wide(o)); }
MFloatVector& MFloatVector::operator+=(const MFloatVector& o) { return *this = *this + o; }
MFloatVector MFloatVector::operator-(const MFloatVector& o) const { return narrow(wide(*this) - wide(o)); }
MFloatVector& MFloatVector::operator-=(const MFloatVector& o) { return *this = *this - o; }
MFloatVector MFloatVector::operator-() const { return MFloatVector(-x, -y, -z); }
MFloatVector MFloatVector::operator*(float s) const { return narrow(wide(*this) * s); }
MFloatVector& MFloatVector::operator*=(float s) { return *this = *this * s; }
MFloatVector MFloatVector::operator/(float s) const { return narrow(wide(*this) / s); }
MFloatVector& MFloatVector::operator/=(float s) { return *this = *this / s; }
float MFloatVector::operator*(const MFloatVector& o) const { return float(wide(*this) * wide(o)); }
MFloatVector MFloatVector::operator^(const MFloatVector& o) const { return narrow(wide(*this) ^ wide(o)); }
MFloatVector MFloatVector::operator*(const MFloatMatrix& m) const { return narrow(wide(*this) * wide(m)); }
MFloatVector& MFloatVector::operator*=(const MFloatMatrix& m) { return *this = *this * m; }
bool MFloatVector::operator==(const MFloatVector& o) const { return x == o.x && y == o.y && z == o.z; }
bool MFloatVector::operator!=(const MFloatVector& o) const { return !(*this == o); }

float MFloatVector::length() const { return float(wide(*this).length()); }
MFloatVector MFloatVector::normal() const { return narrow(wide(*this).normal()); }
MStatus MFloatVector::normalize() {
    MVector v = wide(*this);
    const MStatus status = v.normalize();
    if (status) *this = narrow(v);
    return status;
}
float MFloatVector::angle(const MFloatVector& o) const {
    const double lengths = wide(*this).length() * wide(o).length();
    if (lengths == 0.0) return 0.0f;
    double c = (wide(*this) * wide(o)) / lengths;
    c = c > 1.0 ? 1.0 : c < -1.0 ? -1.0 : c;
    return float(std::acos(c));
}
bool MFloatVector::isEquivalent(const MFloatVector& o, float tolerance) const {
    return wide(*this).isEquivalent(wide(o), tolerance);
}
MStatus MFloatVector::get(float dest[3]) const {
    for (unsigned int i = 0; i < 3; ++i) dest[i] = (*this)[i];
    return MStatus::kSuccess;
}
MFloatVector operator*(float scale, const MFloatVector& vector) { return vector * scale; }
