#include "Modifier.h"

#include "Scene.h"

namespace hx {

Edit Edit::create(const Ref<Node>& node, Node* parent, std::string name) {
    Edit edit(Create);
    edit.mNode = node;
    edit.mParent = Ref<Node>(parent);
    edit.mName = std::move(name);
    return edit;
}

Edit Edit::remove(Node* node) {
    Edit edit(Delete);
    edit.mNode = Ref<Node>(node);
    return edit;
}

Edit Edit::connection(Kind connectOrDisconnect, const PlugRef& source, const PlugRef& destination) {
    Edit edit(connectOrDisconnect);
    edit.mSource = HeldPlug(source);
    edit.mDestination = HeldPlug(destination);
    return edit;
}

Edit Edit::reparent(Node* node, Node* parent) {
    Edit edit(Reparent);
    edit.mNode = Ref<Node>(node);
    edit.mParent = Ref<Node>(parent);
    return edit;
}

Edit Edit::rename(Node* node, std::string name) {
    Edit edit(Rename);
    edit.mNode = Ref<Node>(node);
    edit.mName = std::move(name);
    return edit;
}

Edit Edit::setData(const PlugRef& plug, const MObject& data) {
    Edit edit(SetData);
    edit.mNode = Ref<Node>(plug.mNode);
    edit.mDestination = HeldPlug(plug);
    edit.mData = data;
    return edit;
}

Error ModifierState::apply() {
    std::vector<Edit*> appliedNow;
    for (Edit& edit : mEdits) {
        if (edit.mApplied) continue;
        if (Error error = applyOne(edit)) {
            for (auto it = appliedNow.rbegin(); it != appliedNow.rend(); ++it) {
                revertOne(**it);
                (*it)->mApplied = false;
            }
            return error;
        }
        edit.mApplied = true;
        appliedNow.push_back(&edit);
    }
    return Error();
}

void ModifierState::revert() {
    for (auto it = mEdits.rbegin(); it != mEdits.rend(); ++it)
        if (it->mApplied) {
            revertOne(*it);
            it->mApplied = false;
        }
}

Error ModifierState::applyOne(Edit& edit) {
    switch (edit.mKind) {
    case Edit::Create:
        // A node whose type went away with its plug-in (after an undo, say) cannot return.
        if (!edit.mNode->type()->isRegistered())
            return Error::failure("node type '" + edit.mNode->type()->name() + "' is no longer registered");
        return mScene.insert(edit.mNode.get(), edit.mName, edit.mParent.get());
    case Edit::Delete: {
        Node* node = edit.mNode.get();
        if (!node->inGraph()) return Error::failure("node '" + node->name() + "' is not in the scene");
        edit.mRemovedConnections.clear();
        edit.mRemovedChildren.clear();
        edit.mOldParent = Ref<Node>(node->parent());
        // A DAG node goes with everything under it, deepest first.
        std::vector<Node*> doomed{node};
        for (size_t i = 0; i < doomed.size(); ++i)
            for (Node* child : doomed[i]->children()) doomed.push_back(child);
        for (Node* n : doomed)
            if (mScene.isDefault(n))
                return Error::failure("'" + n->name() + "' is a default node of every scene and cannot be deleted");
        for (Node* n : doomed)
            for (const auto& [s, d] : mScene.connectionsOf(n)) {
                bool known = false;
                for (const auto& [ks, kd] : edit.mRemovedConnections) known = known || (ks.ref() == s && kd.ref() == d);
                if (!known) edit.mRemovedConnections.emplace_back(HeldPlug(s), HeldPlug(d));
            }
        for (size_t i = 1; i < doomed.size(); ++i)
            edit.mRemovedChildren.emplace_back(Ref<Node>(doomed[i]), Ref<Node>(doomed[i]->parent()));
        for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) mScene.remove(*it);
        return Error();
    }
    case Edit::Connect: return mScene.connect(edit.mSource.ref(), edit.mDestination.ref());
    case Edit::Disconnect: return mScene.disconnect(edit.mSource.ref(), edit.mDestination.ref());
    case Edit::Reparent: {
        Ref<Node> oldParent(edit.mNode->parent());
        if (Error error = mScene.reparent(edit.mNode.get(), edit.mParent.get())) return error;
        edit.mOldParent = oldParent;
        return Error();
    }
    case Edit::Rename: edit.mOldName = edit.mNode->name(); return mScene.rename(edit.mNode.get(), edit.mName);
    case Edit::SetData: {
        Cell& cell = edit.mNode->cell(edit.mDestination.ref());
        edit.mOldData = cell.value().mData;
        cell.value().mData = edit.mData;
        cell.setDirty(false);
        mScene.propagateDirty(edit.mDestination.ref());
        return Error();
    }
    }
    return Error::failure("unknown edit");
}

void ModifierState::revertOne(Edit& edit) {
    // Each revert restores a state the scene was in, so none of these can be refused.
    switch (edit.mKind) {
    case Edit::Create: mScene.remove(edit.mNode.get()); break;
    case Edit::Delete: {
        static_cast<void>(mScene.insert(edit.mNode.get(), edit.mNode->name(), edit.mOldParent.get()));
        for (const auto& [child, parent] : edit.mRemovedChildren)
            static_cast<void>(mScene.insert(child.get(), child->name(), parent.get()));
        for (const auto& [s, d] : edit.mRemovedConnections) static_cast<void>(mScene.connect(s.ref(), d.ref()));
        break;
    }
    case Edit::Connect: static_cast<void>(mScene.disconnect(edit.mSource.ref(), edit.mDestination.ref())); break;
    case Edit::Disconnect: static_cast<void>(mScene.connect(edit.mSource.ref(), edit.mDestination.ref())); break;
    case Edit::Reparent: static_cast<void>(mScene.reparent(edit.mNode.get(), edit.mOldParent.get())); break;
    case Edit::Rename: static_cast<void>(mScene.rename(edit.mNode.get(), edit.mOldName)); break;
    case Edit::SetData: {
        Cell& cell = edit.mNode->cell(edit.mDestination.ref());
        cell.value().mData = edit.mOldData;
        mScene.propagateDirty(edit.mDestination.ref());
        break;
    }
    }
}

}  // namespace hx
