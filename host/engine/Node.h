// A node instance: its type, its plug-in object, its plugs' storage and its DAG links.
// Its name, its place in the graph and its DAG links change only through the scene, which
// keeps the name index and both ends of each link in step.
#pragma once

#include "Cell.h"
#include "NodeType.h"
#include "Object.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class MPxNode;

namespace hx {

class Node final : public Object {
public:
    Node(std::shared_ptr<NodeType> type, MPxNode* user);
    ~Node() override;

    MFn::Type apiType() const override { return mType->apiType(); }

    const std::shared_ptr<NodeType>& type() const { return mType; }
    // The plug-in's (or the host's) object for this node; null once released.
    MPxNode* user() const { return mUser; }
    const std::string& name() const { return mName; }
    bool inGraph() const { return mInGraph; }
    Node* parent() const { return mParent; }
    const std::vector<Node*>& children() const { return mChildren; }

    // The plug's storage, created with the attribute's default when first needed.
    Cell& cell(const Attribute* attribute, const ElementPath& path);
    Cell& cell(const PlugRef& plug) { return cell(plug.mAttribute, plug.mPath); }
    Cell* findCell(const Attribute* attribute, const ElementPath& path);
    Cell* findCell(const PlugRef& plug) { return findCell(plug.mAttribute, plug.mPath); }
    // Logical indices in use in a multi at the element `outer` chooses for the multis around
    // it: those of its own cells and of its descendants'.
    std::vector<unsigned int> elementIndices(const Attribute* arrayAttribute,
                                             const ElementPath& outer = ElementPath()) const;
    // Marks a plug clean; a compound's children (outside multis of their own) too, as a compound
    // is written whole.
    void setClean(const PlugRef& plug);
    // Every plug that has storage, with it.
    void forEachCell(const std::function<void(const PlugRef&, Cell&)>& visit);
    // Destroys the plug-in object while its code is still loaded (plug-in unload).
    void releaseUser();

private:
    friend class Scene;

    std::shared_ptr<NodeType> mType;
    MPxNode* mUser = nullptr;
    std::string mName;
    bool mInGraph = false;
    Node* mParent = nullptr;  // DAG
    std::vector<Node*> mChildren;
    std::map<std::pair<const Attribute*, ElementPath>, Cell> mCells;
};

// The value a fresh plug of this attribute holds.
void initialiseValue(Value& value, const Attribute& attribute);

}  // namespace hx
