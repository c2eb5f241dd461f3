#ifndef _MFloatVector
#define _MFloatVector
//
// MFloatVector: a direction or offset of three floats.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define MFloatVector_kTol 1.0e-5F

class MFloatPoint;
class MFloatMatrix;
class MVector;

class OPENMAYA_EXPORT MFloatVector
{
public:
    MFloatVector();
    MFloatVector(const MFloatVector& src);
    MFloatVector(const MFloatPoint& src);
    MFloatVector(const MVector& src);
    MFloatVector(float xx, float yy, float zz = 0.0);
    MFloatVector(const float d[3]);
    ~MFloatVector();

    MFloatVector& operator=(const MFloatVector& src);
    float operator()(unsigned int i) const;
    float operator[](unsigned int i) const;
    float& operator[](unsigned int i);

    MFloatVector operator+(const MFloatVector& other) const;
    MFloatVector& operator+=(const MFloatVector& other);
    MFloatVector operator-(const MFloatVector& other) const;
    MFloatVector& operator-=(const MFloatVector& other);
    MFloatVector operator-() const;
    MFloatVector operator*(float scale) const;
    MFloatVector& operator*=(float scale);
    MFloatVector operator/(float scale) const;
    MFloatVector& operator/=(float scale);
    float operator*(const MFloatVector& other) const;
    MFloatVector operator^(const MFloatVector& other) const;
    MFloatVector operator*(const MFloatMatrix& matrix) const;
    MFloatVector& operator*=(const MFloatMatrix& matrix);
    bool operator==(const MFloatVector& other) const;
    bool operator!=(const MFloatVector& other) const;

    float length() const;
    MFloatVector normal() const;
    MStatus normalize();
    float angle(const MFloatVector& other) const;
    bool isEquivalent(const MFloatVector& other, float tolerance = MFloatVector_kTol) const;
    MStatus get(float dest[3]) const;

    friend OPENMAYA_EXPORT MFloatVector operator*(float scale, const MFloatVector& vector);

    static const MFloatVector zero;
    static const MFloatVector one;
    static const MFloatVector xAxis;
    static const MFloatVector yAxis;
    static const MFloatVector zAxis;

    float x;
    float y;
    float z;
};

#endif /* __cplusplus */
#endif /* _MFloatVector */
