#include <maya/MDataBlock.h>
#include <maya/MPlug.h>

#include "../engine/Engine.h"
#include "../engine/PlugPath.h"
#include "FnSet.h"

using hx::Access;
using hx::Attribute;
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

// The plug a block request names: the attribute must be the node's; for attributes inside
// a multi, the element comes from the plug.
bool locate(Node* node, const MObject& attribute, int index, PlugRef& ref, bool wholeArrayOk, MStatus* status) {
    auto* a = Access::as<Attribute>(attribute);
    if (!node || !a || !node->mType->has(a)) {
        hx::report(status, Access::fail(MStatus::kInvalidParameter,
                                        node ? "the attribute does not belong to node '" + node->mName + "'"
                                             : std::string("the data block has no node")));
        return false;
    }
    ref = PlugRef{node, a, index};
    if (a->inArray() && index < 0 && !(wholeArrayOk && a->mArray)) {
        hx::report(status, Access::fail(MStatus::kInvalidParameter,
                                        hx::plugName(ref) + " is inside a multi: ask for it through its plug"));
        return false;
    }
    hx::report(status, MStatus());
    return true;
}

MDataHandle input(Node* node, const MObject& attribute, int index, MStatus* status) {
    PlugRef ref;
    if (!locate(node, attribute, index, ref, true, status)) return MDataHandle();
    if (ref.mAttribute->mArray && ref.mIndex < 0)
        return Access::handle(node, ref.mAttribute, -1, &node->cell(ref.mAttribute, -1), true);
    hx::Cell& cell = hx::Engine::get().scene().evaluate(ref);
    return Access::handle(node, ref.mAttribute, ref.mIndex, &cell, true);
}

// Whether a fault plan (see Faults.h) makes this read or write of `attribute` fail.
bool faulted(const char* function, const MObject& attribute, MStatus* status) {
    MStatus fault = hx::injectedFault(function, hx::faultSubject(Access::as<Attribute>(attribute)));
    if (!fault) hx::report(status, fault);
    return !fault;
}

MDataHandle output(Node* node, const MObject& attribute, int index, MStatus* status) {
    PlugRef ref;
    if (!locate(node, attribute, index, ref, true, status)) return MDataHandle();
    return Access::handle(node, ref.mAttribute, ref.mIndex, &node->cell(ref.mAttribute, ref.mIndex), false);
}

}  // namespace

MDataBlock::MDataBlock() : mNode(nullptr) {}
MDataBlock::MDataBlock(const MDataBlock& other) : mNode(other.mNode) {}
MDataBlock& MDataBlock::operator=(const MDataBlock& other) {
    mNode = other.mNode;
    return *this;
}
MDataBlock::~MDataBlock() {}

MDataHandle MDataBlock::inputValue(const MPlug& plug, MStatus* st) {
    if (faulted("MDataBlock::inputValue", plug.attribute(), st)) return MDataHandle();
    return input(mNode, plug.attribute(), Access::ref(plug).mIndex, st);
}
MDataHandle MDataBlock::inputValue(const MObject& attribute, MStatus* st) {
    if (faulted("MDataBlock::inputValue", attribute, st)) return MDataHandle();
    return input(mNode, attribute, -1, st);
}
MDataHandle MDataBlock::outputValue(const MPlug& plug, MStatus* st) {
    if (faulted("MDataBlock::outputValue", plug.attribute(), st)) return MDataHandle();
    return output(mNode, plug.attribute(), Access::ref(plug).mIndex, st);
}
MDataHandle MDataBlock::outputValue(const MObject& attribute, MStatus* st) {
    if (faulted("MDataBlock::outputValue", attribute, st)) return MDataHandle();
    return output(mNode, attribute, -1, st);
}

MArrayDataHandle MDataBlock::inputArrayValue(const MPlug& plug, MStatus* st) {
    return MArrayDataHandle(input(mNode, plug.attribute(), -1, st), st);
}
MArrayDataHandle MDataBlock::inputArrayValue(const MObject& attribute, MStatus* st) {
    return MArrayDataHandle(input(mNode, attribute, -1, st), st);
}
MArrayDataHandle MDataBlock::outputArrayValue(const MPlug& plug, MStatus* st) {
    return MArrayDataHandle(output(mNode, plug.attribute(), -1, st), st);
}
MArrayDataHandle MDataBlock::outputArrayValue(const MObject& attribute, MStatus* st) {
    return MArrayDataHandle(output(mNode, attribute, -1, st), st);
}

MStatus MDataBlock::setClean(const MPlug& plug) {
    PlugRef ref;
    MStatus status;
    if (!locate(mNode, plug.attribute(), Access::ref(plug).mIndex, ref, true, &status)) return status;
    mNode->cell(ref.mAttribute, ref.mIndex).mDirty = false;
    return MStatus();
}
MStatus MDataBlock::setClean(const MObject& attribute) {
    PlugRef ref;
    MStatus status;
    if (!locate(mNode, attribute, -1, ref, true, &status)) return status;
    mNode->cell(ref.mAttribute, -1).mDirty = false;
    return MStatus();
}
bool MDataBlock::isClean(const MPlug& plug) {
    PlugRef ref;
    if (!locate(mNode, plug.attribute(), Access::ref(plug).mIndex, ref, true, nullptr)) return false;
    return !mNode->cell(ref.mAttribute, ref.mIndex).mDirty;
}
bool MDataBlock::isClean(const MObject& attribute, MStatus* ReturnStatus) {
    PlugRef ref;
    if (!locate(mNode, attribute, -1, ref, true, ReturnStatus)) return false;
    return !mNode->cell(ref.mAttribute, -1).mDirty;
}
