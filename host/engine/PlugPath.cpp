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

Error resolvePlugPath(Node* node, const std::string& path, bool allowWholeArray, PlugRef& plug) {
    const NodeType& type = *node->type();
    const Attribute* current = nullptr;
    ElementPath elements;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t dot = path.find('.', start);
        const std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        std::string name;
        int index;
        if (!splitIndex(part, name, index)) return Error::invalid("'" + path + "' is not a valid plug name");
        const Attribute* next = nullptr;
        if (!current) {
            next = type.find(name);
        } else {
            for (const auto& child : current->children())
                if (child->matches(name)) next = child.get();
        }
        if (!next)
            return Error::invalid(
                current ? "'" + current->name() + "' of node '" + node->name() + "' has no child '" + name + "'"
                        : "node '" + node->name() + "' (" + type.name() + ") has no attribute '" + name + "'");
        if (index >= 0) {
            if (!next->isArray())
                return Error::invalid("'" + next->name() + "' of node '" + node->name() + "' is not a multi attribute");
            elements = elements.with(next->arrayDepth() - 1, index);
        }
        current = next;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    plug = PlugRef{node, current, elements};
    if (!plug.isComplete() && !(allowWholeArray && plug.isWholeArray())) {
        // Name the outermost multi still without its element.
        const std::vector<const Attribute*> chain = current->arrayChain();
        const Attribute* open = chain.back();
        for (size_t level = 0; level < chain.size(); ++level)
            if (elements[static_cast<int>(level)] < 0) {
                open = chain[level];
                break;
            }
        return Error::invalid("'" + path + "' on node '" + node->name() + "' needs an element index, as in " +
                              open->name() + "[0]");
    }
    return Error();
}

std::string plugName(const PlugRef& plug, bool longNames) {
    std::string text;
    for (const Attribute* a = plug.mAttribute; a; a = a->parent()) {
        std::string part = longNames ? a->name() : a->shortName();
        if (a->isArray() && plug.mPath[a->arrayDepth() - 1] >= 0)
            part += "[" + std::to_string(plug.mPath[a->arrayDepth() - 1]) + "]";
        text = text.empty() ? part : part + "." + text;
    }
    return (plug.mNode ? plug.mNode->name() : std::string()) + "." + text;
}

}  // namespace hx
