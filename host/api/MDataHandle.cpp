#include <maya/MDataHandle.h>
#include <maya/MMatrix.h>
#include <maya/MVector.h>

#include "../engine/Data.h"
#include "../engine/Engine.h"
#include "FnSet.h"

using hx::Access;
using hx::Attribute;
using hx::AttrKind;
using hx::Cell;
using hx::Value;

namespace hx {

MDataHandle Access::handle(Node* node, const Attribute* attribute, int index, Cell* cell, bool forInput) {
    MDataHandle h;
    h.mNode = node;
    h.mAttribute = attribute;
    h.mIndex = index;
    h.mCell = cell;
    h.mForInput = forInput;
    return h;
}

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
    return a && a->mKind == AttrKind::Numeric ? a->mNumericType : MFnNumericData::kInvalid;
}

// The cell's value with the field of type `wanted` refreshed from the authoritative one.
Value& view(Cell* cell, const Attribute* a, MFnNumericData::Type wanted) {
    if (!cell || !a) return scratch();
    Value& v = cell->mValue;
    const MFnNumericData::Type own = numericTypeOf(a);
    if (own != MFnNumericData::kInvalid && own != wanted && hx::componentCount(own) == 1 &&
        hx::componentCount(wanted) == 1)
        hx::setNumericComponent(v, wanted, 0, hx::numericComponent(v, own, 0));
    return v;
}

}  // namespace

MDataHandle::MDataHandle() : mNode(nullptr), mAttribute(nullptr), mIndex(-1), mCell(nullptr), mForInput(false) {}
MDataHandle::MDataHandle(const MDataHandle& o)
    : mNode(o.mNode), mAttribute(o.mAttribute), mIndex(o.mIndex), mCell(o.mCell), mForInput(o.mForInput) {}
MDataHandle& MDataHandle::operator=(const MDataHandle& o) {
    mNode = o.mNode;
    mAttribute = o.mAttribute;
    mIndex = o.mIndex;
    mCell = o.mCell;
    mForInput = o.mForInput;
    return *this;
}

bool MDataHandle::isNumeric() const { return mAttribute && mAttribute->mKind == AttrKind::Numeric; }

