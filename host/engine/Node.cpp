#include "Node.h"

#include "Access.h"

#include <maya/MPxNode.h>

#include <algorithm>
#include <set>

namespace hx {

Node::Node(std::shared_ptr<NodeType> type, MPxNode* user) : mType(std::move(type)), mUser(user) {
    mType->mLiveNodes.insert(this);
    if (mUser) Access::bind(*mUser, this);
}

Node::~Node() {
    releaseUser();
    mType->mLiveNodes.erase(this);
}

void Node::releaseUser() {
    if (!mUser) return;
    MPxNode* user = mUser;
    mUser = nullptr;
    Access::bind(*user, nullptr);
    delete user;
}

void initialiseValue(Value& value, const Attribute& attribute) {
    switch (attribute.mKind) {
    case AttrKind::Numeric:
        for (int i = 0; i < 3; ++i)
            setNumericComponent(value, attribute.mNumericType, i, attribute.mDefault[i]);
        break;
    case AttrKind::Matrix: value.mMatrix = attribute.mDefaultMatrix; break;
    case AttrKind::Typed:
        value.mData = attribute.mDefaultData ? Access::wrap(attribute.mDefaultData->clone().get())
                                             : MObject();
        break;
    case AttrKind::Compound:
    case AttrKind::Message: break;
    }
}

Cell& Node::cell(const Attribute* attribute, int index) {
    auto key = std::make_pair(attribute, index);
    auto it = mCells.find(key);
    if (it != mCells.end()) return it->second;
    Cell& cell = mCells[key];
    initialiseValue(cell.mValue, *attribute);
    cell.mDirty = mType->isComputed(attribute);
    return cell;
}

Cell* Node::findCell(const Attribute* attribute, int index) {
    auto it = mCells.find(std::make_pair(attribute, index));
    return it == mCells.end() ? nullptr : &it->second;
}

std::vector<unsigned int> Node::elementIndices(const Attribute* arrayAttribute) const {
    std::set<unsigned int> indices;
    for (const auto& [key, cell] : mCells) {
        const Attribute* a = key.first;
        if (key.second < 0) continue;
        if (a == arrayAttribute || a->mParent == arrayAttribute)
            indices.insert(static_cast<unsigned int>(key.second));
    }
    return std::vector<unsigned int>(indices.begin(), indices.end());
}

}  // namespace hx
