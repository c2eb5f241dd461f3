#include <maya/MVectorArray.h>

#include "ArrayStorage.h"

namespace {

hx::ArrayStorage<MVector> storage(MVector*& data, unsigned int& length, unsigned int& capacity) {
    return hx::ArrayStorage<MVector>{data, length, capacity};
}

}  // namespace

#define STORAGE storage(mData, mLength, mCapacity)

MVectorArray::MVectorArray() : mData(nullptr), mLength(0), mCapacity(0) {}
MVectorArray::MVectorArray(const MVectorArray& other) : mData(nullptr), mLength(0), mCapacity(0) {
    STORAGE.copyFrom(other.mData, other.mLength);
}
MVectorArray::MVectorArray(unsigned int initialSize, const MVector& initialValue)
    : mData(nullptr), mLength(0), mCapacity(0) {
    STORAGE.setLength(initialSize, initialValue);
}
MVectorArray::~MVectorArray() { STORAGE.release(); }

MVectorArray& MVectorArray::operator=(const MVectorArray& other) {
    STORAGE.copyFrom(other.mData, other.mLength);
    return *this;
}
// Like the host's arrays, indexing is unchecked: callers keep index < length().
const MVector& MVectorArray::operator[](unsigned int index) const { return mData[index]; }
MVector& MVectorArray::operator[](unsigned int index) { return mData[index]; }

unsigned int MVectorArray::length() const { return mLength; }
MStatus MVectorArray::append(const MVector& element) { return STORAGE.append(element); }
MStatus MVectorArray::copy(const MVectorArray& source) { return STORAGE.copyFrom(source.mData, source.mLength); }
MStatus MVectorArray::set(const MVector& element, unsigned int index) { return STORAGE.set(element, index); }
MStatus MVectorArray::setLength(unsigned int length) { return STORAGE.setLength(length); }
MStatus MVectorArray::remove(unsigned int index) { return STORAGE.remove(index); }
MStatus MVectorArray::insert(const MVector& element, unsigned int index) { return STORAGE.insert(element, index); }
MStatus MVectorArray::clear() {
    mLength = 0;
    return MStatus::kSuccess;
}
MStatus MVectorArray::reserve(unsigned int capacity) { return STORAGE.reserve(capacity); }
