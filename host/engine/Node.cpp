#include "Node.h"

#include "Access.h"
#include "Data.h"

#include <maya/MPxNode.h>

#include <set>

namespace hx {

Node::Node(std::shared_ptr<NodeType> type, MPxNode* user) : mType(std::move(type)), mUser(user) {
    mType->attach(this);
    if (mUser) Access::bind(*mUser, this);
}

Node::~Node() {
    releaseUser();
    mType->detach(this);
}

void Node::releaseUser() {
    if (!mUser) return;
    MPxNode* user = mUser;
    mUser = nullptr;
    Access::bind(*user, nullptr);
    delete user;
}

void initialiseValue(Value& value, const Attribute& attribute) {
    switch (attribute.kind()) {
    case AttrKind::Numeric:
        for (int i = 0; i < 3; ++i) setNumericComponent(value, attribute.numericType(), i, attribute.defaultValue(i));
        break;
    case AttrKind::Matrix: value.mMatrix = attribute.defaultMatrix(); break;
    case AttrKind::Typed:
        // A string plug keeps its text itself; other data goes by object.
        if (auto* text = dynamic_cast<const StringData*>(attribute.defaultData().get()))
            value.mString = text->value();
        else
            value.mData = attribute.defaultData() ? Access::wrap(attribute.defaultData()->clone().get()) : MObject();
        break;
    case AttrKind::Compound:
    case AttrKind::Message: break;
    }
}

Cell& Node::cell(const Attribute* attribute, const ElementPath& path) {
    auto key = std::make_pair(attribute, path);
    auto it = mCells.find(key);
    if (it != mCells.end()) return it->second;
    Cell& cell = mCells[key];
    initialiseValue(cell.value(), *attribute);
    cell.setDirty(mType->isComputed(attribute));
    return cell;
}

Cell* Node::findCell(const Attribute* attribute, const ElementPath& path) {
    auto it = mCells.find(std::make_pair(attribute, path));
    return it == mCells.end() ? nullptr : &it->second;
}

std::vector<unsigned int> Node::elementIndices(const Attribute* arrayAttribute, const ElementPath& outer) const {
    const int level = arrayAttribute->arrayDepth() - 1;
    std::set<unsigned int> indices;
    // Cells sort by attribute, then path: the cells of one attribute under one outer element
    // are one run.
    const ElementPath start = outer.prefix(level);
    for (const Attribute* a : arrayAttribute->subtree()) {
        for (auto it = mCells.lower_bound(std::make_pair(a, start)); it != mCells.end() && it->first.first == a; ++it) {
            const ElementPath& path = it->first.second;
            if (path.prefix(level) != start) break;
            if (path[level] >= 0) indices.insert(static_cast<unsigned int>(path[level]));
        }
    }
    return std::vector<unsigned int>(indices.begin(), indices.end());
}

void Node::setClean(const PlugRef& plug) {
    const int depth = plug.mAttribute->arrayDepth();
    for (const Attribute* a : plug.mAttribute->subtree())
        if (a->arrayDepth() == depth) cell(a, plug.mPath).setDirty(false);
}

void Node::forEachCell(const std::function<void(const PlugRef&, Cell&)>& visit) {
    for (auto& [key, cell] : mCells) visit(PlugRef{this, key.first, key.second}, cell);
}

}  // namespace hx
