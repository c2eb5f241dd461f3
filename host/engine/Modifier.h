// The queue of graph edits behind MDGModifier/MDagModifier (and the host's own commands):
// apply() runs them in order and reverts them all if one fails; revert() undoes.
#pragma once

#include "Error.h"
#include "Node.h"
#include "Object.h"

#include <string>
#include <utility>
#include <vector>

namespace hx {

class Scene;

// A plug that keeps its node alive while the edit is queued.
struct HeldPlug {
    Ref<Node> mNode;
    const Attribute* mAttribute = nullptr;
    ElementPath mPath;

    HeldPlug() = default;
    explicit HeldPlug(const PlugRef& plug) : mNode(plug.mNode), mAttribute(plug.mAttribute), mPath(plug.mPath) {}
    PlugRef ref() const { return {mNode.get(), mAttribute, mPath}; }
};

struct Edit {
    enum Kind { Create, Delete, Connect, Disconnect, Reparent, Rename, SetData };

    static Edit create(const Ref<Node>& node, Node* parent = nullptr, std::string name = std::string());
    static Edit remove(Node* node);
    static Edit connection(Kind connectOrDisconnect, const PlugRef& source, const PlugRef& destination);
    static Edit reparent(Node* node, Node* parent);
    static Edit rename(Node* node, std::string name);
    // A typed plug's new value, set as part of the edits (a shape handing its geometry on).
    static Edit setData(const PlugRef& plug, const MObject& data);

    Kind mKind;
    Ref<Node> mNode;
    Ref<Node> mParent;
    Ref<Node> mOldParent;
    HeldPlug mSource;
    HeldPlug mDestination;
    std::string mName;
    std::string mOldName;
    MObject mData;  // SetData: the new value of a typed plug
    MObject mOldData;
    // Delete: what the node took with it, restored on revert.
    std::vector<std::pair<HeldPlug, HeldPlug>> mRemovedConnections;
    std::vector<std::pair<Ref<Node>, Ref<Node>>> mRemovedChildren;  // (child, its parent)
    bool mApplied = false;

private:
    explicit Edit(Kind kind) : mKind(kind) {}
};

class ModifierState {
public:
    explicit ModifierState(Scene& scene) : mScene(scene) {}

    void add(Edit edit) { mEdits.push_back(std::move(edit)); }
    // Applies every edit not yet applied; on a failure reverts those applied by this call.
    Error apply();
    // Reverts every applied edit, newest first.
    void revert();

private:
    Error applyOne(Edit& edit);
    void revertOne(Edit& edit);

    Scene& mScene;
    std::vector<Edit> mEdits;
};

}  // namespace hx
