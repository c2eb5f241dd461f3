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
enum class BaseKind { Depend, Transform, Mesh, Locator, Deformer, Time };

class NodeType {
public:
    NodeType(std::string name, unsigned int id, MPxNode::Type pxType, BaseKind base, MCreatorFunction creator = nullptr,
             std::string plugin = std::string());

    const std::string& name() const { return mName; }
    unsigned int id() const { return mId; }
    MPxNode::Type pxType() const { return mPxType; }
    BaseKind base() const { return mBase; }
    MCreatorFunction creator() const { return mCreator; }
    // The owning plug-in's name; empty for the host's own types.
    const std::string& plugin() const { return mPlugin; }
    bool isDag() const { return mBase == BaseKind::Transform || isShape(); }
    bool isShape() const { return mBase == BaseKind::Mesh || mBase == BaseKind::Locator; }
    MFn::Type apiType() const;

    // Inherited first, then in the order added.
    const std::vector<Ref<Attribute>>& attributes() const { return mAttributes; }
    size_t inheritedCount() const { return mInheritedCount; }
    // By long name, else by short name.
    const Attribute* find(const std::string& name) const;
    bool has(const Attribute* attribute) const { return mSlots.count(attribute) != 0; }
    // Adds an attribute and, for a compound, its children, and marks them taken.
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
    // Gives the attributes it added back, so that a later type may take them (a failed
    // initialisation, a deregistered type).
    void releaseOwnAttributes();

    // Every node of this type still alive, in the graph or not.
    const std::set<Node*>& liveNodes() const { return mLiveNodes; }

    // False once the registry has let the type go: its nodes cannot join the graph again.
    bool isRegistered() const { return mRegistered; }
    void setRegistered(bool registered) { mRegistered = registered; }

private:
    friend class Node;
    void attach(Node* node) { mLiveNodes.insert(node); }
    void detach(Node* node) { mLiveNodes.erase(node); }

    std::string mName;
    unsigned int mId;
    MPxNode::Type mPxType;
    BaseKind mBase;
    MCreatorFunction mCreator;
    std::string mPlugin;
    std::vector<Ref<Attribute>> mAttributes;
    std::unordered_map<const Attribute*, size_t> mSlots;
    std::unordered_map<const Attribute*, std::vector<const Attribute*>> mAffects;
    std::unordered_set<const Attribute*> mAffected;
    std::set<Node*> mLiveNodes;
    size_t mInheritedCount = 0;  // the first attributes come from the base type
    bool mRegistered = false;
};

}  // namespace hx
