// Shared pieces of the function-set implementations.
#pragma once

#include <maya/MStatus.h>

#include "../engine/Access.h"

// The members declareMFn declares: attaching constructors, type and class name.
#define HX_DEFINE_MFN(Class, FnType)                                                   \
    Class::Class() {}                                                                \
    Class::Class(MObject& object, MStatus* ReturnStatus) {                           \
        MStatus status = attach(object);                                             \
        if (ReturnStatus) *ReturnStatus = status;                                    \
    }                                                                                \
    Class::Class(const MObject& object, MStatus* ReturnStatus) {                     \
        MStatus status = attach(object);                                             \
        if (ReturnStatus) *ReturnStatus = status;                                    \
    }                                                                                \
    Class::~Class() {}                                                               \
    MFn::Type Class::type() const { return FnType; }                                 \
    const char* Class::className() { return #Class; }

namespace hx {

inline void report(MStatus* target, const MStatus& status) {
    if (target) *target = status;
}

inline MStatus notAttached(const char* functionSet) {
    return Access::fail(MStatus::kInvalidParameter,
                        std::string(functionSet) + " is not attached to a suitable object");
}

}  // namespace hx
