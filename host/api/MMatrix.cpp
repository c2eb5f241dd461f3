#include <maya/MFloatMatrix.h>
#include <maya/MMatrix.h>

#include <cmath>
#include <cstring>

namespace {

// Out-of-range indices are clamped to the last row or column rather than read outside the array.
unsigned int within(unsigned int index) { return index < 4 ? index : 3; }

}  // namespace

const MMatrix MMatrix::identity;

MMatrix::MMatrix() { setToIdentity(); }
MMatrix::MMatrix(const MMatrix&) = default;
MMatrix::MMatrix(const double m[4][4]) { memcpy(matrix, m, sizeof matrix); }
MMatrix::MMatrix(const float m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) matrix[r][c] = m[r][c];
}
MMatrix::~MMatrix() {}

MMatrix& MMatrix::operator=(const MMatrix&) = default;
double MMatrix::operator()(unsigned int row, unsigned int col) const { return matrix[within(row)][within(col)]; }
double& MMatrix::operator()(unsigned int row, unsigned int col) { return matrix[within(row)][within(col)]; }
const double* MMatrix::operator[](unsigned int row) const { return matrix[within(row)]; }
double* MMatrix::operator[](unsigned int row) { return matrix[within(row)]; }

MMatrix MMatrix::operator*(const MMatrix& right) const {
    MMatrix result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += matrix[r][k] * right.matrix[k][c];
            result.matrix[r][c] = sum;
        }
    return result;
}
MMatrix& MMatrix::operator*=(const MMatrix& right) { return *this = *this * right; }
MMatrix MMatrix::operator*(double scale) const {
    MMatrix result(*this);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.matrix[r][c] *= scale;
    return result;
}
MMatrix MMatrix::operator+(const MMatrix& right) const {
    MMatrix result(*this);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.matrix[r][c] += right.matrix[r][c];
    return result;
}
MMatrix MMatrix::operator-(const MMatrix& right) const {
    MMatrix result(*this);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.matrix[r][c] -= right.matrix[r][c];
    return result;
}
// Element by element: 0 and -0 are equal, a NaN equals nothing.
bool MMatrix::operator==(const MMatrix& other) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(matrix[r][c] == other.matrix[r][c])) return false;
    return true;
}
bool MMatrix::operator!=(const MMatrix& other) const { return !(*this == other); }

// Gauss-Jordan elimination with partial pivoting. A singular matrix has no inverse: the
// result is then the identity, so callers never carry infinities or NaNs into geometry.
MMatrix MMatrix::inverse() const {
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = matrix[r][c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        if (a[pivot][col] == 0.0) return MMatrix();
        if (pivot != col)
            for (int c = 0; c < 8; ++c) std::swap(a[col][c], a[pivot][c]);
        const double inv = 1.0 / a[col][col];
        for (int c = 0; c < 8; ++c) a[col][c] *= inv;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0) continue;
            const double f = a[r][col];
            for (int c = 0; c < 8; ++c) a[r][c] -= f * a[col][c];
        }
    }
    MMatrix result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.matrix[r][c] = a[r][c + 4];
    return result;
}

MMatrix MMatrix::transpose() const {
    MMatrix result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.matrix[r][c] = matrix[c][r];
    return result;
}

MMatrix& MMatrix::setToIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) matrix[r][c] = r == c ? 1.0 : 0.0;
    return *this;
}

double MMatrix::det3x3() const {
    const double(*m)[4] = matrix;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

double MMatrix::det4x4() const {
    double det = 0.0;
    for (int c = 0; c < 4; ++c) {
        double minor[3][3];
        for (int r = 1; r < 4; ++r)
            for (int k = 0, mc = 0; k < 4; ++k)
                if (k != c) minor[r - 1][mc++] = matrix[r][k];
        const double d = minor[0][0] * (minor[1][1] * minor[2][2] - minor[1][2] * minor[2][1]) -
                         minor[0][1] * (minor[1][0] * minor[2][2] - minor[1][2] * minor[2][0]) +
                         minor[0][2] * (minor[1][0] * minor[2][1] - minor[1][1] * minor[2][0]);
        det += (c % 2 ? -1.0 : 1.0) * matrix[0][c] * d;
    }
    return det;
}

bool MMatrix::isEquivalent(const MMatrix& other, double tolerance) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(matrix[r][c] - other.matrix[r][c]) > tolerance) return false;
    return true;
}

MStatus MMatrix::get(double dest[4][4]) const {
    memcpy(dest, matrix, sizeof matrix);
    return MStatus::kSuccess;
}

// The single-precision matrix keeps its own floats and does its arithmetic through the
// double-precision one, rounding the result once.
MFloatMatrix::MFloatMatrix() { setToIdentity(); }
MFloatMatrix::MFloatMatrix(const MFloatMatrix&) = default;
MFloatMatrix::MFloatMatrix(const float m[4][4]) { memcpy(matrix, m, sizeof matrix); }
MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) matrix[r][c] = static_cast<float>(m[r][c]);
}
MFloatMatrix::~MFloatMatrix() {}
MFloatMatrix& MFloatMatrix::operator=(const MFloatMatrix&) = default;
float MFloatMatrix::operator()(unsigned int row, unsigned int col) const { return matrix[within(row)][within(col)]; }
float& MFloatMatrix::operator()(unsigned int row, unsigned int col) { return matrix[within(row)][within(col)]; }
const float* MFloatMatrix::operator[](unsigned int row) const { return matrix[within(row)]; }
float* MFloatMatrix::operator[](unsigned int row) { return matrix[within(row)]; }
MFloatMatrix MFloatMatrix::operator*(const MFloatMatrix& right) const {
    return MFloatMatrix((MMatrix(matrix) * MMatrix(right.matrix)).matrix);
}
bool MFloatMatrix::operator==(const MFloatMatrix& other) const { return MMatrix(matrix) == MMatrix(other.matrix); }
bool MFloatMatrix::operator!=(const MFloatMatrix& other) const { return !(*this == other); }
MFloatMatrix& MFloatMatrix::setToIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) matrix[r][c] = r == c ? 1.0f : 0.0f;
    return *this;
}
MStatus MFloatMatrix::get(float dest[4][4]) const {
    memcpy(dest, matrix, sizeof matrix);
    return MStatus::kSuccess;
}
