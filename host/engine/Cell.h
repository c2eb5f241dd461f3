// Storage of one plug on one node: its value, dirty state and connections.
#pragma once

#include "Value.h"

#include <optional>
#include <vector>

namespace hx {

class Node;
class Attribute;

// A plug: (node, attribute, logical index of the enclosing multi element or -1).
struct PlugRef {
    Node* mNode = nullptr;
    const Attribute* mAttribute = nullptr;
    int mIndex = -1;

    bool operator==(const PlugRef& o) const {
        return mNode == o.mNode && mAttribute == o.mAttribute && mIndex == o.mIndex;
    }
    bool operator<(const PlugRef& o) const {
        if (mNode != o.mNode) return mNode < o.mNode;
        if (mAttribute != o.mAttribute) return mAttribute < o.mAttribute;
        return mIndex < o.mIndex;
    }
};

struct Cell {
    Value mValue;
    bool mDirty = false;
    bool mEvaluating = false;            // guards against cycles during a pull
    std::optional<PlugRef> mSource;      // one source per destination plug
    std::vector<PlugRef> mDestinations;
};

}  // namespace hx
