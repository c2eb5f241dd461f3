// A registered node type: identity, creator, attributes (inherited and own) and the
// attributeAffects edges between them.
#pragma once

#include "Attribute.h"

#include <maya/MPxNode.h>
#include <maya/MTypes.h>

#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace hx {

class Node;

// Which of the host's own behaviours a type builds on.
enum class BaseKind { Depend, Transform, Mesh, Locator, Deformer };

class NodeType {
public:
    NodeType(std::string name, unsigned int id, MPxNode::Type pxType, BaseKind base)
        : mName(std::move(name)), mId(id), mPxType(pxType), mBase(base) {}

    bool isDag() const { return mBase == BaseKind::Transform || isShape(); }
    bool isShape() const { return mBase == BaseKind::Mesh || mBase == BaseKind::Locator; }
    MFn::Type apiType() const;

    const Attribute* find(const std::string& name) const;
    bool has(const Attribute* attribute) const { return mSlots.count(attribute) != 0; }
    // Adds an attribute and, for a compound, its children.
    void add(Attribute* attribute);
    // Records that a change of `from` dirties `to` (compound ends expand to their children).
    void addAffects(const Attribute* from, const Attribute* to);
    // Marks an attribute the type computes although no attribute affects it.
    void markComputed(const Attribute* attribute) { mAffected.insert(attribute); }
    // Copies attributes and edges of another type (the base of a plug-in type).
    void inherit(const NodeType& base);
    // True when the type's own computation produces this attribute's value.
    bool isComputed(const Attribute* attribute) const { return mAffected.count(attribute) != 0; }
    const std::vector<const Attribute*>& affects(const Attribute* attribute) const;

    std::string mName;
    unsigned int mId;
    MPxNode::Type mPxType;
    BaseKind mBase;
    MCreatorFunction mCreator = nullptr;
    std::string mPlugin;  // owning plug-in's name; empty for the host's own types
    std::vector<Ref<Attribute>> mAttributes;
    std::unordered_map<const Attribute*, size_t> mSlots;
    std::unordered_map<const Attribute*, std::vector<const Attribute*>> mAffects;
    std::unordered_set<const Attribute*> mAffected;
    std::set<Node*> mLiveNodes;  // every node of this type still alive, in the graph or not
    size_t mInheritedCount = 0;  // the first attributes come from the base type
};

}  // namespace hx
