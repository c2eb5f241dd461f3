// Reference-counted base of everything an MObject can point at, and the smart pointer the
// engine holds such objects with.
#pragma once

#include <maya/MFn.h>

#include <utility>

namespace hx {

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    virtual MFn::Type apiType() const = 0;

    void retain() noexcept { ++mRefCount; }
    void release() noexcept {
        if (--mRefCount == 0) delete this;
    }

private:
    // The engine is single-threaded: plug-ins run on the thread that evaluates the graph.
    int mRefCount = 0;
};

// Intrusive shared pointer over Object subclasses.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(T* object) : mObject(object) {
        if (mObject) mObject->retain();
    }
    Ref(const Ref& other) : Ref(other.mObject) {}
    Ref(Ref&& other) noexcept : mObject(std::exchange(other.mObject, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get())) {}
    ~Ref() {
        if (mObject) mObject->release();
    }

    Ref& operator=(Ref other) noexcept {
        std::swap(mObject, other.mObject);
        return *this;
    }

    T* get() const { return mObject; }
    T* operator->() const { return mObject; }
    T& operator*() const { return *mObject; }
    explicit operator bool() const { return mObject != nullptr; }
    bool operator==(const Ref& other) const { return mObject == other.mObject; }
    bool operator!=(const Ref& other) const { return mObject != other.mObject; }

private:
    T* mObject = nullptr;
};

// True when an object of kind `actual` can be used where `wanted` is asked for
// (a plug-in deformer node is a dependency node, a numeric attribute an attribute, ...).
bool isKindOf(MFn::Type actual, MFn::Type wanted);

}  // namespace hx
