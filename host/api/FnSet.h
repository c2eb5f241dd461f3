// Shared pieces of the function-set implementations.
#pragma once

#include <maya/MStatus.h>

#include "../engine/Access.h"
#include "../engine/Attribute.h"
#include "../engine/Faults.h"

#include <string_view>

// The members declareMFn declares: attaching constructors, type and class name. A fault
// plan can make the attaching fail ("Class::attach"), which leaves the set unattached.
#define HX_DEFINE_MFN(Class, FnType)                             \
    Class::Class() {}                                            \
    Class::Class(MObject& object, MStatus* ReturnStatus) {       \
        MStatus status = hx::injectedFault(#Class "::attach");   \
        if (status) status = attach(object);                     \
        if (ReturnStatus) *ReturnStatus = status;                \
    }                                                            \
    Class::Class(const MObject& object, MStatus* ReturnStatus) { \
        MStatus status = hx::injectedFault(#Class "::attach");   \
        if (status) status = attach(object);                     \
        if (ReturnStatus) *ReturnStatus = status;                \
    }                                                            \
    Class::~Class() {}                                           \
    MFn::Type Class::type() const { return FnType; }             \
    const char* Class::className() { return #Class; }

namespace hx {

inline void report(MStatus* target, const MStatus& status) {
    if (target) *target = status;
}

// What a fault plan knows a call about an attribute by (see HostTesting.h): its long name.
inline std::string_view faultSubject(const Attribute* attribute) {
    return attribute ? std::string_view(attribute->name()) : std::string_view();
}

// The attribute `object` holds when `accepts` takes it, else null: what each attribute
// function set works on.
template <class Accepts>
Attribute* attributeIf(const MObject& object, Accepts accepts) {
    Attribute* attribute = Access::as<Attribute>(object);
    return attribute && accepts(*attribute) ? attribute : nullptr;
}

// What each attribute function set works on.
inline Attribute* numericAttribute(const MObject& object) {
    // Numbers, and compounds of numbers made as one (points, colours).
    return attributeIf(object, [](const Attribute& a) {
        return a.kind() == AttrKind::Numeric ||
               (a.kind() == AttrKind::Compound && a.numericType() != MFnNumericData::kInvalid);
    });
}
inline Attribute* unitAttribute(const MObject& object) {
    return attributeIf(object,
                       [](const Attribute& a) { return a.kind() == AttrKind::Numeric && a.unit() != Unit::Scalar; });
}
inline Attribute* enumAttribute(const MObject& object) {
    return attributeIf(object, [](const Attribute& a) { return a.isEnum(); });
}
inline Attribute* attributeOfKind(const MObject& object, AttrKind kind) {
    return attributeIf(object, [kind](const Attribute& a) { return a.kind() == kind; });
}

inline MStatus notAttached(const char* functionSet) {
    return Access::fail(MStatus::kInvalidParameter, std::string(functionSet) + " is not attached to a suitable object");
}

}  // namespace hx
