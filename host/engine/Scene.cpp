// The scene's membership, names and DAG links.
#include "Scene.h"

#include "Access.h"
#include "BaseAttributes.h"

#include <maya/MPxNode.h>

#include <algorithm>
#include <cctype>

namespace hx {

Error Scene::instantiate(const std::shared_ptr<NodeType>& type, Ref<Node>& made) {
    made = Ref<Node>();
    void* user = nullptr;
    try {
        user = type->creator() ? type->creator()() : nullptr;
    } catch (...) {
        return Error::failure("the creator of node type '" + type->name() + "' threw an exception");
    }
    if (!user) return Error::failure("the creator of node type '" + type->name() + "' returned no node");
    // Creators hand back `new Node` as void*; the MPxNode base is at its start.
    auto* pxNode = static_cast<MPxNode*>(user);
    Ref<Node> node(new Node(type, pxNode));
    try {
        pxNode->postConstructor();
    } catch (...) {
        return Error::failure("postConstructor of a '" + type->name() + "' node threw an exception");
    }
    // Plugs of attributes outside every multi exist from the start, with their defaults.
    for (const auto& attribute : type->attributes())
        if (!attribute->inArray()) node->cell(attribute.get(), ElementPath());
    made = node;
    return Error();
}

bool Scene::isValidName(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

std::string Scene::automaticName(const std::string& base) const {
    for (unsigned long n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        if (!mByName.count(name)) return name;
    }
}

Error Scene::insert(Node* node, const std::string& name, Node* parent) {
    if (node->mInGraph) return Error::failure("node '" + node->mName + "' is already in the scene");
    const std::string chosen = name.empty() ? automaticName(node->type()->name()) : name;
    if (!isValidName(chosen)) return Error::invalid("'" + chosen + "' is not a valid node name");
    if (mByName.count(chosen)) return Error::failure("a node named '" + chosen + "' already exists");
    if (parent && (!parent->mInGraph || !parent->type()->isDag() || parent->type()->isShape()))
        return Error::invalid("'" + parent->mName + "' cannot be a DAG parent");
    node->mName = chosen;
    node->mInGraph = true;
    mByName[chosen] = node;
    mNodes.emplace_back(node);
    if (node->type()->isDag()) link(node, parent);
    return Error();
}

void Scene::remove(Node* node) {
    if (!node->mInGraph) return;
    for (const auto& [source, destination] : connectionsOf(node)) static_cast<void>(disconnect(source, destination));
    for (Node* child : std::vector<Node*>(node->mChildren)) link(child, nullptr);
    link(node, nullptr);
    mByName.erase(node->mName);
    node->mInGraph = false;
    mDefaults.erase(std::remove(mDefaults.begin(), mDefaults.end(), node), mDefaults.end());
    Ref<Node> keep(node);  // erase below may drop the last reference
    mNodes.erase(std::remove_if(mNodes.begin(), mNodes.end(), [node](const Ref<Node>& n) { return n.get() == node; }),
                 mNodes.end());
}

void Scene::clear() {
    while (!mNodes.empty()) remove(mNodes.back().get());
    mDefaults.clear();
}

bool Scene::isDefault(const Node* node) const {
    return std::find(mDefaults.begin(), mDefaults.end(), node) != mDefaults.end();
}

Node* Scene::find(const std::string& name) const {
    auto it = mByName.find(name);
    return it == mByName.end() ? nullptr : it->second;
}

Error Scene::rename(Node* node, const std::string& name) {
    if (!isValidName(name)) return Error::invalid("'" + name + "' is not a valid node name");
    if (node->mName == name) return Error();
    if (isDefault(node))
        return Error::failure("'" + node->mName + "' is a default node of every scene: it keeps its name");
    if (mByName.count(name)) return Error::failure("a node named '" + name + "' already exists");
    if (node->mInGraph) {
        mByName.erase(node->mName);
        mByName[name] = node;
    }
    node->mName = name;
    return Error();
}

Error Scene::reparent(Node* node, Node* parent) {
    if (!node->mInGraph || (parent && !parent->mInGraph)) return Error::failure("reparenting needs nodes in the scene");
    if (!node->type()->isDag() || (parent && (!parent->type()->isDag() || parent->type()->isShape())))
        return Error::invalid("'" + node->mName + "' cannot be placed under " +
                              (parent ? "'" + parent->mName + "'" : "the world"));
    for (Node* p = parent; p; p = p->mParent)
        if (p == node) return Error::invalid("'" + parent->mName + "' is below '" + node->mName + "'");
    if (!parent && node->type()->isShape())
        return Error::invalid("shape '" + node->mName + "' needs a transform parent");
    link(node, parent);
    return Error();
}

void Scene::link(Node* node, Node* parent) {
    if (node->mParent) {
        auto& siblings = node->mParent->mChildren;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    node->mParent = parent;
    if (parent) parent->mChildren.push_back(node);
    if (node->type()->isDag()) markDirty({node, baseAttributes().parentMatrix.get(), ElementPath()});
}

}  // namespace hx
