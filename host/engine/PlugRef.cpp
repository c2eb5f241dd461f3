#include "PlugRef.h"

namespace hx {

ElementPath ElementPath::with(int level, int index) const {
    ElementPath path = prefix(level);
    if (level >= 0 && level < kDepth) path.mIndex[level] = index;
    return path;
}

ElementPath ElementPath::prefix(int levels) const {
    ElementPath path;
    for (int i = 0; i < levels && i < kDepth; ++i) path.mIndex[i] = mIndex[i];
    return path;
}

bool ElementPath::hasLevels(int levels) const {
    for (int i = 0; i < levels; ++i)
        if (i >= kDepth || mIndex[i] < 0) return false;
    return true;
}

}  // namespace hx
