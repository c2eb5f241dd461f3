// The dependency graph: the nodes in the scene with their names and DAG links, their
// connections, dirty propagation and pull evaluation. The only way nodes join or leave the
// graph, change name or parent, and plugs connect or disconnect.
#pragma once

#include "Cell.h"
#include "Error.h"
#include "Node.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace hx {

class Scene {
public:
    // A node of `type`, made by its creator, not yet in the graph (no name, no links).
    Error instantiate(const std::shared_ptr<NodeType>& type, Ref<Node>& made);
    // Puts a node into the graph under `name` (empty: the automatic name) and `parent`.
    Error insert(Node* node, const std::string& name, Node* parent);
    // Takes a node out of the graph with all its connections and DAG links.
    void remove(Node* node);
    // Empties the scene, default nodes included.
    void clear();

    // Default nodes (time1) are in every scene: they cannot be deleted or renamed.
    void markDefault(Node* node) { mDefaults.push_back(node); }
    bool isDefault(const Node* node) const;

    Node* find(const std::string& name) const;
    const std::vector<Ref<Node>>& nodes() const { return mNodes; }
    // Type name plus the lowest free positive number: transform1, transform2, ...
    std::string automaticName(const std::string& base) const;
    Error rename(Node* node, const std::string& name);
    static bool isValidName(const std::string& name);
    // Places a DAG node under a transform (null: under the world).
    Error reparent(Node* node, Node* parent);

    // Pairs of leaf plugs a connection between these plugs consists of (compounds connect
    // child by child); fails with the reason when the plugs cannot be connected.
    Error connectionPairs(const PlugRef& source, const PlugRef& destination,
                          std::vector<std::pair<PlugRef, PlugRef>>& pairs) const;
    Error connect(const PlugRef& source, const PlugRef& destination);
    Error disconnect(const PlugRef& source, const PlugRef& destination);
    bool isConnected(const PlugRef& source, const PlugRef& destination) const;
    // All connections touching a node, as (source, destination) leaf plug pairs.
    std::vector<std::pair<PlugRef, PlugRef>> connectionsOf(Node* node) const;

    // The current value of a plug: pulls its source or computes it when dirty.
    Cell& evaluate(const PlugRef& plug);
    // A plug's value changed: everything it affects, downstream, becomes dirty.
    void propagateDirty(const PlugRef& changed);
    void markDirty(const PlugRef& plug);

    // Failures of compute and deform met while evaluating, oldest first: the host command
    // that asked for the values fails with them. takeFailures empties the list.
    void noteFailure(Error failure) { mFailures.push_back(std::move(failure)); }
    // From inside a catch block: notes that `operation` ("compute", "deform") of `plug`
    // threw, naming the plug-in of the node's type, as a host reports an exception that
    // escaped a plug-in. Running out of memory is said as such.
    void noteException(const std::string& operation, const PlugRef& plug);
    std::vector<Error> takeFailures() { return std::exchange(mFailures, {}); }

    // Copies a value across a connection, converting between numeric types.
    static void assign(Value& to, const Attribute& toAttr, const Value& from, const Attribute& fromAttr);

private:
    void link(Node* node, Node* parent);
    void compute(const PlugRef& plug);

    std::vector<Ref<Node>> mNodes;  // in creation order
    std::unordered_map<std::string, Node*> mByName;
    std::vector<Node*> mDefaults;
    std::vector<Error> mFailures;
};

}  // namespace hx
