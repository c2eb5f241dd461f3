#ifndef _MVector
#define _MVector
//
// MVector: a direction or offset of three doubles.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define MVector_kTol 1.0e-10

class MPoint;
class MMatrix;

class OPENMAYA_EXPORT MVector
{
public:
    MVector();
    MVector(const MVector& src);
    MVector(const MPoint& src);
    MVector(double xx, double yy, double zz = 0.0);
    MVector(const double d[3]);
    ~MVector();

    MVector& operator=(const MVector& src);
    double operator()(unsigned int i) const;
    double operator[](unsigned int i) const;
    double& operator[](unsigned int i);

    MVector operator+(const MVector& other) const;
    MVector& operator+=(const MVector& other);
    MVector operator-(const MVector& other) const;
    MVector& operator-=(const MVector& other);
    MVector operator-() const;
    MVector operator*(double scale) const;
    MVector& operator*=(double scale);
    MVector operator/(double scale) const;
    MVector& operator/=(double scale);
    double operator*(const MVector& other) const;
    MVector operator^(const MVector& other) const;
    MVector operator*(const MMatrix& matrix) const;
    MVector& operator*=(const MMatrix& matrix);
    bool operator==(const MVector& other) const;
    bool operator!=(const MVector& other) const;

    double length() const;
    MVector normal() const;
    MStatus normalize();
    bool isEquivalent(const MVector& other, double tolerance = MVector_kTol) const;
    MStatus get(double dest[3]) const;

    friend OPENMAYA_EXPORT MVector operator*(double scale, const MVector& vector);

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;

    double x;
    double y;
    double z;
};

#endif /* __cplusplus */
#endif /* _MVector */
