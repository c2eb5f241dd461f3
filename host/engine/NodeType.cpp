#include "NodeType.h"

namespace hx {

MFn::Type NodeType::apiType() const {
    const bool plugin = !mPlugin.empty();
    switch (mBase) {
    case BaseKind::Transform: return MFn::kTransform;
    case BaseKind::Mesh: return MFn::kMesh;
    case BaseKind::Locator: return plugin ? MFn::kPluginLocatorNode : MFn::kLocator;
    case BaseKind::Deformer: return plugin ? MFn::kPluginDeformerNode : MFn::kGeometryFilt;
    case BaseKind::Depend: return plugin ? MFn::kPluginDependNode : MFn::kDependencyNode;
    }
    return MFn::kDependencyNode;
}

const Attribute* NodeType::find(const std::string& name) const {
    for (const auto& attribute : mAttributes)
        if (attribute->mName == name) return attribute.get();
    for (const auto& attribute : mAttributes)
        if (attribute->mShortName == name) return attribute.get();
    return nullptr;
}

void NodeType::add(Attribute* attribute) {
    if (has(attribute)) return;
    mSlots[attribute] = mAttributes.size();
    mAttributes.emplace_back(attribute);
    for (const auto& child : attribute->mChildren) add(child.get());
}

void NodeType::addAffects(const Attribute* from, const Attribute* to) {
    auto& targets = mAffects[from];
    bool known = false;
    for (const Attribute* t : targets) known = known || t == to;
    if (!known) {
        targets.push_back(to);
        mAffected.insert(to);
    }
    for (const auto& child : from->mChildren) addAffects(child.get(), to);
    for (const auto& child : to->mChildren) addAffects(from, child.get());
}

void NodeType::inherit(const NodeType& base) {
    for (const auto& attribute : base.mAttributes) {
        if (has(attribute.get())) continue;
        mSlots[attribute.get()] = mAttributes.size();
        mAttributes.push_back(attribute);
    }
    for (const auto& [from, targets] : base.mAffects) {
        auto& mine = mAffects[from];
        for (const Attribute* t : targets) {
            bool known = false;
            for (const Attribute* m : mine) known = known || m == t;
            if (!known) mine.push_back(t);
        }
    }
    mAffected.insert(base.mAffected.begin(), base.mAffected.end());
    mInheritedCount = mAttributes.size();
}

const std::vector<const Attribute*>& NodeType::affects(const Attribute* attribute) const {
    static const std::vector<const Attribute*> none;
    auto it = mAffects.find(attribute);
    return it == mAffects.end() ? none : it->second;
}

}  // namespace hx
