#include "Scene.h"

#include "Access.h"
#include "Engine.h"
#include "PlugPath.h"

#include <maya/MPxNode.h>

#include <algorithm>
#include <cctype>
#include <new>
#include <set>

namespace hx {

namespace {

bool sameValueKind(const Attribute& a, const Attribute& b) {
    if (a.mKind == AttrKind::Numeric && b.mKind == AttrKind::Numeric)
        return componentCount(a.mNumericType) == componentCount(b.mNumericType);
    if (a.mKind != b.mKind) return false;
    if (a.mKind == AttrKind::Typed) return a.mDataType == b.mDataType;
    return true;
}

}  // namespace

Ref<Node> Scene::instantiate(const std::shared_ptr<NodeType>& type, std::string& error) {
    void* made = nullptr;
    try {
        made = type->mCreator ? type->mCreator() : nullptr;
    } catch (...) {
        error = "the creator of node type '" + type->mName + "' threw an exception";
        return Ref<Node>();
    }
    if (!made) {
        error = "the creator of node type '" + type->mName + "' returned no node";
        return Ref<Node>();
    }
    // Creators hand back `new Node` as void*; the MPxNode base is at its start.
    auto* user = static_cast<MPxNode*>(made);
    Ref<Node> node(new Node(type, user));
    try {
        user->postConstructor();
    } catch (...) {
        error = "postConstructor of a '" + type->mName + "' node threw an exception";
        return Ref<Node>();
    }
    // Plugs of non-multi attributes exist from the start, with their defaults.
    for (const auto& attribute : type->mAttributes)
        if (!attribute->inArray()) node->cell(attribute.get(), -1);
    return node;
}

bool Scene::isValidName(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

std::string Scene::automaticName(const std::string& base) const {
    for (unsigned long n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        if (!mByName.count(name)) return name;
    }
}

bool Scene::insert(Node* node, const std::string& name, Node* parent, std::string& error) {
    if (node->mInGraph) {
        error = "node '" + node->mName + "' is already in the scene";
        return false;
    }
    std::string chosen = name.empty() ? automaticName(node->mType->mName) : name;
    if (!isValidName(chosen)) {
        error = "'" + chosen + "' is not a valid node name";
        return false;
    }
    if (mByName.count(chosen)) {
        error = "a node named '" + chosen + "' already exists";
        return false;
    }
    if (parent && (!parent->mInGraph || !parent->mType->isDag() || parent->mType->isShape())) {
        error = "'" + parent->mName + "' cannot be a DAG parent";
        return false;
    }
    node->mName = chosen;
    node->mInGraph = true;
    mByName[chosen] = node;
    mNodes.emplace_back(node);
    if (node->mType->isDag()) reparent(node, parent);
    return true;
}

void Scene::remove(Node* node) {
    if (!node->mInGraph) return;
    for (const auto& [source, destination] : connectionsOf(node)) {
        std::string ignored;
        disconnect(source, destination, ignored);
    }
    for (Node* child : std::vector<Node*>(node->mChildren)) reparent(child, nullptr);
    reparent(node, nullptr);
    mByName.erase(node->mName);
    node->mInGraph = false;
    Ref<Node> keep(node);  // erase below may drop the last reference
    mNodes.erase(std::remove_if(mNodes.begin(), mNodes.end(),
                                [node](const Ref<Node>& n) { return n.get() == node; }),
                 mNodes.end());
}

void Scene::clear() {
    while (!mNodes.empty()) remove(mNodes.back().get());
}

Node* Scene::find(const std::string& name) const {
    auto it = mByName.find(name);
    return it == mByName.end() ? nullptr : it->second;
}

bool Scene::rename(Node* node, const std::string& name, std::string& error) {
    if (!isValidName(name)) {
        error = "'" + name + "' is not a valid node name";
        return false;
    }
    if (node->mName == name) return true;
    if (mByName.count(name)) {
        error = "a node named '" + name + "' already exists";
        return false;
    }
    if (node->mInGraph) {
        mByName.erase(node->mName);
        mByName[name] = node;
    }
    node->mName = name;
    return true;
}

bool Scene::connectionPairs(const PlugRef& source, const PlugRef& destination,
                            std::vector<std::pair<PlugRef, PlugRef>>& pairs,
                            std::string& error) const {
    const Attribute& s = *source.mAttribute;
    const Attribute& d = *destination.mAttribute;
    if (!source.mNode || !destination.mNode) {
        error = "a connection needs two nodes";
        return false;
    }
    if (!source.mNode->mType->has(&s) || !destination.mNode->mType->has(&d)) {
        error = "the attribute does not belong to the node";
        return false;
    }
    if ((s.inArray() && source.mIndex < 0) || (d.inArray() && destination.mIndex < 0)) {
        error = "a multi attribute connects one element at a time (" +
                (s.inArray() && source.mIndex < 0 ? plugName(source) : plugName(destination)) +
                " needs an index)";
        return false;
    }
    if (source.mNode == destination.mNode && &s == &d && source.mIndex == destination.mIndex) {
        error = "cannot connect " + plugName(source) + " to itself";
        return false;
    }
    if (!s.mConnectable || !s.mReadable) {
        error = plugName(source) + " cannot be a connection source (not readable or connectable)";
        return false;
    }
    if (!d.mConnectable || !d.mWritable) {
        error = plugName(destination) + " cannot be a connection destination (not writable or connectable)";
        return false;
    }
    if (s.mKind == AttrKind::Compound || d.mKind == AttrKind::Compound) {
        if (s.mKind != d.mKind || s.mChildren.size() != d.mChildren.size()) {
            error = "type mismatch: cannot connect " + plugName(source) + " to " + plugName(destination);
            return false;
        }
        for (size_t i = 0; i < s.mChildren.size(); ++i) {
            PlugRef cs{source.mNode, s.mChildren[i].get(), source.mIndex};
            PlugRef cd{destination.mNode, d.mChildren[i].get(), destination.mIndex};
            if (!connectionPairs(cs, cd, pairs, error)) return false;
        }
        return true;
    }
    if (!sameValueKind(s, d)) {
        error = "type mismatch: cannot connect " + plugName(source) + " to " + plugName(destination);
        return false;
    }
    pairs.emplace_back(source, destination);
    return true;
}

bool Scene::connect(const PlugRef& source, const PlugRef& destination, std::string& error) {
    if (!source.mNode || !destination.mNode || !source.mNode->mInGraph || !destination.mNode->mInGraph) {
        error = "both nodes of a connection must be in the scene";
        return false;
    }
    std::vector<std::pair<PlugRef, PlugRef>> pairs;
    if (!connectionPairs(source, destination, pairs, error)) return false;
    for (const auto& [s, d] : pairs) {
        Cell* existing = d.mNode->findCell(d.mAttribute, d.mIndex);
        if (existing && existing->mSource) {
            error = plugName(d) + " already has an incoming connection from " + plugName(*existing->mSource);
            return false;
        }
    }
    for (const auto& [s, d] : pairs) {
        s.mNode->cell(s.mAttribute, s.mIndex).mDestinations.push_back(d);
        d.mNode->cell(d.mAttribute, d.mIndex).mSource = s;
        markDirty(d);
    }
    return true;
}

bool Scene::isConnected(const PlugRef& source, const PlugRef& destination) const {
    Cell* cell = destination.mNode ? destination.mNode->findCell(destination.mAttribute, destination.mIndex) : nullptr;
    return cell && cell->mSource && *cell->mSource == source;
}

bool Scene::disconnect(const PlugRef& source, const PlugRef& destination, std::string& error) {
    std::vector<std::pair<PlugRef, PlugRef>> pairs;
    if (!connectionPairs(source, destination, pairs, error)) return false;
    for (const auto& [s, d] : pairs) {
        if (!isConnected(s, d)) {
            error = plugName(s) + " is not connected to " + plugName(d);
            return false;
        }
    }
    for (const auto& [s, d] : pairs) {
        auto& outs = s.mNode->cell(s.mAttribute, s.mIndex).mDestinations;
        outs.erase(std::remove(outs.begin(), outs.end(), d), outs.end());
        Cell& in = d.mNode->cell(d.mAttribute, d.mIndex);
        in.mSource.reset();
        // The destination keeps the last value it received.
        in.mDirty = false;
        propagateDirty(d);
    }
    return true;
}

std::vector<std::pair<PlugRef, PlugRef>> Scene::connectionsOf(Node* node) const {
    std::vector<std::pair<PlugRef, PlugRef>> result;
    for (auto& [key, cell] : node->mCells) {
        PlugRef here{node, key.first, key.second};
        if (cell.mSource) result.emplace_back(*cell.mSource, here);
        for (const PlugRef& d : cell.mDestinations)
            if (d.mNode != node) result.emplace_back(here, d);
    }
    return result;
}

void Scene::reparent(Node* node, Node* parent) {
    if (node->mParent) {
        auto& siblings = node->mParent->mChildren;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    node->mParent = parent;
    if (parent) parent->mChildren.push_back(node);
    if (node->mType->isDag()) markDirty({node, baseAttributes().parentMatrix.get(), -1});
}

void Scene::markDirty(const PlugRef& plug) {
    plug.mNode->cell(plug.mAttribute, plug.mIndex).mDirty = true;
    propagateDirty(plug);
}

void Scene::propagateDirty(const PlugRef& changed) {
    const BaseAttributes& base = baseAttributes();
    std::set<PlugRef> visited{changed};
    std::vector<PlugRef> pending{changed};
    auto mark = [&](const PlugRef& p) {
        if (!visited.insert(p).second) return;
        p.mNode->cell(p.mAttribute, p.mIndex).mDirty = true;
        pending.push_back(p);
    };
    while (!pending.empty()) {
        PlugRef q = pending.back();
        pending.pop_back();
        Node* node = q.mNode;
        for (const Attribute* target : node->mType->affects(q.mAttribute)) {
            const Attribute* root = target->arrayRoot();
            if (!root) {
                mark({node, target, -1});
            } else if (root == q.mAttribute->arrayRoot() && q.mIndex >= 0) {
                mark({node, target, q.mIndex});
            } else {
                for (unsigned int i : node->elementIndices(root))
                    mark({node, target, static_cast<int>(i)});
            }
        }
        if (Cell* cell = node->findCell(q.mAttribute, q.mIndex))
            for (const PlugRef& d : std::vector<PlugRef>(cell->mDestinations)) mark(d);
        // A DAG node's world placement feeds its children's parentMatrix.
        if (q.mAttribute == base.worldMatrix.get())
            for (Node* child : node->mChildren) mark({child, base.parentMatrix.get(), -1});
    }
}

void Scene::assign(Value& to, const Attribute& toAttr, const Value& from, const Attribute& fromAttr) {
    switch (toAttr.mKind) {
    case AttrKind::Numeric: {
        const int n = componentCount(toAttr.mNumericType);
        for (int i = 0; i < n; ++i)
            setNumericComponent(to, toAttr.mNumericType, i,
                                numericComponent(from, fromAttr.mNumericType, i));
        break;
    }
    case AttrKind::Matrix: to.mMatrix = from.mMatrix; break;
    case AttrKind::Typed: to.mData = from.mData; break;
    default: break;
    }
}

Cell& Scene::evaluate(const PlugRef& plug) {
    Node* node = plug.mNode;
    const Attribute* attribute = plug.mAttribute;
    if (attribute->mKind == AttrKind::Compound) {
        // A compound's value is its children's; the compound's own cell holds them assembled.
        Cell& whole = node->cell(attribute, plug.mIndex);
        for (size_t i = 0; i < attribute->mChildren.size(); ++i) {
            const Attribute* child = attribute->mChildren[i].get();
            Cell& c = evaluate({node, child, plug.mIndex});
            if (i < 3 && child->mKind == AttrKind::Numeric)
                whole.mValue.mDouble3[i] = numericComponent(c.mValue, child->mNumericType, 0);
        }
        whole.mValue.mVector = MVector(whole.mValue.mDouble3);
        whole.mDirty = false;
        return whole;
    }
    Cell& cell = node->cell(attribute, plug.mIndex);
    if (!cell.mDirty || cell.mEvaluating) return cell;
    cell.mEvaluating = true;
    const size_t failuresBefore = mFailures.size();
    if (cell.mSource) {
        const PlugRef source = *cell.mSource;
        Cell& from = evaluate(source);
        assign(cell.mValue, *attribute, from.mValue, *source.mAttribute);
    } else if (node->mType->isComputed(attribute)) {
        compute(plug);
    }
    // A plug whose compute failed, here or upstream, stays dirty: the next read evaluates it
    // again (and fails again) rather than take what the failure left for its value.
    cell.mDirty = mFailures.size() > failuresBefore;
    cell.mEvaluating = false;
    return cell;
}

void Scene::compute(const PlugRef& plug) {
    MStatus status(MStatus::kUnknownParameter);
    if (plug.mNode->mUser) {
        MPlug apiPlug = Access::plug(plug);
        MDataBlock block = Access::block(plug.mNode);
        try {
            status = plug.mNode->mUser->compute(apiPlug, block);
        } catch (...) {
            noteException("compute", plug);
            return;
        }
    }
    if (status == MStatus::kUnknownParameter)
        builtinCompute(*this, plug);
    else if (!status)
        noteFailure("compute of " + plugName(plug) + " failed: " + status.errorString().asChar());
}

void Scene::noteException(const std::string& operation, const PlugRef& plug) {
    const std::string& plugin = plug.mNode->mType->mPlugin;
    const std::string where = plugin.empty() ? std::string(" in the host") : " in plug-in '" + plugin + "'";
    std::string what = operation + " of " + plugName(plug);
    try {
        throw;
    } catch (const std::bad_alloc&) {
        what += " ran out of memory" + where;
    } catch (const std::exception& e) {
        what += " threw an exception" + where + ": " + e.what();
    } catch (...) {
        what += " threw an exception" + where;
    }
    noteFailure(what);
}

}  // namespace hx
