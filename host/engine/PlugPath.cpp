#include "PlugPath.h"

#include "Node.h"

#include <cstdlib>

namespace hx {

namespace {

// Splits "name[12]" into name and index (-1 without brackets); false when malformed.
bool splitIndex(const std::string& part, std::string& name, int& index) {
    const size_t open = part.find('[');
    if (open == std::string::npos) {
        name = part;
        index = -1;
        return !name.empty();
    }
    if (part.back() != ']' || open == 0) return false;
    name = part.substr(0, open);
    const std::string digits = part.substr(open + 1, part.size() - open - 2);
    if (digits.empty() || digits.size() > 9) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    index = std::atoi(digits.c_str());
    return true;
}

}  // namespace

bool resolvePlugPath(Node* node, const std::string& path, PlugRef& plug, std::string& error,
                     bool allowWholeArray) {
    const NodeType& type = *node->mType;
    const Attribute* current = nullptr;
    int index = -1;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t dot = path.find('.', start);
        const std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        std::string name;
        int partIndex;
        if (!splitIndex(part, name, partIndex)) {
            error = "'" + path + "' is not a valid plug name";
            return false;
        }
        const Attribute* next = nullptr;
        if (!current) {
            next = type.find(name);
        } else {
            for (const auto& child : current->mChildren)
                if (child->matches(name)) next = child.get();
        }
        if (!next) {
            error = current ? "'" + current->mName + "' of node '" + node->mName + "' has no child '" + name + "'"
                            : "node '" + node->mName + "' (" + type.mName + ") has no attribute '" + name + "'";
            return false;
        }
        if (partIndex >= 0) {
            if (!next->mArray) {
                error = "'" + next->mName + "' of node '" + node->mName + "' is not a multi attribute";
                return false;
            }
            index = partIndex;
        }
        current = next;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    const Attribute* root = current->arrayRoot();
    if (root && index < 0 && !(allowWholeArray && current->mArray)) {
        error = "'" + path + "' on node '" + node->mName + "' needs an element index, as in " + root->mName + "[0]";
        return false;
    }
    plug = PlugRef{node, current, index};
    return true;
}

std::string plugName(const PlugRef& plug, bool longNames) {
    const Attribute* a = plug.mAttribute;
    auto nameOf = [longNames](const Attribute* attribute) {
        return longNames ? attribute->mName : attribute->mShortName;
    };
    std::string text;
    if (a->mParent) {
        text = nameOf(a->mParent);
        if (a->mParent->mArray && plug.mIndex >= 0) text += "[" + std::to_string(plug.mIndex) + "]";
        text += ".";
    }
    text += nameOf(a);
    if (a->mArray && plug.mIndex >= 0) text += "[" + std::to_string(plug.mIndex) + "]";
    return (plug.mNode ? plug.mNode->mName : std::string()) + "." + text;
}

}  // namespace hx
