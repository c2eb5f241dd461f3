#include "Modifier.h"

#include "Engine.h"

#include <algorithm>

namespace hx {

bool ModifierState::apply(std::string& error) {
    std::vector<Edit*> appliedNow;
    for (Edit& edit : mEdits) {
        if (edit.mApplied) continue;
        if (!applyOne(edit, error)) {
            for (auto it = appliedNow.rbegin(); it != appliedNow.rend(); ++it) revertOne(**it);
            return false;
        }
        edit.mApplied = true;
        appliedNow.push_back(&edit);
    }
    return true;
}

bool ModifierState::revert(std::string&) {
    for (auto it = mEdits.rbegin(); it != mEdits.rend(); ++it)
        if (it->mApplied) {
            revertOne(*it);
            it->mApplied = false;
        }
    return true;
}

bool ModifierState::applyOne(Edit& edit, std::string& error) {
    Scene& scene = Engine::get().scene();
    switch (edit.mKind) {
    case Edit::Create:
        // A node whose type went away with its plug-in (after an undo, say) cannot return.
        if (Engine::get().findType(edit.mNode->mType->mName) != edit.mNode->mType) {
            error = "node type '" + edit.mNode->mType->mName + "' is no longer registered";
            return false;
        }
        return scene.insert(edit.mNode.get(), edit.mName, edit.mParent.get(), error);
    case Edit::Delete: {
        Node* node = edit.mNode.get();
        if (!node->mInGraph) {
            error = "node '" + node->mName + "' is not in the scene";
            return false;
        }
        edit.mRemovedConnections.clear();
        edit.mRemovedChildren.clear();
        edit.mOldParent = Ref<Node>(node->mParent);
        // A DAG node goes with everything under it, deepest first.
        std::vector<Node*> doomed{node};
        for (size_t i = 0; i < doomed.size(); ++i)
            for (Node* child : doomed[i]->mChildren) doomed.push_back(child);
        for (Node* n : doomed)
            for (const auto& [s, d] : scene.connectionsOf(n)) {
                bool known = false;
                for (const auto& [ks, kd] : edit.mRemovedConnections) known = known || (ks.ref() == s && kd.ref() == d);
                if (!known)
                    edit.mRemovedConnections.push_back({Plug{Ref<Node>(s.mNode), s.mAttribute, s.mIndex},
                                                        Plug{Ref<Node>(d.mNode), d.mAttribute, d.mIndex}});
            }
        for (size_t i = 1; i < doomed.size(); ++i)
            edit.mRemovedChildren.emplace_back(Ref<Node>(doomed[i]), Ref<Node>(doomed[i]->mParent));
        for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) scene.remove(*it);
        return true;
    }
    case Edit::Connect:
        return scene.connect(edit.mSource.ref(), edit.mDestination.ref(), error);
    case Edit::Disconnect:
        return scene.disconnect(edit.mSource.ref(), edit.mDestination.ref(), error);
    case Edit::Reparent: {
        Node* node = edit.mNode.get();
        Node* parent = edit.mParent.get();
        if (!node->mInGraph || (parent && !parent->mInGraph)) {
            error = "reparenting needs nodes in the scene";
            return false;
        }
        if (!node->mType->isDag() || (parent && (!parent->mType->isDag() || parent->mType->isShape()))) {
            error = "'" + node->mName + "' cannot be placed under " + (parent ? "'" + parent->mName + "'" : "the world");
            return false;
        }
        for (Node* p = parent; p; p = p->mParent)
            if (p == node) {
                error = "'" + parent->mName + "' is below '" + node->mName + "'";
                return false;
            }
        if (!parent && node->mType->isShape()) {
            error = "shape '" + node->mName + "' needs a transform parent";
            return false;
        }
        edit.mOldParent = Ref<Node>(node->mParent);
        scene.reparent(node, parent);
        return true;
    }
    case Edit::Rename:
        edit.mOldName = edit.mNode->mName;
        return scene.rename(edit.mNode.get(), edit.mName, error);
    case Edit::SetData: {
        Cell& cell = edit.mNode->cell(edit.mDestination.mAttribute, edit.mDestination.mIndex);
        edit.mOldData = cell.mValue.mData;
        cell.mValue.mData = edit.mData;
        cell.mDirty = false;
        scene.propagateDirty(edit.mDestination.ref());
        return true;
    }
    }
    return false;
}

void ModifierState::revertOne(Edit& edit) {
    Scene& scene = Engine::get().scene();
    std::string ignored;
    switch (edit.mKind) {
    case Edit::Create:
        scene.remove(edit.mNode.get());
        break;
    case Edit::Delete: {
        scene.insert(edit.mNode.get(), edit.mNode->mName, edit.mOldParent.get(), ignored);
        for (const auto& [child, parent] : edit.mRemovedChildren)
            scene.insert(child.get(), child->mName, parent.get(), ignored);
        for (const auto& [s, d] : edit.mRemovedConnections) scene.connect(s.ref(), d.ref(), ignored);
        break;
    }
    case Edit::Connect:
        scene.disconnect(edit.mSource.ref(), edit.mDestination.ref(), ignored);
        break;
    case Edit::Disconnect:
        scene.connect(edit.mSource.ref(), edit.mDestination.ref(), ignored);
        break;
    case Edit::Reparent:
        scene.reparent(edit.mNode.get(), edit.mOldParent.get());
        break;
    case Edit::Rename:
        scene.rename(edit.mNode.get(), edit.mOldName, ignored);
        break;
    case Edit::SetData: {
        Cell& cell = edit.mNode->cell(edit.mDestination.mAttribute, edit.mDestination.mIndex);
        cell.mValue.mData = edit.mOldData;
        scene.propagateDirty(edit.mDestination.ref());
        break;
    }
    }
}

}  // namespace hx
