#include <maya/MPointArray.h>

#include "ArrayStorage.h"

namespace {

hx::ArrayStorage<MPoint> storage(MPoint*& data, unsigned int& length, unsigned int& capacity) {
    return hx::ArrayStorage<MPoint>{data, length, capacity};
}

}  // namespace

#define STORAGE storage(mData, mLength, mCapacity)

MPointArray::MPointArray() : mData(nullptr), mLength(0), mCapacity(0) {}
MPointArray::MPointArray(const MPointArray& other) : mData(nullptr), mLength(0), mCapacity(0) {
    STORAGE.copyFrom(other.mData, other.mLength);
}
MPointArray::MPointArray(unsigned int initialSize, const MPoint& initialValue)
    : mData(nullptr), mLength(0), mCapacity(0) {
    STORAGE.setLength(initialSize, initialValue);
}
MPointArray::~MPointArray() { STORAGE.release(); }

MPointArray& MPointArray::operator=(const MPointArray& other) {
    STORAGE.copyFrom(other.mData, other.mLength);
    return *this;
}
// Like the host's arrays, indexing is unchecked: callers keep index < length().
const MPoint& MPointArray::operator[](unsigned int index) const { return mData[index]; }
MPoint& MPointArray::operator[](unsigned int index) { return mData[index]; }

unsigned int MPointArray::length() const { return mLength; }
MStatus MPointArray::append(const MPoint& element) { return STORAGE.append(element); }
MStatus MPointArray::copy(const MPointArray& source) { return STORAGE.copyFrom(source.mData, source.mLength); }
MStatus MPointArray::set(const MPoint& element, unsigned int index) { return STORAGE.set(element, index); }
MStatus MPointArray::setLength(unsigned int length) { return STORAGE.setLength(length); }
MStatus MPointArray::remove(unsigned int index) { return STORAGE.remove(index); }
MStatus MPointArray::insert(const MPoint& element, unsigned int index) { return STORAGE.insert(element, index); }
MStatus MPointArray::clear() {
    mLength = 0;
    return MStatus::kSuccess;
}
MStatus MPointArray::reserve(unsigned int capacity) { return STORAGE.reserve(capacity); }
