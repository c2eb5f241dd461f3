#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>

#include "../engine/BaseAttributes.h"
#include "../engine/BuiltinCompute.h"
#include "../engine/Engine.h"
#include "../engine/PlugPath.h"
#include "FnSet.h"

using hx::Access;
using hx::Node;

HX_DEFINE_MFN(MFnDependencyNode, MFn::kDependencyNode)

namespace {

hx::Scene& scene() { return hx::Engine::current().scene(); }

Node* nodeOf(const MObject& object, MStatus* ReturnStatus) {
    Node* node = Access::as<Node>(object);
    hx::report(ReturnStatus, node ? MStatus() : hx::notAttached("MFnDependencyNode"));
    return node;
}

// The attached node for a call a fault plan may refuse (`function` about `subject`); null, with
// the status saying why, when it is refused or nothing is attached.
Node* plannedNode(const char* function, std::string_view subject, const MObject& object, MStatus* ReturnStatus) {
    MStatus fault = hx::injectedFault(function, subject);
    hx::report(ReturnStatus, fault);
    return fault ? nodeOf(object, ReturnStatus) : nullptr;
}

}  // namespace

MObject MFnDependencyNode::attribute(const MString& attrName, MStatus* ReturnStatus) const {
    Node* node = plannedNode("MFnDependencyNode::attribute", attrName.asChar(), mObject, ReturnStatus);
    if (!node) return MObject();
    const hx::Attribute* a = node->type()->find(attrName.asChar());
    if (!a) {
        hx::report(ReturnStatus,
                   Access::fail(MStatus::kInvalidParameter, "node type '" + node->type()->name() +
                                                                "' has no attribute '" + attrName.asChar() + "'"));
        return MObject();
    }
    return Access::wrap(const_cast<hx::Attribute*>(a));
}

unsigned int MFnDependencyNode::attributeCount(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node ? static_cast<unsigned int>(node->type()->attributes().size()) : 0;
}

MObject MFnDependencyNode::attribute(unsigned int index, MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    if (!node) return MObject();
    if (index >= node->type()->attributes().size()) {
        hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    return Access::wrap(node->type()->attributes()[index].get());
}

bool MFnDependencyNode::hasAttribute(const MString& name, MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node && node->type()->find(name.asChar()) != nullptr;
}

MPlug MFnDependencyNode::findPlug(const MObject& attr, MStatus* ReturnStatus) const {
    auto* a = Access::as<hx::Attribute>(attr);
    Node* node = plannedNode("MFnDependencyNode::findPlug", hx::faultSubject(a), mObject, ReturnStatus);
    if (!node) return MPlug();
    if (!a || !node->type()->has(a)) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter,
                                              "the attribute does not belong to node '" + node->name() + "'"));
        return MPlug();
    }
    return Access::plug({node, a, hx::ElementPath()});
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, MStatus* ReturnStatus) const {
    Node* node = plannedNode("MFnDependencyNode::findPlug", attrName.asChar(), mObject, ReturnStatus);
    if (!node) return MPlug();
    hx::PlugRef ref;
    if (hx::Error error = hx::resolvePlugPath(node, attrName.asChar(), true, ref)) {
        hx::report(ReturnStatus, Access::status(error));
        return MPlug();
    }
    return Access::plug(ref);
}

MPlug MFnDependencyNode::findPlug(const MObject& attr, bool, MStatus* ReturnStatus) const {
    return findPlug(attr, ReturnStatus);
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, bool, MStatus* ReturnStatus) const {
    return findPlug(attrName, ReturnStatus);
}

MString MFnDependencyNode::name(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node ? MString(node->name().c_str()) : MString();
}

MString MFnDependencyNode::setName(const MString& name, MStatus* ReturnStatus) {
    Node* node = nodeOf(mObject, ReturnStatus);
    if (!node) return MString();
    if (hx::Error error = scene().rename(node, name.asChar())) hx::report(ReturnStatus, Access::status(error));
    return MString(node->name().c_str());
}

MTypeId MFnDependencyNode::typeId(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node ? MTypeId(node->type()->id()) : MTypeId();
}

MString MFnDependencyNode::typeName(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node ? MString(node->type()->name().c_str()) : MString();
}

MPxNode* MFnDependencyNode::userNode(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node ? node->user() : nullptr;
}

// MFnDagNode

MFnDagNode::MFnDagNode() {}
MFnDagNode::MFnDagNode(MObject& object, MStatus* ret) { hx::report(ret, attach(object)); }
MFnDagNode::MFnDagNode(const MObject& object, MStatus* ret) { hx::report(ret, attach(object)); }
MFnDagNode::MFnDagNode(const MDagPath& object, MStatus* ret) { hx::report(ret, attach(object.node())); }
MFnDagNode::~MFnDagNode() {}
MFn::Type MFnDagNode::type() const { return MFn::kDagNode; }
const char* MFnDagNode::className() { return "MFnDagNode"; }

