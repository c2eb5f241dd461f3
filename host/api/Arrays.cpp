// The API's growable arrays: the members they share (MArrayMembers.h) defined once for each,
// then each one's own.
#include <maya/MDoubleArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

#include "../engine/Access.h"
#include "ArrayStorage.h"

#define HX_STORAGE(Element) \
    hx::ArrayStorage<Element> { mData, mLength, mCapacity, mIncrement }

#define HX_DEFINE_ARRAY(Array, Element)                                                                                \
    Array::Array() : mData(nullptr), mLength(0), mCapacity(0), mIncrement(0) {}                                        \
    Array::Array(const Array& other) : mData(nullptr), mLength(0), mCapacity(0), mIncrement(other.mIncrement) {        \
        HX_STORAGE(Element).copyFrom(other.mData, other.mLength);                                                      \
    }                                                                                                                  \
    Array::Array(const Element src[], unsigned int count) : mData(nullptr), mLength(0), mCapacity(0), mIncrement(0) {  \
        if (src) HX_STORAGE(Element).copyFrom(src, count);                                                             \
    }                                                                                                                  \
    Array::~Array() { HX_STORAGE(Element).release(); }                                                                 \
    Array& Array::operator=(const Array& other) {                                                                      \
        HX_STORAGE(Element).copyFrom(other.mData, other.mLength);                                                      \
        return *this;                                                                                                  \
    }                                                                                                                  \
    const Element& Array::operator[](unsigned int index) const { return mData[index]; }                                \
    Element& Array::operator[](unsigned int index) { return mData[index]; }                                            \
    unsigned int Array::length() const { return mLength; }                                                             \
    MStatus Array::set(const Element& element, unsigned int index) { return HX_STORAGE(Element).set(element, index); } \
    MStatus Array::setLength(unsigned int length) { return HX_STORAGE(Element).setLength(length); }                    \
    MStatus Array::append(const Element& element) { return HX_STORAGE(Element).append(element); }                      \
    MStatus Array::insert(const Element& element, unsigned int index) {                                                \
        return HX_STORAGE(Element).insert(element, index);                                                             \
    }                                                                                                                  \
    MStatus Array::remove(unsigned int index) { return HX_STORAGE(Element).remove(index); }                            \
    MStatus Array::copy(const Array& source) { return HX_STORAGE(Element).copyFrom(source.mData, source.mLength); }    \
    MStatus Array::clear() {                                                                                           \
        mLength = 0;                                                                                                   \
        return MStatus::kSuccess;                                                                                      \
    }                                                                                                                  \
    void Array::setSizeIncrement(unsigned int newIncrement) { mIncrement = newIncrement; }                             \
    unsigned int Array::sizeIncrement() const { return mIncrement; }

// The constructor from a size and an initial value, whose value parameter differs.
#define HX_DEFINE_SIZED(Array, Element, Value)                      \
    Array::Array(unsigned int initialSize, Value initialValue)      \
        : mData(nullptr), mLength(0), mCapacity(0), mIncrement(0) { \
        HX_STORAGE(Element).setLength(initialSize, initialValue);   \
    }

hx::ArrayStorage<MPoint> hx::Access::storage(MPointArray& points) {
    return hx::ArrayStorage<MPoint>{points.mData, points.mLength, points.mCapacity, points.mIncrement};
}

HX_DEFINE_ARRAY(MPointArray, MPoint)
HX_DEFINE_SIZED(MPointArray, MPoint, const MPoint&)
HX_DEFINE_ARRAY(MVectorArray, MVector)
HX_DEFINE_SIZED(MVectorArray, MVector, const MVector&)
HX_DEFINE_ARRAY(MFloatPointArray, MFloatPoint)
HX_DEFINE_SIZED(MFloatPointArray, MFloatPoint, const MFloatPoint&)
HX_DEFINE_ARRAY(MFloatVectorArray, MFloatVector)
HX_DEFINE_SIZED(MFloatVectorArray, MFloatVector, const MFloatVector&)
HX_DEFINE_ARRAY(MIntArray, int)
HX_DEFINE_SIZED(MIntArray, int, int)
HX_DEFINE_ARRAY(MDoubleArray, double)
HX_DEFINE_SIZED(MDoubleArray, double, double)
HX_DEFINE_ARRAY(MStringArray, MString)
HX_DEFINE_SIZED(MStringArray, MString, const MString&)
HX_DEFINE_ARRAY(MPlugArray, MPlug)
HX_DEFINE_SIZED(MPlugArray, MPlug, const MPlug&)

namespace {

// Copies each element's `Width` coordinates out, as `Out`.
template <class Out, unsigned int Width, class Array>
MStatus copyCoordinates(const Array& array, Out (*dest)[Width]) {
    if (!dest) return MStatus::kInvalidParameter;
    for (unsigned int i = 0; i < array.length(); ++i)
        for (unsigned int c = 0; c < Width; ++c) dest[i][c] = static_cast<Out>(array[i][c]);
    return MStatus::kSuccess;
}

template <class Out, class Array>
MStatus copyNumbers(const Array& array, Out* dest) {
    if (!dest) return MStatus::kInvalidParameter;
    for (unsigned int i = 0; i < array.length(); ++i) dest[i] = static_cast<Out>(array[i]);
    return MStatus::kSuccess;
}

}  // namespace

MStatus MPointArray::get(double dest[][4]) const { return copyCoordinates<double, 4>(*this, dest); }
MStatus MPointArray::get(float dest[][4]) const { return copyCoordinates<float, 4>(*this, dest); }
MStatus MVectorArray::get(double dest[][3]) const { return copyCoordinates<double, 3>(*this, dest); }
MStatus MVectorArray::get(float dest[][3]) const { return copyCoordinates<float, 3>(*this, dest); }
MStatus MFloatPointArray::get(float dest[][4]) const { return copyCoordinates<float, 4>(*this, dest); }
MStatus MFloatVectorArray::get(float dest[][3]) const { return copyCoordinates<float, 3>(*this, dest); }
MStatus MIntArray::get(int dest[]) const { return copyNumbers(*this, dest); }
MStatus MDoubleArray::get(double dest[]) const { return copyNumbers(*this, dest); }
MStatus MDoubleArray::get(float dest[]) const { return copyNumbers(*this, dest); }
