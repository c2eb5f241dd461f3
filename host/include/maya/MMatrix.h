#ifndef _MMatrix
#define _MMatrix
//
// MMatrix: a 4x4 double matrix, [row][col]; points multiply it as row vectors, so the
// translation lives in row 3 and p*A*B applies A first.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

#define MMatrix_kTol 1.0e-10

class OPENMAYA_EXPORT MMatrix
{
public:
    MMatrix();
    MMatrix(const MMatrix& src);
    MMatrix(const double m[4][4]);
    MMatrix(const float m[4][4]);
    ~MMatrix();

    MMatrix& operator=(const MMatrix& src);
    double operator()(unsigned int row, unsigned int col) const;
    double& operator()(unsigned int row, unsigned int col);
    const double* operator[](unsigned int row) const;
    double* operator[](unsigned int row);

    MMatrix operator*(const MMatrix& right) const;
    MMatrix& operator*=(const MMatrix& right);
    MMatrix operator*(double scale) const;
    MMatrix operator+(const MMatrix& right) const;
    MMatrix operator-(const MMatrix& right) const;
    bool operator==(const MMatrix& other) const;
    bool operator!=(const MMatrix& other) const;

    MMatrix inverse() const;
    MMatrix transpose() const;
    MMatrix& setToIdentity();
    double det4x4() const;
    double det3x3() const;
    bool isEquivalent(const MMatrix& other, double tolerance = MMatrix_kTol) const;
    MStatus get(double dest[4][4]) const;

    static const MMatrix identity;

    double matrix[4][4];
};

#endif /* __cplusplus */
#endif /* _MMatrix */