unsigned int MFnDagNode::parentCount(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node && node->parent() ? 1 : 0;
}

MObject MFnDagNode::parent(unsigned int i, MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    if (!node || i != 0 || !node->parent()) {
        if (node) hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    return Access::wrap(node->parent());
}

unsigned int MFnDagNode::childCount(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    return node ? static_cast<unsigned int>(node->children().size()) : 0;
}

MObject MFnDagNode::child(unsigned int i, MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    if (!node || i >= node->children().size()) {
        if (node) hx::report(ReturnStatus, MStatus(MStatus::kInvalidParameter));
        return MObject();
    }
    return Access::wrap(node->children()[i]);
}

MStatus MFnDagNode::getPath(MDagPath& path) const {
    if (!Access::as<Node>(mObject)) return hx::notAttached("MFnDagNode");
    Access::setPathNode(path, mObject);
    return MStatus();
}

MDagPath MFnDagNode::dagPath(MStatus* ReturnStatus) const {
    MDagPath path;
    hx::report(ReturnStatus, getPath(path));
    return path;
}

MString MFnDagNode::fullPathName(MStatus* ReturnStatus) const { return dagPath(ReturnStatus).fullPathName(); }

bool MFnDagNode::isIntermediateObject(MStatus* ReturnStatus) const {
    Node* node = nodeOf(mObject, ReturnStatus);
    if (!node) return false;
    return scene().evaluate({node, hx::baseAttributes().intermediateObject.get(), hx::ElementPath()}).value().mBool;
}

// MDagPath

MDagPath::MDagPath() {}
MDagPath::MDagPath(const MDagPath&) = default;
MDagPath::~MDagPath() {}
MDagPath& MDagPath::operator=(const MDagPath&) = default;
bool MDagPath::operator==(const MDagPath& other) const { return mNode == other.mNode; }

MStatus MDagPath::getAPathTo(const MObject& node, MDagPath& path) {
    if (!node.hasFn(MFn::kDagNode)) return Access::fail(MStatus::kInvalidParameter, "not a DAG node");
    path.mNode = node;
    return MStatus();
}

bool MDagPath::isValid(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, MStatus());
    Node* node = Access::as<Node>(mNode);
    return node && node->inGraph();
}

MObject MDagPath::node(MStatus* ReturnStatus) const {
    hx::report(ReturnStatus, mNode.isNull() ? MStatus(MStatus::kInvalidParameter) : MStatus());
    return mNode;
}

MObject MDagPath::transform(MStatus* ReturnStatus) const {
    Node* node = Access::as<Node>(mNode);
    hx::report(ReturnStatus, node ? MStatus() : MStatus(MStatus::kInvalidParameter));
    if (node && node->type()->isShape() && node->parent()) return Access::wrap(node->parent());
    return mNode;
}

unsigned int MDagPath::length(MStatus* ReturnStatus) const {
    Node* node = Access::as<Node>(mNode);
    hx::report(ReturnStatus, node ? MStatus() : MStatus(MStatus::kInvalidParameter));
    unsigned int depth = 0;
    for (Node* n = node; n; n = n->parent()) ++depth;
    return depth;
}

MMatrix MDagPath::inclusiveMatrix(MStatus* ReturnStatus) const {
    Node* node = Access::as<Node>(mNode);
    hx::report(ReturnStatus, node ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return node ? hx::worldMatrixOf(scene(), node) : MMatrix();
}

MMatrix MDagPath::exclusiveMatrix(MStatus* ReturnStatus) const {
    Node* node = Access::as<Node>(mNode);
    hx::report(ReturnStatus, node ? MStatus() : MStatus(MStatus::kInvalidParameter));
    if (!node) return MMatrix();
    return scene().evaluate({node, hx::baseAttributes().parentMatrix.get(), hx::ElementPath()}).value().mMatrix;
}

MString MDagPath::fullPathName(MStatus* ReturnStatus) const {
    Node* node = Access::as<Node>(mNode);
    hx::report(ReturnStatus, node ? MStatus() : MStatus(MStatus::kInvalidParameter));
    std::string path;
    for (Node* n = node; n; n = n->parent()) path = "|" + n->name() + path;
    return MString(path.c_str());
}

MString MDagPath::partialPathName(MStatus* ReturnStatus) const {
    Node* node = Access::as<Node>(mNode);
    hx::report(ReturnStatus, node ? MStatus() : MStatus(MStatus::kInvalidParameter));
    return node ? MString(node->name().c_str()) : MString();
}
