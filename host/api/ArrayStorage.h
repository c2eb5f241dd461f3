// The growable storage behind the API's arrays (their headers are C++98 and keep a plain
// pointer, length, capacity and size increment; see MArrayMembers.h).
#pragma once

#include <maya/MStatus.h>

#include <algorithm>
#include <new>

namespace hx {

template <class T>
struct ArrayStorage {
    T*& mData;
    unsigned int& mLength;
    unsigned int& mCapacity;
    unsigned int& mIncrement;

    MStatus reserve(unsigned int capacity) {
        if (capacity <= mCapacity) return MStatus::kSuccess;
        T* fresh = new (std::nothrow) T[capacity];
        if (!fresh) return MStatus::kInsufficientMemory;
        std::copy(mData, mData + mLength, fresh);
        delete[] mData;
        mData = fresh;
        mCapacity = capacity;
        return MStatus::kSuccess;
    }
    MStatus setLength(unsigned int length, const T& fill = T()) {
        if (length > mCapacity) {
            MStatus status = reserve(length);
            if (!status) return status;
        }
        std::fill(mData + std::min(mLength, length), mData + length, fill);
        mLength = length;
        return MStatus::kSuccess;
    }
    MStatus append(const T& element) {
        if (mLength == mCapacity) {
            const T copy = element;  // element may live in the buffer about to move
            MStatus status = reserve(std::max(mCapacity ? mCapacity * 2 : 8, mCapacity + mIncrement));
            if (!status) return status;
            mData[mLength++] = copy;
            return MStatus::kSuccess;
        }
        mData[mLength++] = element;
        return MStatus::kSuccess;
    }
    MStatus insert(const T& element, unsigned int index) {
        if (index > mLength) return MStatus::kInvalidParameter;
        const T copy = element;
        MStatus status = append(copy);
        if (!status) return status;
        std::rotate(mData + index, mData + mLength - 1, mData + mLength);
        return MStatus::kSuccess;
    }
    MStatus remove(unsigned int index) {
        if (index >= mLength) return MStatus::kInvalidParameter;
        std::copy(mData + index + 1, mData + mLength, mData + index);
        --mLength;
        return MStatus::kSuccess;
    }
    MStatus set(const T& element, unsigned int index) {
        if (index >= mLength) return MStatus::kInvalidParameter;
        mData[index] = element;
        return MStatus::kSuccess;
    }
    MStatus copyFrom(const T* source, unsigned int length) {
        if (source == mData) return MStatus::kSuccess;
        mLength = 0;
        MStatus status = reserve(length);
        if (!status) return status;
        std::copy(source, source + length, mData);
        mLength = length;
        return MStatus::kSuccess;
    }
    void release() {
        delete[] mData;
        mData = nullptr;
        mLength = mCapacity = 0;
    }
};

}  // namespace hx
