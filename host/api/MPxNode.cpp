#include <maya/MPxNode.h>

#include "../engine/Engine.h"
#include "FnSet.h"

using hx::Access;
using hx::Attribute;

MObject MPxNode::message = Access::wrap(hx::baseAttributes().message.get());
MObject MPxNode::isHistoricallyInteresting = Access::wrap(hx::baseAttributes().isHistoricallyInteresting.get());
MObject MPxNode::caching = Access::wrap(hx::baseAttributes().caching.get());
MObject MPxNode::state = Access::wrap(hx::baseAttributes().nodeState.get());

MPxNode::MPxNode() : mNode(nullptr) {}
MPxNode::~MPxNode() {}
void MPxNode::postConstructor() {}
MStatus MPxNode::compute(const MPlug&, MDataBlock&) { return MStatus::kUnknownParameter; }
MPxNode::Type MPxNode::type() const { return kDependNode; }

MObject MPxNode::thisMObject() const { return Access::wrap(mNode); }
MTypeId MPxNode::typeId() const { return mNode ? MTypeId(mNode->mType->mId) : MTypeId(); }
MString MPxNode::typeName() const { return mNode ? MString(mNode->mType->mName.c_str()) : MString(); }
MString MPxNode::name() const { return mNode ? MString(mNode->mName.c_str()) : MString(); }

namespace {

// Every name of `attribute` and its children, so none can clash with the type's others.
bool namesFree(const hx::NodeType& type, const Attribute* attribute, std::string& clash) {
    for (const std::string* name : {&attribute->mName, &attribute->mShortName})
        if (type.find(*name)) {
            clash = *name;
            return false;
        }
    for (const auto& child : attribute->mChildren)
        if (!namesFree(type, child.get(), clash)) return false;
    return true;
}

void markAdded(Attribute* attribute) {
    attribute->mAdded = true;
    for (const auto& child : attribute->mChildren) markAdded(child.get());
}

}  // namespace

MStatus MPxNode::addAttribute(const MObject& attr) {
    auto* attribute = Access::as<Attribute>(attr);
    if (MStatus fault = hx::injectedFault("MPxNode::addAttribute", hx::faultSubject(attribute)); !fault) return fault;
    hx::NodeType* type = hx::Engine::get().initializing();
    if (!type)
        return Access::fail(MStatus::kFailure, "addAttribute: attributes can only be added while a node type initialises");
    if (!attribute) return Access::fail(MStatus::kInvalidParameter, "addAttribute: the object is not an attribute");
    if (attribute->mParent)
        return Access::fail(MStatus::kInvalidParameter,
                            "addAttribute: '" + attribute->mName + "' is a child; add its compound parent");
    if (attribute->mAdded)
        return Access::fail(MStatus::kFailure, "addAttribute: '" + attribute->mName + "' already belongs to a node type");
    std::string clash;
    if (!namesFree(*type, attribute, clash))
        return Access::fail(MStatus::kFailure,
                            "addAttribute: node type '" + type->mName + "' already has an attribute named '" + clash + "'");
    type->add(attribute);
    markAdded(attribute);
    return MStatus();
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    auto* from = Access::as<Attribute>(whenChanges);
    auto* to = Access::as<Attribute>(isAffected);
    if (MStatus fault = hx::injectedFault("MPxNode::attributeAffects", hx::faultSubject(from)); !fault) return fault;
    hx::NodeType* type = hx::Engine::get().initializing();
    if (!type)
        return Access::fail(MStatus::kFailure, "attributeAffects: only possible while a node type initialises");
    if (!from || !to || !type->has(from) || !type->has(to))
        return Access::fail(MStatus::kInvalidParameter,
                            "attributeAffects: both attributes must have been added to node type '" + type->mName + "'");
    type->addAffects(from, to);
    return MStatus();
}

MStatus MPxNode::inheritAttributesFrom(const MString& parentClassName) {
    hx::NodeType* type = hx::Engine::get().initializing();
    if (!type) return Access::fail(MStatus::kFailure, "inheritAttributesFrom: only possible while a node type initialises");
    auto parent = hx::Engine::get().findType(parentClassName.asChar());
    if (!parent || parent->mPlugin.empty() || parent->mBase != type->mBase)
        return Access::fail(MStatus::kInvalidParameter, std::string("inheritAttributesFrom: '") + parentClassName.asChar() +
                                                            "' is not a plug-in node type of the same kind");
    type->inherit(*parent);
    return MStatus();
}

MDataBlock MPxNode::forceCache(MDGContext&) { return Access::block(mNode); }
void MPxNode::setMPSafe(bool) {}
