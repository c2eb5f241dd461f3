#include <maya/MAngle.h>
#include <maya/MDataHandle.h>
#include <maya/MDistance.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MTime.h>
#include <maya/MVector.h>

#include <algorithm>

#include "../engine/Data.h"
#include "../engine/Engine.h"
#include "FnSet.h"

using hx::Access;
using hx::Attribute;
using hx::AttrKind;
using hx::Cell;
using hx::Value;

namespace hx {

MDataHandle Access::handle(const PlugRef& plug, Cell* cell, bool forInput) {
    MDataHandle h;
    h.mNode = plug.mNode;
    h.mAttribute = plug.mAttribute;
    store(plug.mPath, h.mPath);
    h.mCell = cell;
    h.mForInput = forInput;
    return h;
}

PlugRef Access::handlePlug(const MDataHandle& h) { return PlugRef{h.mNode, h.mAttribute, path(h.mPath)}; }

}  // namespace hx

namespace {

// What a null handle's getters return references to, so a careless caller reads zeros
// rather than crashing.
Value& scratch() {
    static Value* value = new Value();
    *value = Value();
    return *value;
}

MFnNumericData::Type numericTypeOf(const Attribute* a) {
    return a && a->kind() == AttrKind::Numeric ? a->numericType() : MFnNumericData::kInvalid;
}

// The cell's value with the field of type `wanted` refreshed from the authoritative one.
Value& view(Cell* cell, const Attribute* a, MFnNumericData::Type wanted) {
    if (!cell || !a) return scratch();
    Value& v = cell->value();
    const MFnNumericData::Type own = numericTypeOf(a);
    if (own != MFnNumericData::kInvalid && own != wanted && hx::componentCount(own) == 1 &&
        hx::componentCount(wanted) == 1)
        hx::setNumericComponent(v, wanted, 0, hx::numericComponent(v, own, 0));
    return v;
}

}  // namespace

MDataHandle::MDataHandle() : mNode(nullptr), mAttribute(nullptr), mCell(nullptr), mForInput(false) {
    Access::store(hx::ElementPath(), mPath);
}
MDataHandle::MDataHandle(const MDataHandle&) = default;
MDataHandle& MDataHandle::operator=(const MDataHandle&) = default;

bool MDataHandle::isNumeric() const { return mAttribute && mAttribute->kind() == AttrKind::Numeric; }

MFnData::Type MDataHandle::type() const {
    if (!mAttribute) return MFnData::kInvalid;
    switch (mAttribute->kind()) {
    case AttrKind::Numeric: return MFnData::kNumeric;
    case AttrKind::Matrix: return MFnData::kMatrix;
    case AttrKind::Typed: return mAttribute->dataType();
    default: return MFnData::kInvalid;
    }
}

MFnNumericData::Type MDataHandle::numericType() const { return numericTypeOf(mAttribute); }

bool& MDataHandle::asBool() const { return view(mCell, mAttribute, MFnNumericData::kBoolean).mBool; }
char& MDataHandle::asChar() const { return view(mCell, mAttribute, MFnNumericData::kChar).mChar; }
unsigned char& MDataHandle::asUChar() const { return view(mCell, mAttribute, MFnNumericData::kByte).mUChar; }
short& MDataHandle::asShort() const { return view(mCell, mAttribute, MFnNumericData::kShort).mShort; }
int& MDataHandle::asLong() const { return view(mCell, mAttribute, MFnNumericData::kInt).mInt; }
int& MDataHandle::asInt() const { return view(mCell, mAttribute, MFnNumericData::kInt).mInt; }
float& MDataHandle::asFloat() const { return view(mCell, mAttribute, MFnNumericData::kFloat).mFloat; }
double& MDataHandle::asDouble() const { return view(mCell, mAttribute, MFnNumericData::kDouble).mDouble; }
MMatrix& MDataHandle::asMatrix() const { return mCell ? mCell->value().mMatrix : scratch().mMatrix; }
double3& MDataHandle::asDouble3() const { return mCell ? mCell->value().mDouble3 : scratch().mDouble3; }
MVector& MDataHandle::asVector() const {
    if (!mCell) return scratch().mVector;
    mCell->value().mVector = MVector(mCell->value().mDouble3);
    return mCell->value().mVector;
}
MFloatVector& MDataHandle::asFloatVector() const {
    if (!mCell) return scratch().mFloatVector;
    const double* v = mCell->value().mDouble3;
    mCell->value().mFloatVector = MFloatVector(float(v[0]), float(v[1]), float(v[2]));
    return mCell->value().mFloatVector;
}
float3& MDataHandle::asFloat3() const {
    if (!mCell) return scratch().mFloat3;
    for (int i = 0; i < 3; ++i) mCell->value().mFloat3[i] = static_cast<float>(mCell->value().mDouble3[i]);
    return mCell->value().mFloat3;
}
int3& MDataHandle::asInt3() const {
    if (!mCell) return scratch().mInt3;
    for (int i = 0; i < 3; ++i) mCell->value().mInt3[i] = static_cast<int>(mCell->value().mDouble3[i]);
    return mCell->value().mInt3;
}
MString& MDataHandle::asString() const { return mCell ? mCell->value().mString : scratch().mString; }
MObject MDataHandle::data() {
    if (!mCell) return MObject();
    if (mAttribute && mAttribute->kind() == AttrKind::Typed && mAttribute->dataType() == MFnData::kString)
        return Access::wrap(new hx::StringData(mCell->value().mString));
    return mCell->value().mData;
}

// Unit values are kept in the host's internal units: centimetres, radians, film frames.
MDistance MDataHandle::asDistance() const { return MDistance(asDouble(), MDistance::kCentimeters); }
MAngle MDataHandle::asAngle() const { return MAngle(asDouble(), MAngle::kRadians); }
MTime MDataHandle::asTime() const { return MTime(asDouble(), MTime::kFilm); }

