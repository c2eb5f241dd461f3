#ifndef _MFloatPoint
#define _MFloatPoint
//
// MFloatPoint: a homogeneous point of four floats (x, y, z, w); it multiplies matrices as a
// row vector.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MFloatVector.h>

#define MFloatPoint_kTol 1.0e-5F

class MFloatMatrix;
class MPoint;

class OPENMAYA_EXPORT MFloatPoint
{
public:
    MFloatPoint();
    MFloatPoint(const MFloatPoint& src);
    MFloatPoint(const MFloatVector& src);
    MFloatPoint(float xx, float yy, float zz = 0.0, float ww = 1.0);
    MFloatPoint(const float d[4]);
    MFloatPoint(const double d[4]);
    ~MFloatPoint();

    MFloatPoint& operator=(const MFloatPoint& src);
    // Takes a double-precision point's coordinates, rounded to floats.
    MStatus setCast(const MPoint& src);
    float operator()(unsigned int i) const;
    float operator[](unsigned int i) const;
    float& operator[](unsigned int i);

    MFloatVector operator-(const MFloatPoint& other) const;
    MFloatPoint operator+(const MFloatVector& vector) const;
    MFloatPoint& operator+=(const MFloatVector& vector);
    MFloatPoint operator-(const MFloatVector& vector) const;
    MFloatPoint& operator-=(const MFloatVector& vector);
    MFloatPoint operator*(const MFloatMatrix& matrix) const;
    MFloatPoint& operator*=(const MFloatMatrix& matrix);
    bool operator==(const MFloatPoint& other) const;
    bool operator!=(const MFloatPoint& other) const;

    float distanceTo(const MFloatPoint& other) const;
    bool isEquivalent(const MFloatPoint& other, float tolerance = MFloatPoint_kTol) const;
    MFloatPoint& cartesianize();
    MStatus get(float dest[4]) const;
    MStatus get(double dest[4]) const;

    static const MFloatPoint origin;

    float x;
    float y;
    float z;
    float w;
};

#endif /* __cplusplus */
#endif /* _MFloatPoint */
