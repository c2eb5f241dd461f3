// The queue of graph edits behind MDGModifier/MDagModifier (and the host's own commands):
// apply() runs them in order and reverts them all if one fails; revert() undoes.
#pragma once

#include "Cell.h"
#include "Node.h"
#include "Object.h"

#include <string>
#include <utility>
#include <vector>

namespace hx {

struct Plug {
    Ref<Node> mNode;  // keeps the node alive while the edit is queued
    const Attribute* mAttribute = nullptr;
    int mIndex = -1;
    PlugRef ref() const { return {mNode.get(), mAttribute, mIndex}; }
};

struct Edit {
    enum Kind { Create, Delete, Connect, Disconnect, Reparent, Rename, SetData };
    explicit Edit(Kind kind) : mKind(kind) {}
    Kind mKind;
    Ref<Node> mNode;
    Ref<Node> mParent;
    Ref<Node> mOldParent;
    Plug mSource;
    Plug mDestination;
    std::string mName;
    std::string mOldName;
    MObject mData;      // SetData: the new value of a typed plug
    MObject mOldData;
    // Delete: what the node took with it, restored on revert.
    std::vector<std::pair<Plug, Plug>> mRemovedConnections;
    std::vector<std::pair<Ref<Node>, Ref<Node>>> mRemovedChildren;  // (child, its parent)
    bool mApplied = false;
};

struct ModifierState {
    // Applies every edit not yet applied; on a failure reverts those applied by this call.
    bool apply(std::string& error);
    // Reverts every applied edit, newest first.
    bool revert(std::string& error);

    std::vector<Edit> mEdits;

private:
    bool applyOne(Edit& edit, std::string& error);
    void revertOne(Edit& edit);
};

}  // namespace hx
