// A plug: one attribute of one node, in one element of each multi it lies in.
#pragma once

#include "Attribute.h"

#include <array>

namespace hx {

class Node;

// The logical indices of the multi elements a plug lies in, outermost first: one per multi
// in the attribute's array chain (weightList[2].weights[5] is 2, 5; input[0].inputGeometry
// is 0; a plug outside every multi has none). An index left open (-1) makes the plug a whole
// multi (weightList[2].weights) when it is the last, an incomplete plug otherwise.
class ElementPath {
public:
    static constexpr int kDepth = Attribute::kMaxArrayDepth;

    ElementPath() { mIndex.fill(-1); }
    // The path of the outermost element `index`.
    static ElementPath outer(int index) {
        ElementPath path;
        path.mIndex[0] = index;
        return path;
    }

    int operator[](int level) const { return level >= 0 && level < kDepth ? mIndex[level] : -1; }
    // The same path with `level` set to `index` and every level inside it open.
    ElementPath with(int level, int index) const;
    // The first `levels` indices, the rest open.
    ElementPath prefix(int levels) const;
    // Whether the first `levels` indices are all set.
    bool hasLevels(int levels) const;

    bool operator==(const ElementPath& o) const { return mIndex == o.mIndex; }
    bool operator!=(const ElementPath& o) const { return mIndex != o.mIndex; }
    bool operator<(const ElementPath& o) const { return mIndex < o.mIndex; }

private:
    std::array<int, kDepth> mIndex;
};

struct PlugRef {
    Node* mNode = nullptr;
    const Attribute* mAttribute = nullptr;
    ElementPath mPath;

    // Every multi it lies in has its element chosen: the plug holds one value.
    bool isComplete() const { return mAttribute && mPath.hasLevels(mAttribute->arrayDepth()); }
    // A multi attribute with every element but its own chosen (outputGeometry, weightList[2].weights).
    bool isWholeArray() const {
        return mAttribute && mAttribute->isArray() && mPath.hasLevels(mAttribute->arrayDepth() - 1) &&
               mPath[mAttribute->arrayDepth() - 1] < 0;
    }
    // The index of the innermost multi element it lies in, -1 when none is chosen.
    int index() const { return mAttribute ? mPath[mAttribute->arrayDepth() - 1] : -1; }

    bool operator==(const PlugRef& o) const {
        return mNode == o.mNode && mAttribute == o.mAttribute && mPath == o.mPath;
    }
    bool operator!=(const PlugRef& o) const { return !(*this == o); }
    bool operator<(const PlugRef& o) const {
        if (mNode != o.mNode) return mNode < o.mNode;
        if (mAttribute != o.mAttribute) return mAttribute < o.mAttribute;
        return mPath < o.mPath;
    }
};

}  // namespace hx
