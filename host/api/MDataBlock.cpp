#include <maya/MDataBlock.h>
#include <maya/MPlug.h>

#include "../engine/Engine.h"
#include "../engine/PlugPath.h"
#include "FnSet.h"

using hx::Access;
using hx::Attribute;
using hx::ElementPath;
using hx::Node;
using hx::PlugRef;

namespace hx {

MDataBlock Access::block(Node* node) {
    MDataBlock block;
    block.mNode = node;
    return block;
}

}  // namespace hx

namespace {

// The plug a block request names: the attribute must be the node's; inside a multi the
// elements come from the plug (a bare attribute has none).
bool locate(Node* node, const MObject& attribute, const ElementPath& path, PlugRef& ref, MStatus* status) {
    auto* a = Access::as<Attribute>(attribute);
    if (!node || !a || !node->type()->has(a)) {
        hx::report(status, Access::fail(MStatus::kInvalidParameter,
                                        node ? "the attribute does not belong to node '" + node->name() + "'"
                                             : std::string("the data block has no node")));
        return false;
    }
    ref = PlugRef{node, a, path};
    if (!ref.isComplete() && !ref.isWholeArray()) {
        hx::report(status, Access::fail(MStatus::kInvalidParameter,
                                        hx::plugName(ref) + " is inside a multi: ask for it through its plug"));
        return false;
    }
    hx::report(status, MStatus());
    return true;
}

PlugRef plugOf(const MPlug& plug) { return Access::ref(plug); }

MDataHandle input(Node* node, const MObject& attribute, const ElementPath& path, MStatus* status) {
    PlugRef ref;
    if (!locate(node, attribute, path, ref, status)) return MDataHandle();
    if (ref.isWholeArray()) return Access::handle(ref, &node->cell(ref), true);
    return Access::handle(ref, &hx::Engine::current().scene().evaluate(ref), true);
}

MDataHandle output(Node* node, const MObject& attribute, const ElementPath& path, MStatus* status) {
    PlugRef ref;
    if (!locate(node, attribute, path, ref, status)) return MDataHandle();
    return Access::handle(ref, &node->cell(ref), false);
}

const bool kInput = true, kOutput = false;

// inputValue and outputValue, which a fault plan (see HostTesting.h) may refuse.
MDataHandle value(bool forInput, Node* node, const MObject& attribute, const ElementPath& path, MStatus* status) {
    const char* function = forInput ? "MDataBlock::inputValue" : "MDataBlock::outputValue";
    MStatus fault = hx::injectedFault(function, hx::faultSubject(Access::as<Attribute>(attribute)));
    if (!fault) {
        hx::report(status, fault);
        return MDataHandle();
    }
    return forInput ? input(node, attribute, path, status) : output(node, attribute, path, status);
}

MStatus clean(Node* node, const MObject& attribute, const ElementPath& path) {
    PlugRef ref;
    MStatus status;
    if (!locate(node, attribute, path, ref, &status)) return status;
    node->setClean(ref);
    return MStatus();
}

bool isCleanPlug(Node* node, const MObject& attribute, const ElementPath& path, MStatus* status) {
    PlugRef ref;
    if (!locate(node, attribute, path, ref, status)) return false;
    return !node->cell(ref).isDirty();
}

}  // namespace

MDataBlock::MDataBlock() : mNode(nullptr) {}
MDataBlock::MDataBlock(const MDataBlock&) = default;
MDataBlock& MDataBlock::operator=(const MDataBlock&) = default;
MDataBlock::~MDataBlock() {}

MDataHandle MDataBlock::inputValue(const MPlug& plug, MStatus* st) {
    return value(kInput, mNode, plug.attribute(), plugOf(plug).mPath, st);
}
MDataHandle MDataBlock::inputValue(const MObject& attribute, MStatus* st) {
    return value(kInput, mNode, attribute, ElementPath(), st);
}
MDataHandle MDataBlock::outputValue(const MPlug& plug, MStatus* st) {
    return value(kOutput, mNode, plug.attribute(), plugOf(plug).mPath, st);
}
MDataHandle MDataBlock::outputValue(const MObject& attribute, MStatus* st) {
    return value(kOutput, mNode, attribute, ElementPath(), st);
}

// A multi's handle is read whole: a fault plan's read failures are for element values.
MArrayDataHandle MDataBlock::inputArrayValue(const MPlug& plug, MStatus* st) {
    return MArrayDataHandle(input(mNode, plug.attribute(), plugOf(plug).mPath, st), st);
}
MArrayDataHandle MDataBlock::inputArrayValue(const MObject& attribute, MStatus* st) {
    return MArrayDataHandle(input(mNode, attribute, ElementPath(), st), st);
}
MArrayDataHandle MDataBlock::outputArrayValue(const MPlug& plug, MStatus* st) {
    return MArrayDataHandle(output(mNode, plug.attribute(), plugOf(plug).mPath, st), st);
}
MArrayDataHandle MDataBlock::outputArrayValue(const MObject& attribute, MStatus* st) {
    return MArrayDataHandle(output(mNode, attribute, ElementPath(), st), st);
}

MStatus MDataBlock::setClean(const MPlug& plug) { return clean(mNode, plug.attribute(), plugOf(plug).mPath); }
MStatus MDataBlock::setClean(const MObject& attribute) { return clean(mNode, attribute, ElementPath()); }
bool MDataBlock::isClean(const MPlug& plug) { return isCleanPlug(mNode, plug.attribute(), plugOf(plug).mPath, NULL); }
bool MDataBlock::isClean(const MObject& attribute, MStatus* ReturnStatus) {
    return isCleanPlug(mNode, attribute, ElementPath(), ReturnStatus);
}
