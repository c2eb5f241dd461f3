#include <maya/MDGModifier.h>
#include <maya/MDagModifier.h>
#include <maya/MPlug.h>

#include "../engine/Engine.h"
#include "../engine/Modifier.h"
#include "FnSet.h"

using hx::Access;
using hx::Edit;
using hx::Node;
using hx::NodeType;
using hx::PlugRef;

namespace {

std::string typeLabel(const MTypeId& id) {
    char text[32];
    snprintf(text, sizeof text, "id 0x%x", id.id());
    return text;
}

// A new node of `type`, queued for creation under `parent`.
MObject queueCreate(hx::ModifierState& state, const std::shared_ptr<NodeType>& type, Node* parent,
                    MStatus* ReturnStatus) {
    std::string error;
    hx::Ref<Node> node = hx::Engine::get().scene().instantiate(type, error);
    if (!node) {
        hx::report(ReturnStatus, Access::fail(MStatus::kFailure, error));
        return MObject();
    }
    Edit edit{Edit::Create};
    edit.mNode = node;
    edit.mParent = hx::Ref<Node>(parent);
    state.mEdits.push_back(edit);
    hx::report(ReturnStatus, MStatus());
    return Access::wrap(node.get());
}

// Whether a fault plan (see Faults.h) makes this creation fail; it knows it by the type's name.
bool createFaulted(const char* function, const std::shared_ptr<NodeType>& type, MStatus* ReturnStatus) {
    MStatus fault = hx::injectedFault(function, type ? std::string_view(type->mName) : std::string_view());
    hx::report(ReturnStatus, fault);
    return !fault;
}

MObject createDependNode(hx::ModifierState& state, const std::shared_ptr<NodeType>& type, const std::string& label,
                         MStatus* ReturnStatus) {
    if (createFaulted("MDGModifier::createNode", type, ReturnStatus)) return MObject();
    if (!type) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "unknown node type " + label));
        return MObject();
    }
    if (type->isDag()) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter,
                                              "'" + type->mName + "' is a DAG node type: create it with MDagModifier"));
        return MObject();
    }
    return queueCreate(state, type, nullptr, ReturnStatus);
}

MObject createDagNode(hx::ModifierState& state, const std::shared_ptr<NodeType>& type, const std::string& label,
                      const MObject& parentObject, MStatus* ReturnStatus) {
    if (createFaulted("MDagModifier::createNode", type, ReturnStatus)) return MObject();
    if (!type) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "unknown node type " + label));
        return MObject();
    }
    if (!type->isDag()) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter,
                                              "'" + type->mName + "' is not a DAG node type: use MDGModifier"));
        return MObject();
    }
    Node* parent = Access::as<Node>(parentObject);
    if (!parentObject.isNull() && (!parent || !parent->mType->isDag() || parent->mType->isShape())) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "the parent must be a transform"));
        return MObject();
    }
    if (!parent && type->isShape()) {
        // A shape always lives under a transform: make one, and hand back the transform.
        MObject transform = queueCreate(state, hx::Engine::get().findType("transform"), nullptr, ReturnStatus);
        if (transform.isNull()) return MObject();
        MObject shape = queueCreate(state, type, Access::as<Node>(transform), ReturnStatus);
        return shape.isNull() ? MObject() : transform;
    }
    return queueCreate(state, type, parent, ReturnStatus);
}

// Resolves a connection's plugs, choosing elements for bare multis: the source's first
// element, the destination's first element without a source.
MStatus connectionPlugs(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                        const MObject& destAttr, PlugRef& source, PlugRef& dest) {
    source = PlugRef{Access::as<Node>(sourceNode), Access::as<hx::Attribute>(sourceAttr), -1};
    dest = PlugRef{Access::as<Node>(destNode), Access::as<hx::Attribute>(destAttr), -1};
    if (!source.mNode || !dest.mNode) return Access::fail(MStatus::kInvalidParameter, "connect: a node is null");
    if (!source.mAttribute || !dest.mAttribute) return Access::fail(MStatus::kInvalidParameter, "connect: an attribute is null");
    if (source.mAttribute->inArray()) source.mIndex = 0;
    if (dest.mAttribute->inArray()) {
        int index = 0;
        for (hx::Cell* cell; (cell = dest.mNode->findCell(dest.mAttribute, index)) && cell->mSource;) ++index;
        dest.mIndex = index;
    }
    return MStatus();
}

MStatus queueConnection(hx::ModifierState& state, Edit::Kind kind, const PlugRef& source, const PlugRef& dest) {
    std::vector<std::pair<PlugRef, PlugRef>> pairs;
    std::string error;
    if (!hx::Engine::get().scene().connectionPairs(source, dest, pairs, error))
        return Access::fail(MStatus::kInvalidParameter, (kind == Edit::Connect ? "connect: " : "disconnect: ") + error);
    Edit edit{kind};
    edit.mSource = hx::Plug{hx::Ref<Node>(source.mNode), source.mAttribute, source.mIndex};
    edit.mDestination = hx::Plug{hx::Ref<Node>(dest.mNode), dest.mAttribute, dest.mIndex};
    state.mEdits.push_back(edit);
    return MStatus();
}

}  // namespace

