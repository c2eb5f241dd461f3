#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <cmath>

const MVector MVector::zero(0.0, 0.0, 0.0);
const MVector MVector::one(1.0, 1.0, 1.0);
const MVector MVector::xAxis(1.0, 0.0, 0.0);
const MVector MVector::yAxis(0.0, 1.0, 0.0);
const MVector MVector::zAxis(0.0, 0.0, 1.0);

MVector::MVector() : x(0.0), y(0.0), z(0.0) {}
MVector::MVector(const MVector&) = default;
MVector::MVector(const MPoint& src) : x(src.x), y(src.y), z(src.z) {}
MVector::MVector(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
MVector::MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
MVector::~MVector() {}

MVector& MVector::operator=(const MVector&) = default;
double MVector::operator()(unsigned int i) const { return (*this)[i]; }
double MVector::operator[](unsigned int i) const { return i == 0 ? x : i == 1 ? y : z; }
double& MVector::operator[](unsigned int i) { return i == 0 ? x : i == 1 ? y : z; }

MVector MVector::operator+(const MVector& o) const { return MVector(x + o.x, y + o.y, z + o.z); }
MVector& MVector::operator+=(const MVector& o) { return *this = *this + o; }
MVector MVector::operator-(const MVector& o) const { return MVector(x - o.x, y - o.y, z - o.z); }
MVector& MVector::operator-=(const MVector& o) { return *this = *this - o; }
MVector MVector::operator-() const { return MVector(-x, -y, -z); }
MVector MVector::operator*(double s) const { return MVector(x * s, y * s, z * s); }
MVector& MVector::operator*=(double s) { return *this = *this * s; }
MVector MVector::operator/(double s) const { return MVector(x / s, y / s, z / s); }
MVector& MVector::operator/=(double s) { return *this = *this / s; }
double MVector::operator*(const MVector& o) const { return x * o.x + y * o.y + z * o.z; }
MVector MVector::operator^(const MVector& o) const {
    return MVector(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}
// A direction ignores the translation row.
MVector MVector::operator*(const MMatrix& m) const {
    return MVector(x * m.matrix[0][0] + y * m.matrix[1][0] + z * m.matrix[2][0],
                   x * m.matrix[0][1] + y * m.matrix[1][1] + z * m.matrix[2][1],
                   x * m.matrix[0][2] + y * m.matrix[1][2] + z * m.matrix[2][2]);
}
MVector& MVector::operator*=(const MMatrix& m) { return *this = *this * m; }
bool MVector::operator==(const MVector& o) const { return x == o.x && y == o.y && z == o.z; }
bool MVector::operator!=(const MVector& o) const { return !(*this == o); }

double MVector::length() const { return std::sqrt(x * x + y * y + z * z); }
MVector MVector::normal() const {
    MVector copy(*this);
    copy.normalize();
    return copy;
}
MStatus MVector::normalize() {
    const double len = length();
    if (len == 0.0) return MStatus::kFailure;
    x /= len;
    y /= len;
    z /= len;
    return MStatus::kSuccess;
}
bool MVector::isEquivalent(const MVector& o, double tolerance) const {
    return std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance && std::fabs(z - o.z) <= tolerance;
}
MStatus MVector::get(double dest[3]) const {
    dest[0] = x;
    dest[1] = y;
    dest[2] = z;
    return MStatus::kSuccess;
}
MVector operator*(double scale, const MVector& vector) { return vector * scale; }
