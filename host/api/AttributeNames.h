// Checks the names given to a new attribute.
#pragma once

#include <maya/MString.h>

#include <string>

namespace hx {

// Attribute names follow node-name rules: a letter or underscore, then letters, digits, '_'.
inline bool validAttributeNames(const MString& fullName, const MString& briefName, std::string& error) {
    for (const MString* name : {&fullName, &briefName}) {
        const std::string text = name->asChar();
        bool ok = !text.empty() && !(text[0] >= '0' && text[0] <= '9');
        for (char c : text)
            ok = ok && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
        if (!ok) {
            error = "'" + text + "' is not a valid attribute name";
            return false;
        }
    }
    return true;
}

}  // namespace hx
