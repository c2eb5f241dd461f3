// What every attribute function set's create does first: ask the fault plan, check the
// names, make the attribute.
#pragma once

#include <maya/MStatus.h>
#include <maya/MString.h>

#include "../engine/Attribute.h"

namespace hx {

// A new attribute of `kind`, or null with the status saying why: a fault plan refused
// `function` (the call's subject is the long name), or a name is not an attribute name (a
// letter or underscore, then letters, digits and underscores).
Ref<Attribute> newAttribute(const char* function, AttrKind kind, const MString& fullName, const MString& briefName,
                            MStatus* ReturnStatus);

}  // namespace hx
