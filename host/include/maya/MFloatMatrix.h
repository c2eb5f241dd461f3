#ifndef _MFloatMatrix
#define _MFloatMatrix
//
// MFloatMatrix: a 4x4 single-precision matrix, [row][col], row-vector convention.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

class OPENMAYA_EXPORT MFloatMatrix
{
public:
    MFloatMatrix();
    MFloatMatrix(const MFloatMatrix& src);
    MFloatMatrix(const float m[4][4]);
    MFloatMatrix(const double m[4][4]);
    ~MFloatMatrix();

    MFloatMatrix& operator=(const MFloatMatrix& src);
    float operator()(unsigned int row, unsigned int col) const;
    float& operator()(unsigned int row, unsigned int col);
    const float* operator[](unsigned int row) const;
    float* operator[](unsigned int row);
    MFloatMatrix operator*(const MFloatMatrix& right) const;
    bool operator==(const MFloatMatrix& other) const;
    bool operator!=(const MFloatMatrix& other) const;
    MFloatMatrix& setToIdentity();
    MStatus get(float dest[4][4]) const;

    float matrix[4][4];
};

#endif /* __cplusplus */
#endif /* _MFloatMatrix */
