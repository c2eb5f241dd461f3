#include <maya/MPxNode.h>

#include "../engine/BaseAttributes.h"
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
MTypeId MPxNode::typeId() const { return mNode ? MTypeId(mNode->type()->id()) : MTypeId(); }
MString MPxNode::typeName() const { return mNode ? MString(mNode->type()->name().c_str()) : MString(); }
MString MPxNode::name() const { return mNode ? MString(mNode->name().c_str()) : MString(); }

namespace {

// Every name of `attribute` and its children, so none can clash with the type's others.
bool namesFree(const hx::NodeType& type, const Attribute* attribute, std::string& clash) {
    for (const Attribute* a : attribute->subtree())
        for (const std::string* name : {&a->name(), &a->shortName()})
            if (type.find(*name)) {
                clash = *name;
                return false;
            }
    return true;
}

// The type whose initialiser runs, or the reason `function` cannot be called now.
hx::NodeType* initializingType(const std::string& function, MStatus& status) {
    hx::NodeType* type = hx::Engine::current().initializing();
    if (!type) status = Access::fail(MStatus::kFailure, function);
    return type;
}

}  // namespace

MStatus MPxNode::addAttribute(const MObject& attr) {
    auto* attribute = Access::as<Attribute>(attr);
    if (MStatus fault = hx::injectedFault("MPxNode::addAttribute", hx::faultSubject(attribute)); !fault) return fault;
    MStatus status;
    hx::NodeType* type =
        initializingType("addAttribute: attributes can only be added while a node type initialises", status);
    if (!type) return status;
    if (!attribute) return Access::fail(MStatus::kInvalidParameter, "addAttribute: the object is not an attribute");
    if (attribute->parent())
        return Access::fail(MStatus::kInvalidParameter,
                            "addAttribute: '" + attribute->name() + "' is a child; add its compound parent");
    if (attribute->isAdded())
        return Access::fail(MStatus::kFailure,
                            "addAttribute: '" + attribute->name() + "' already belongs to a node type");
    std::string clash;
    if (!namesFree(*type, attribute, clash))
        return Access::fail(MStatus::kFailure, "addAttribute: node type '" + type->name() +
                                                   "' already has an attribute named '" + clash + "'");
    type->add(attribute);
    return MStatus();
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    auto* from = Access::as<Attribute>(whenChanges);
    auto* to = Access::as<Attribute>(isAffected);
    if (MStatus fault = hx::injectedFault("MPxNode::attributeAffects", hx::faultSubject(from)); !fault) return fault;
    MStatus status;
    hx::NodeType* type = initializingType("attributeAffects: only possible while a node type initialises", status);
    if (!type) return status;
    if (!from || !to || !type->has(from) || !type->has(to))
        return Access::fail(
            MStatus::kInvalidParameter,
            "attributeAffects: both attributes must have been added to node type '" + type->name() + "'");
    type->addAffects(from, to);
    return MStatus();
}

MStatus MPxNode::inheritAttributesFrom(const MString& parentClassName) {
    MStatus status;
    hx::NodeType* type = initializingType("inheritAttributesFrom: only possible while a node type initialises", status);
    if (!type) return status;
    auto parent = hx::Engine::current().findType(parentClassName.asChar());
    if (!parent || parent->plugin().empty() || parent->base() != type->base())
        return Access::fail(MStatus::kInvalidParameter, std::string("inheritAttributesFrom: '") +
                                                            parentClassName.asChar() +
                                                            "' is not a plug-in node type of the same kind");
    type->inherit(*parent);
    return MStatus();
}

MDataBlock MPxNode::forceCache(MDGContext&) { return Access::block(mNode); }
void MPxNode::setMPSafe(bool) {}
