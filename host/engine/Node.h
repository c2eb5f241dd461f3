// A node instance: its type, its plug-in object, its plugs' storage and its DAG links.
#pragma once

#include "Cell.h"
#include "NodeType.h"
#include "Object.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class MPxNode;

namespace hx {

class Node final : public Object {
public:
    Node(std::shared_ptr<NodeType> type, MPxNode* user);
    ~Node() override;

    MFn::Type apiType() const override { return mType->apiType(); }

    // The plug's storage, created with the attribute's default when first needed.
    Cell& cell(const Attribute* attribute, int index);
    Cell* findCell(const Attribute* attribute, int index);
    // Logical indices in use under a multi attribute (its own cells or its children's).
    std::vector<unsigned int> elementIndices(const Attribute* arrayAttribute) const;
    // Destroys the plug-in object while its code is still loaded (plug-in unload).
    void releaseUser();

    std::shared_ptr<NodeType> mType;
    MPxNode* mUser = nullptr;
    std::string mName;
    bool mInGraph = false;
    Node* mParent = nullptr;  // DAG
    std::vector<Node*> mChildren;
    std::map<std::pair<const Attribute*, int>, Cell> mCells;
};

// The value a fresh plug of this attribute holds.
void initialiseValue(Value& value, const Attribute& attribute);

}  // namespace hx
