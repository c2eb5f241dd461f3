#include "NodeType.h"

#include <algorithm>

namespace hx {

NodeType::NodeType(std::string name, unsigned int id, MPxNode::Type pxType, BaseKind base, MCreatorFunction creator,
                   std::string plugin)
    : mName(std::move(name)), mId(id), mPxType(pxType), mBase(base), mCreator(creator), mPlugin(std::move(plugin)) {}

MFn::Type NodeType::apiType() const {
    const bool plugin = !mPlugin.empty();
    switch (mBase) {
    case BaseKind::Transform: return MFn::kTransform;
    case BaseKind::Mesh: return MFn::kMesh;
    case BaseKind::Locator: return plugin ? MFn::kPluginLocatorNode : MFn::kLocator;
    case BaseKind::Deformer: return plugin ? MFn::kPluginDeformerNode : MFn::kGeometryFilt;
    case BaseKind::Time: return MFn::kTime;
    case BaseKind::Depend: return plugin ? MFn::kPluginDependNode : MFn::kDependencyNode;
    }
    return MFn::kDependencyNode;
}

const Attribute* NodeType::find(const std::string& name) const {
    for (const auto& attribute : mAttributes)
        if (attribute->name() == name) return attribute.get();
    for (const auto& attribute : mAttributes)
        if (attribute->shortName() == name) return attribute.get();
    return nullptr;
}

void NodeType::add(Attribute* attribute) {
    if (has(attribute)) return;
    mSlots[attribute] = mAttributes.size();
    mAttributes.emplace_back(attribute);
    attribute->setAdded(true);
    for (const auto& child : attribute->children()) add(child.get());
}

void NodeType::addAffects(const Attribute* from, const Attribute* to) {
    auto& targets = mAffects[from];
    if (std::find(targets.begin(), targets.end(), to) == targets.end()) {
        targets.push_back(to);
        mAffected.insert(to);
    }
    for (const auto& child : from->children()) addAffects(child.get(), to);
    for (const auto& child : to->children()) addAffects(from, child.get());
}

void NodeType::inherit(const NodeType& base) {
    for (const auto& attribute : base.mAttributes) {
        if (has(attribute.get())) continue;
        mSlots[attribute.get()] = mAttributes.size();
        mAttributes.push_back(attribute);
    }
    for (const auto& [from, targets] : base.mAffects) {
        auto& mine = mAffects[from];
        for (const Attribute* t : targets)
            if (std::find(mine.begin(), mine.end(), t) == mine.end()) mine.push_back(t);
    }
    mAffected.insert(base.mAffected.begin(), base.mAffected.end());
    mInheritedCount = mAttributes.size();
}

const std::vector<const Attribute*>& NodeType::affects(const Attribute* attribute) const {
    static const std::vector<const Attribute*> none;
    auto it = mAffects.find(attribute);
    return it == mAffects.end() ? none : it->second;
}

void NodeType::releaseOwnAttributes() {
    for (size_t i = mInheritedCount; i < mAttributes.size(); ++i) mAttributes[i]->setAdded(false);
}

}  // namespace hx