MDGModifier::MDGModifier() : mState(new hx::ModifierState()) {}
MDGModifier::~MDGModifier() { delete mState; }

MObject MDGModifier::createNode(const MTypeId& typeId, MStatus* ReturnStatus) {
    return createDependNode(*mState, hx::Engine::get().findType(typeId.id()), typeLabel(typeId), ReturnStatus);
}

MObject MDGModifier::createNode(const MString& type, MStatus* ReturnStatus) {
    return createDependNode(*mState, hx::Engine::get().findType(type.asChar()),
                            std::string("'") + type.asChar() + "'", ReturnStatus);
}

MStatus MDGModifier::deleteNode(const MObject& node) {
    Node* n = Access::as<Node>(node);
    if (!n) return Access::fail(MStatus::kInvalidParameter, "deleteNode: the object is not a node");
    Edit edit{Edit::Delete};
    edit.mNode = hx::Ref<Node>(n);
    mState->mEdits.push_back(edit);
    return MStatus();
}

MStatus MDGModifier::renameNode(const MObject& node, const MString& newName) {
    Node* n = Access::as<Node>(node);
    if (!n) return Access::fail(MStatus::kInvalidParameter, "renameNode: the object is not a node");
    if (!hx::Scene::isValidName(newName.asChar()))
        return Access::fail(MStatus::kInvalidParameter, std::string("renameNode: '") + newName.asChar() +
                                                            "' is not a valid node name");
    Edit edit{Edit::Rename};
    edit.mNode = hx::Ref<Node>(n);
    edit.mName = newName.asChar();
    mState->mEdits.push_back(edit);
    return MStatus();
}

MStatus MDGModifier::connect(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                             const MObject& destAttr) {
    const hx::Attribute* into = Access::as<hx::Attribute>(destAttr);
    if (MStatus fault = hx::injectedFault("MDGModifier::connect", hx::faultSubject(into)); !fault) return fault;
    PlugRef source, dest;
    MStatus status = connectionPlugs(sourceNode, sourceAttr, destNode, destAttr, source, dest);
    return status ? queueConnection(*mState, Edit::Connect, source, dest) : status;
}

MStatus MDGModifier::connect(const MPlug& source, const MPlug& dest) {
    const hx::Attribute* into = Access::ref(dest).mAttribute;
    if (MStatus fault = hx::injectedFault("MDGModifier::connect", hx::faultSubject(into)); !fault) return fault;
    if (source.isNull() || dest.isNull()) return Access::fail(MStatus::kInvalidParameter, "connect: a plug is null");
    return queueConnection(*mState, Edit::Connect, Access::ref(source), Access::ref(dest));
}

MStatus MDGModifier::disconnect(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                                const MObject& destAttr) {
    PlugRef source{Access::as<Node>(sourceNode), Access::as<hx::Attribute>(sourceAttr), -1};
    PlugRef dest{Access::as<Node>(destNode), Access::as<hx::Attribute>(destAttr), -1};
    if (!source.mNode || !dest.mNode || !source.mAttribute || !dest.mAttribute)
        return Access::fail(MStatus::kInvalidParameter, "disconnect: a node or attribute is null");
    return queueConnection(*mState, Edit::Disconnect, source, dest);
}

MStatus MDGModifier::disconnect(const MPlug& source, const MPlug& dest) {
    if (source.isNull() || dest.isNull()) return Access::fail(MStatus::kInvalidParameter, "disconnect: a plug is null");
    return queueConnection(*mState, Edit::Disconnect, Access::ref(source), Access::ref(dest));
}

MStatus MDGModifier::doIt() {
    std::string error;
    if (!mState->apply(error)) return Access::fail(MStatus::kFailure, "doIt: " + error);
    return MStatus();
}

MStatus MDGModifier::undoIt() {
    std::string error;
    if (!mState->revert(error)) return Access::fail(MStatus::kFailure, "undoIt: " + error);
    return MStatus();
}

MDagModifier::MDagModifier() {}
MDagModifier::~MDagModifier() {}

MObject MDagModifier::createNode(const MTypeId& typeId, const MObject& parent, MStatus* ReturnStatus) {
    return createDagNode(*mState, hx::Engine::get().findType(typeId.id()), typeLabel(typeId), parent, ReturnStatus);
}

MObject MDagModifier::createNode(const MString& type, const MObject& parent, MStatus* ReturnStatus) {
    return createDagNode(*mState, hx::Engine::get().findType(type.asChar()), std::string("'") + type.asChar() + "'",
                         parent, ReturnStatus);
}

MStatus MDagModifier::reparentNode(const MObject& node, const MObject& newParent) {
    Node* n = Access::as<Node>(node);
    Node* parent = Access::as<Node>(newParent);
    if (!n || (!newParent.isNull() && !parent))
        return Access::fail(MStatus::kInvalidParameter, "reparentNode: the objects must be nodes");
    Edit edit{Edit::Reparent};
    edit.mNode = hx::Ref<Node>(n);
    edit.mParent = hx::Ref<Node>(parent);
    mState->mEdits.push_back(edit);
    return MStatus();
}
