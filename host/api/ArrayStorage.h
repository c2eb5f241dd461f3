// The growable storage behind the API's arrays (their headers are C++98 and keep a plain
// pointer, length, capacity and size increment; see MArrayMembers.h).
#pragma once

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#include "../engine/FreshMemory.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>

namespace hx {

// Element types whose destructor does nothing, though the API declares one (the host's
// value classes hold numbers only): a large array of them is let go without a call per
// element.
template <class T>
struct DestructionIsEmpty : std::is_trivially_destructible<T> {};
template <>
struct DestructionIsEmpty<MPoint> : std::true_type {};
template <>
struct DestructionIsEmpty<MVector> : std::true_type {};
template <>
struct DestructionIsEmpty<MFloatPoint> : std::true_type {};
template <>
struct DestructionIsEmpty<MFloatVector> : std::true_type {};

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
    // Sets the length to `length`, its elements built in place by constructAll(data, length)
    // (which must not throw), each written once.
    template <class ConstructAll>
    MStatus generate(unsigned int length, ConstructAll constructAll) {
        if (length > mCapacity) {
            const std::size_t bytes = std::size_t(length) * sizeof(T);
            T* fresh = allocate(bytes);
            if (!fresh) return MStatus::kInsufficientMemory;
            constructAll(fresh, length);
            destroy(mData, mCapacity);
            mData = fresh;
            mCapacity = length;
        } else {
            if (!DestructionIsEmpty<T>::value)
                for (unsigned int i = 0; i < length; ++i) mData[i].~T();
            constructAll(mData, length);
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
        T* fresh = allocate(bytes);
        if (!fresh) return MStatus::kInsufficientMemory;
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
    // Buffers start on a cache line: plug-ins read points with vector loads (an MPoint is
    // 32 bytes), which run slower across lines.
    static constexpr std::size_t kAlignment = 64;
    static T* allocate(std::size_t bytes) {
        void* data = ::operator new(bytes, std::align_val_t(kAlignment), std::nothrow);
        adviseHugePages(data, bytes);
        return static_cast<T*>(data);
    }
    static void destroy(T* data, unsigned int count) {
        if (!data) return;
        if (!DestructionIsEmpty<T>::value)
            for (unsigned int i = 0; i < count; ++i) data[i].~T();
        ::operator delete(data, std::align_val_t(kAlignment));
    }
};

}  // namespace hx