MFnData::Type MDataHandle::type() const {
    if (!mAttribute) return MFnData::kInvalid;
    switch (mAttribute->mKind) {
    case AttrKind::Numeric: return MFnData::kNumeric;
    case AttrKind::Matrix: return MFnData::kMatrix;
    case AttrKind::Typed: return mAttribute->mDataType;
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
MMatrix& MDataHandle::asMatrix() const { return mCell ? mCell->mValue.mMatrix : scratch().mMatrix; }
double3& MDataHandle::asDouble3() const { return mCell ? mCell->mValue.mDouble3 : scratch().mDouble3; }
MVector& MDataHandle::asVector() const {
    if (!mCell) return scratch().mVector;
    mCell->mValue.mVector = MVector(mCell->mValue.mDouble3);
    return mCell->mValue.mVector;
}
float3& MDataHandle::asFloat3() const {
    if (!mCell) return scratch().mFloat3;
    for (int i = 0; i < 3; ++i) mCell->mValue.mFloat3[i] = static_cast<float>(mCell->mValue.mDouble3[i]);
    return mCell->mValue.mFloat3;
}
int3& MDataHandle::asInt3() const {
    if (!mCell) return scratch().mInt3;
    for (int i = 0; i < 3; ++i) mCell->mValue.mInt3[i] = static_cast<int>(mCell->mValue.mDouble3[i]);
    return mCell->mValue.mInt3;
}
MString& MDataHandle::asString() const { return mCell ? mCell->mValue.mString : scratch().mString; }
MObject MDataHandle::data() { return mCell ? mCell->mValue.mData : MObject(); }

namespace {

// Writes numbers into the handle's plug: the components of a numeric attribute, or the
// children of a compound of numerics.
void setNumbers(MDataHandle& handle, Cell* cell, const Attribute* a, const double* values, int count) {
    if (!cell || !a) return;
    if (a->mKind == AttrKind::Numeric) {
        for (int i = 0; i < count && i < hx::componentCount(a->mNumericType); ++i)
            hx::setNumericComponent(cell->mValue, a->mNumericType, i, values[i]);
        return;
    }
    if (a->mKind == AttrKind::Compound) {
        for (int i = 0; i < count && i < static_cast<int>(a->mChildren.size()); ++i) {
            MDataHandle child = handle.child(Access::wrap(a->mChildren[i].get()));
            double v = values[i];
            setNumbers(child, Access::handleCell(child), a->mChildren[i].get(), &v, 1);
        }
        for (int i = 0; i < count && i < 3; ++i) cell->mValue.mDouble3[i] = values[i];
    }
}

}  // namespace

void MDataHandle::set(bool v) { double d = v ? 1 : 0; setNumbers(*this, mCell, mAttribute, &d, 1); }
void MDataHandle::set(char v) { double d = v; setNumbers(*this, mCell, mAttribute, &d, 1); }
void MDataHandle::set(short v) { double d = v; setNumbers(*this, mCell, mAttribute, &d, 1); }
void MDataHandle::set(int v) { double d = v; setNumbers(*this, mCell, mAttribute, &d, 1); }
void MDataHandle::set(float v) { double d = v; setNumbers(*this, mCell, mAttribute, &d, 1); }
void MDataHandle::set(double v) { setNumbers(*this, mCell, mAttribute, &v, 1); }
void MDataHandle::set(int a, int b) { const double d[2] = {double(a), double(b)}; setNumbers(*this, mCell, mAttribute, d, 2); }
void MDataHandle::set(float a, float b) { const double d[2] = {a, b}; setNumbers(*this, mCell, mAttribute, d, 2); }
void MDataHandle::set(double a, double b) { const double d[2] = {a, b}; setNumbers(*this, mCell, mAttribute, d, 2); }
void MDataHandle::set(int a, int b, int c) {
    const double d[3] = {double(a), double(b), double(c)};
    setNumbers(*this, mCell, mAttribute, d, 3);
}
void MDataHandle::set(float a, float b, float c) { const double d[3] = {a, b, c}; setNumbers(*this, mCell, mAttribute, d, 3); }
void MDataHandle::set(double a, double b, double c) { const double d[3] = {a, b, c}; setNumbers(*this, mCell, mAttribute, d, 3); }
void MDataHandle::set(const MVector& v) { set(v.x, v.y, v.z); }
void MDataHandle::set(const MMatrix& m) {
    if (mCell && mAttribute && mAttribute->mKind == AttrKind::Matrix) mCell->mValue.mMatrix = m;
}
void MDataHandle::set(const MString& s) {
    if (mCell) mCell->mValue.mString = s;
}

MStatus MDataHandle::set(const MObject& data) {
    if (!mCell || !mAttribute) return Access::fail(MStatus::kInvalidParameter, "the data handle is null");
    if (mAttribute->mKind != AttrKind::Typed)
        return Access::fail(MStatus::kInvalidParameter, "'" + mAttribute->mName + "' does not hold data");
    auto* d = Access::as<hx::Data>(data);
    if (!data.isNull() && (!d || d->dataType() != mAttribute->mDataType))
        return Access::fail(MStatus::kInvalidParameter, "type mismatch: the data does not fit '" + mAttribute->mName + "'");
    mCell->mValue.mData = data;
    return MStatus();
}

MStatus MDataHandle::set(MPxData*) {
    return Access::fail(MStatus::kNotImplemented, "this host has no plug-in data types");
}

void MDataHandle::setClean() {
    if (mCell) mCell->mDirty = false;
}

MDataHandle MDataHandle::child(const MObject& attribute) {
    auto* wanted = Access::as<Attribute>(attribute);
    if (!mNode || !mAttribute || !wanted || wanted->mParent != mAttribute) return MDataHandle();
    hx::Cell* cell = mForInput ? &hx::Engine::get().scene().evaluate({mNode, wanted, mIndex})
                               : &mNode->cell(wanted, mIndex);
    return Access::handle(mNode, wanted, mIndex, cell, mForInput);
}