namespace {

// Writes numbers into the handle's plug: the components of a numeric attribute, or the
// children of a compound of numerics.
void setNumbers(MDataHandle& handle, Cell* cell, const Attribute* a, const double* values, int count) {
    if (!cell || !a) return;
    if (a->kind() == AttrKind::Numeric) {
        for (int i = 0; i < count && i < hx::componentCount(a->numericType()); ++i)
            hx::setNumericComponent(cell->value(), a->numericType(), i, values[i]);
        return;
    }
    if (a->kind() == AttrKind::Compound) {
        const auto& children = a->children();
        for (int i = 0; i < count && i < static_cast<int>(children.size()); ++i) {
            MDataHandle child = handle.child(Access::wrap(children[i].get()));
            double v = values[i];
            setNumbers(child, Access::handleCell(child), children[i].get(), &v, 1);
        }
        for (int i = 0; i < count && i < 3; ++i) cell->value().mDouble3[i] = values[i];
    }
}

}  // namespace

void MDataHandle::set(bool v) {
    double d = v ? 1 : 0;
    setNumbers(*this, mCell, mAttribute, &d, 1);
}
void MDataHandle::set(char v) {
    double d = v;
    setNumbers(*this, mCell, mAttribute, &d, 1);
}
void MDataHandle::set(short v) {
    double d = v;
    setNumbers(*this, mCell, mAttribute, &d, 1);
}
void MDataHandle::set(int v) {
    double d = v;
    setNumbers(*this, mCell, mAttribute, &d, 1);
}
void MDataHandle::set(float v) {
    double d = v;
    setNumbers(*this, mCell, mAttribute, &d, 1);
}
void MDataHandle::set(double v) { setNumbers(*this, mCell, mAttribute, &v, 1); }
void MDataHandle::set(int a, int b) {
    const double d[2] = {double(a), double(b)};
    setNumbers(*this, mCell, mAttribute, d, 2);
}
void MDataHandle::set(float a, float b) {
    const double d[2] = {a, b};
    setNumbers(*this, mCell, mAttribute, d, 2);
}
void MDataHandle::set(double a, double b) {
    const double d[2] = {a, b};
    setNumbers(*this, mCell, mAttribute, d, 2);
}
void MDataHandle::set(int a, int b, int c) {
    const double d[3] = {double(a), double(b), double(c)};
    setNumbers(*this, mCell, mAttribute, d, 3);
}
void MDataHandle::set(float a, float b, float c) {
    const double d[3] = {a, b, c};
    setNumbers(*this, mCell, mAttribute, d, 3);
}
void MDataHandle::set(double a, double b, double c) {
    const double d[3] = {a, b, c};
    setNumbers(*this, mCell, mAttribute, d, 3);
}
void MDataHandle::set(const MVector& v) { set(v.x, v.y, v.z); }
void MDataHandle::set(const MFloatVector& v) { set(v.x, v.y, v.z); }
void MDataHandle::set(const MDistance& v) { set(v.asCentimeters()); }
void MDataHandle::set(const MAngle& v) { set(v.asRadians()); }
void MDataHandle::set(const MTime& v) { set(v.as(MTime::kFilm)); }
void MDataHandle::set(const MMatrix& m) {
    if (mCell && mAttribute && mAttribute->kind() == AttrKind::Matrix) mCell->value().mMatrix = m;
}
void MDataHandle::set(const MString& s) {
    if (mCell) mCell->value().mString = s;
}

MStatus MDataHandle::set(const MObject& data) {
    if (!mCell || !mAttribute) return Access::fail(MStatus::kInvalidParameter, "the data handle is null");
    auto* d = Access::as<hx::Data>(data);
    if (mAttribute->kind() == AttrKind::Matrix) {
        auto* matrix = dynamic_cast<hx::MatrixData*>(d);
        if (!matrix)
            return Access::fail(MStatus::kInvalidParameter,
                                "type mismatch: '" + mAttribute->name() + "' takes matrix data");
        mCell->value().mMatrix = matrix->value();
        return MStatus();
    }
    if (mAttribute->kind() != AttrKind::Typed)
        return Access::fail(MStatus::kInvalidParameter, "'" + mAttribute->name() + "' does not hold data");
    if (!data.isNull() && (!d || d->dataType() != mAttribute->dataType()))
        return Access::fail(MStatus::kInvalidParameter,
                            "type mismatch: the data does not fit '" + mAttribute->name() + "'");
    if (auto* text = dynamic_cast<hx::StringData*>(d))
        mCell->value().mString = text->value();
    else
        mCell->value().mData = data;
    return MStatus();
}

MStatus MDataHandle::set(MPxData*) {
    return Access::fail(MStatus::kNotImplemented, "this host has no plug-in data types");
}

void MDataHandle::setClean() {
    if (mNode && mAttribute)
        mNode->setClean(Access::handlePlug(*this));
    else if (mCell)
        mCell->setDirty(false);
}

MDataHandle MDataHandle::child(const MObject& attribute) {
    auto* wanted = Access::as<Attribute>(attribute);
    if (!mNode || !mAttribute || !wanted || wanted->parent() != mAttribute) return MDataHandle();
    const hx::PlugRef plug{mNode, wanted, Access::path(mPath)};
    // A multi child is a whole array: its elements are read through an MArrayDataHandle.
    hx::Cell* cell =
        mForInput && plug.isComplete() ? &hx::Engine::current().scene().evaluate(plug) : &mNode->cell(plug);
    return Access::handle(plug, cell, mForInput);
}
