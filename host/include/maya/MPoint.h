#ifndef _MPoint
#define _MPoint
//
// MPoint: a homogeneous point (x, y, z, w); it multiplies matrices as a row vector.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#define MPoint_kTol 1.0e-10

class MMatrix;

class OPENMAYA_EXPORT MPoint
{
public:
    MPoint();
    MPoint(const MPoint& src);
    MPoint(const MVector& src);
    MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0);
    MPoint(const double d[4]);
    MPoint(const float d[4]);
    ~MPoint();

    MPoint& operator=(const MPoint& src);
    double operator[](unsigned int i) const;
    double& operator[](unsigned int i);

    MPoint operator*(const MMatrix& matrix) const;
    MPoint& operator*=(const MMatrix& matrix);
    MVector operator-(const MPoint& other) const;
    MPoint operator+(const MVector& other) const;
    MPoint& operator+=(const MVector& other);
    MPoint operator-(const MVector& other) const;
    MPoint& operator-=(const MVector& other);
    MPoint operator*(double scale) const;
    bool operator==(const MPoint& other) const;
    bool operator!=(const MPoint& other) const;

    double distanceTo(const MPoint& other) const;
    bool isEquivalent(const MPoint& other, double tolerance = MPoint_kTol) const;
    MPoint& cartesianize();
    MStatus get(double dest[4]) const;

    static const MPoint origin;

    double x;
    double y;
    double z;
    double w;
};

#endif /* __cplusplus */
#endif /* _MPoint */
