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

hx::Engine& engine() { return hx::Engine::current(); }

std::string typeLabel(const MTypeId& id) {
    char text[32];
    snprintf(text, sizeof text, "id 0x%x", id.id());
    return text;
}

// A new node of `type`, queued for creation under `parent`.
MObject queueCreate(hx::ModifierState& state, const std::shared_ptr<NodeType>& type, Node* parent,
                    MStatus* ReturnStatus) {
    hx::Ref<Node> node;
    if (hx::Error error = engine().scene().instantiate(type, node)) {
        hx::report(ReturnStatus, Access::status(error));
        return MObject();
    }
    state.add(Edit::create(node, parent));
    hx::report(ReturnStatus, MStatus());
    return Access::wrap(node.get());
}

// Whether a fault plan (see HostTesting.h) makes this creation fail; it knows it by the type's name.
bool createFaulted(const char* function, const std::shared_ptr<NodeType>& type, MStatus* ReturnStatus) {
    MStatus fault = hx::injectedFault(function, type ? std::string_view(type->name()) : std::string_view());
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
        hx::report(ReturnStatus,
                   Access::fail(MStatus::kInvalidParameter,
                                "'" + type->name() + "' is a DAG node type: create it with MDagModifier"));
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
                                              "'" + type->name() + "' is not a DAG node type: use MDGModifier"));
        return MObject();
    }
    Node* parent = Access::as<Node>(parentObject);
    if (!parentObject.isNull() && (!parent || !parent->type()->isDag() || parent->type()->isShape())) {
        hx::report(ReturnStatus, Access::fail(MStatus::kInvalidParameter, "the parent must be a transform"));
        return MObject();
    }
    if (!parent && type->isShape()) {
        // A shape always lives under a transform: make one, and hand back the transform.
        MObject transform = queueCreate(state, engine().findType("transform"), nullptr, ReturnStatus);
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
    source = PlugRef{Access::as<Node>(sourceNode), Access::as<hx::Attribute>(sourceAttr), hx::ElementPath()};
    dest = PlugRef{Access::as<Node>(destNode), Access::as<hx::Attribute>(destAttr), hx::ElementPath()};
    if (!source.mNode || !dest.mNode) return Access::fail(MStatus::kInvalidParameter, "connect: a node is null");
    if (!source.mAttribute || !dest.mAttribute)
        return Access::fail(MStatus::kInvalidParameter, "connect: an attribute is null");
    for (int level = 0; level < source.mAttribute->arrayDepth(); ++level) source.mPath = source.mPath.with(level, 0);
    for (int level = 0; level < dest.mAttribute->arrayDepth(); ++level) {
        int index = 0;
        if (level + 1 == dest.mAttribute->arrayDepth())
            for (hx::Cell* cell;
                 (cell = dest.mNode->findCell(dest.mAttribute, dest.mPath.with(level, index))) && cell->source();)
                ++index;
        dest.mPath = dest.mPath.with(level, index);
    }
    return MStatus();
}

MStatus queueConnection(hx::ModifierState& state, Edit::Kind kind, const PlugRef& source, const PlugRef& dest) {
    std::vector<std::pair<PlugRef, PlugRef>> pairs;
    if (hx::Error error = engine().scene().connectionPairs(source, dest, pairs))
        return Access::status(error.within(kind == Edit::Connect ? "connect: " : "disconnect: "));
    state.add(Edit::connection(kind, source, dest));
    return MStatus();
}

Node* nodeOf(const MObject& object) { return Access::as<Node>(object); }

}  // namespace

MDGModifier::MDGModifier() : mState(new hx::ModifierState(engine().scene())) {}
MDGModifier::~MDGModifier() { delete mState; }

MObject MDGModifier::createNode(const MTypeId& typeId, MStatus* ReturnStatus) {
    return createDependNode(*mState, engine().findType(typeId.id()), typeLabel(typeId), ReturnStatus);
}

MObject MDGModifier::createNode(const MString& type, MStatus* ReturnStatus) {
    return createDependNode(*mState, engine().findType(type.asChar()), std::string("'") + type.asChar() + "'",
                            ReturnStatus);
}

MStatus MDGModifier::deleteNode(const MObject& node) {
    Node* n = nodeOf(node);
    if (!n) return Access::fail(MStatus::kInvalidParameter, "deleteNode: the object is not a node");
    mState->add(Edit::remove(n));
    return MStatus();
}

MStatus MDGModifier::renameNode(const MObject& node, const MString& newName) {
    Node* n = nodeOf(node);
    if (!n) return Access::fail(MStatus::kInvalidParameter, "renameNode: the object is not a node");
    if (!hx::Scene::isValidName(newName.asChar()))
        return Access::fail(MStatus::kInvalidParameter,
                            std::string("renameNode: '") + newName.asChar() + "' is not a valid node name");
    mState->add(Edit::rename(n, newName.asChar()));
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
    const PlugRef source{nodeOf(sourceNode), Access::as<hx::Attribute>(sourceAttr), hx::ElementPath()};
    const PlugRef dest{nodeOf(destNode), Access::as<hx::Attribute>(destAttr), hx::ElementPath()};
    if (!source.mNode || !dest.mNode || !source.mAttribute || !dest.mAttribute)
        return Access::fail(MStatus::kInvalidParameter, "disconnect: a node or attribute is null");
    return queueConnection(*mState, Edit::Disconnect, source, dest);
}

MStatus MDGModifier::disconnect(const MPlug& source, const MPlug& dest) {
    if (source.isNull() || dest.isNull()) return Access::fail(MStatus::kInvalidParameter, "disconnect: a plug is null");
    return queueConnection(*mState, Edit::Disconnect, Access::ref(source), Access::ref(dest));
}

MStatus MDGModifier::doIt() {
    if (hx::Error error = mState->apply()) return Access::fail(MStatus::kFailure, "doIt: " + error.message());
    return MStatus();
}

MStatus MDGModifier::undoIt() {
    mState->revert();
    return MStatus();
}

MDagModifier::MDagModifier() {}
MDagModifier::~MDagModifier() {}

MObject MDagModifier::createNode(const MTypeId& typeId, const MObject& parent, MStatus* ReturnStatus) {
    return createDagNode(*mState, engine().findType(typeId.id()), typeLabel(typeId), parent, ReturnStatus);
}

MObject MDagModifier::createNode(const MString& type, const MObject& parent, MStatus* ReturnStatus) {
    return createDagNode(*mState, engine().findType(type.asChar()), std::string("'") + type.asChar() + "'", parent,
                         ReturnStatus);
}

MStatus MDagModifier::reparentNode(const MObject& node, const MObject& newParent) {
    Node* n = nodeOf(node);
    Node* parent = nodeOf(newParent);
    if (!n || (!newParent.isNull() && !parent))
        return Access::fail(MStatus::kInvalidParameter, "reparentNode: the objects must be nodes");
    mState->add(Edit::reparent(n, parent));
    return MStatus();
}
