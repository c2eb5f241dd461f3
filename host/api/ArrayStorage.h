// The growable storage behind the API's arrays (their headers are C++98 and keep a plain
// pointer, length, capacity and size increment; see MArrayMembers.h).
#pragma once

#include <maya/MStatus.h>

#include "../engine/FreshMemory.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace hx {

template <class T>
struct ArrayStorage {
    T*& mData;
    unsigned int& mLength;
    unsigned int& mCapacity;
    unsigned int& mIncrement;

    // Every element of the buffer, up to its capacity, is constructed, and constructed once:
    // the buffer is raw memory whose elements are built in place from what they will hold.
    MStatus reserve(unsigned int capacity) {
        if (capacity <= mCapacity) return MStatus::kSuccess;
        const T* old = mData;
        const unsigned int kept = mLength;
        return rebuild(capacity, [&](T* at, unsigned int i) { new (at) T(i < kept ? old[i] : T()); });
    }
    MStatus setLength(unsigned int length, const T& fill = T()) {
        if (length > mCapacity) {
            const T* old = mData;
            const unsigned int kept = mLength;
            const T value = fill;  // fill may live in the buffer about to go
            MStatus status = rebuild(length, [&](T* at, unsigned int i) { new (at) T(i < kept ? old[i] : value); });
            if (!status) return status;
        } else {
            std::fill(mData + std::min(mLength, length), mData + length, fill);
        }
        mLength = length;
        return MStatus::kSuccess;
    }
    // Sets the length to `length`, element i built in place by construct(at, i) (which must
    // not throw), each written once.
    template <class Construct>
    MStatus generate(unsigned int length, Construct construct) {
        if (length > mCapacity) {
            MStatus status = rebuild(length, construct);
            if (!status) return status;
        } else {
            for (unsigned int i = 0; i < length; ++i) {
                mData[i].~T();
                construct(mData + i, i);
            }
        }
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
        destroy(mData, mCapacity);
        mData = nullptr;
        mLength = mCapacity = 0;
    }

private:
    // A buffer of `capacity` elements, element i built by construct(at, i), in place of
    // the old one (which construct may still read). The array is unchanged on failure.
    template <class Construct>
    MStatus rebuild(unsigned int capacity, Construct construct) {
        const std::size_t bytes = std::size_t(capacity) * sizeof(T);
        T* fresh = static_cast<T*>(::operator new(bytes, std::nothrow));
        if (!fresh) return MStatus::kInsufficientMemory;
        adviseHugePages(fresh, bytes);
        unsigned int built = 0;
        try {
            for (; built < capacity; ++built) construct(fresh + built, built);
        } catch (...) {
            destroy(fresh, built);
            return MStatus::kInsufficientMemory;
        }
        destroy(mData, mCapacity);
        mData = fresh;
        mCapacity = capacity;
        return MStatus::kSuccess;
    }
    static void destroy(T* data, unsigned int count) {
        if (!data) return;
        for (unsigned int i = 0; i < count; ++i) data[i].~T();
        ::operator delete(data);
    }
};

}  // namespace hx
