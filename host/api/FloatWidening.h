// The single-precision vector and point do their arithmetic through the double-precision
// ones and round the result to floats: one rounding per operation, as float arithmetic has
// for the basic operations, and a closer result for the compound ones (dot, cross, matrix).
#pragma once

#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

namespace hx {

inline MVector wide(const MFloatVector& v) { return MVector(v.x, v.y, v.z); }
inline MPoint wide(const MFloatPoint& p) { return MPoint(p.x, p.y, p.z, p.w); }
inline MMatrix wide(const MFloatMatrix& m) { return MMatrix(m.matrix); }
inline MFloatVector narrow(const MVector& v) { return MFloatVector(float(v.x), float(v.y), float(v.z)); }
inline MFloatPoint narrow(const MPoint& p) { return MFloatPoint(float(p.x), float(p.y), float(p.z), float(p.w)); }

}  // namespace hx
