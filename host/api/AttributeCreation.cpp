#include "AttributeCreation.h"

#include "FnSet.h"

namespace hx {

namespace {

Error checkName(const MString& name) {
    const std::string text = name.asChar();
    bool ok = !text.empty() && !(text[0] >= '0' && text[0] <= '9');
    for (char c : text)
        ok = ok && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
    return ok ? Error() : Error::invalid("'" + text + "' is not a valid attribute name");
}

}  // namespace

Ref<Attribute> newAttribute(const char* function, AttrKind kind, const MString& fullName, const MString& briefName,
                            MStatus* ReturnStatus) {
    MStatus status = injectedFault(function, fullName.asChar());
    for (const MString* name : {&fullName, &briefName})
        if (status) status = Access::status(checkName(*name));
    report(ReturnStatus, status);
    return status ? Ref<Attribute>(new Attribute(kind, fullName.asChar(), briefName.asChar())) : Ref<Attribute>();
}

}  // namespace hx
