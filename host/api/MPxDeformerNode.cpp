#include <maya/MDagModifier.h>
#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MSelectionList.h>

#include "../engine/BaseAttributes.h"
#include "../engine/Engine.h"
#include "FnSet.h"

using hx::Access;

MObject MPxDeformerNode::input = Access::wrap(hx::baseAttributes().input.get());
MObject MPxDeformerNode::inputGeom = Access::wrap(hx::baseAttributes().inputGeom.get());
MObject MPxDeformerNode::groupId = Access::wrap(hx::baseAttributes().groupId.get());
MObject MPxDeformerNode::outputGeom = Access::wrap(hx::baseAttributes().outputGeom.get());
MObject MPxDeformerNode::envelope = Access::wrap(hx::baseAttributes().envelope.get());
MObject MPxDeformerNode::weightList = Access::wrap(hx::baseAttributes().weightList.get());
MObject MPxDeformerNode::weights = Access::wrap(hx::baseAttributes().weights.get());

MPxDeformerNode::MPxDeformerNode() {}
MPxDeformerNode::~MPxDeformerNode() {}
MPxNode::Type MPxDeformerNode::type() const { return kDeformerNode; }
const char* MPxDeformerNode::className() { return "MPxDeformerNode"; }

// The base leaves the copied input as it is.
MStatus MPxDeformerNode::deform(MDataBlock&, MItGeometry&, const MMatrix&, unsigned int) { return MStatus(); }

MObject& MPxDeformerNode::accessoryAttribute() const {
    static MObject none;
    none = MObject();
    return none;
}

// No accessory by default: nothing to set up.
MStatus MPxDeformerNode::accessoryNodeSetup(MDagModifier&) { return MStatus(); }
void MPxDeformerNode::setModifiedCallback(MSelectionList&, bool) {}

// The painted weight of a point: weightList[geometry].weights[point], 1 where none is stored.
float MPxDeformerNode::weightValue(MDataBlock& block, unsigned int multiIndex, unsigned int wtIndex) {
    hx::Node* node = Access::blockNode(block);
    const hx::Attribute* weights = hx::baseAttributes().weights.get();
    if (!node || multiIndex > 0x7fffffffu || wtIndex > 0x7fffffffu) return 1.0f;
    const hx::PlugRef plug{node, weights,
                           hx::ElementPath::outer(static_cast<int>(multiIndex)).with(1, static_cast<int>(wtIndex))};
    // Most points have no weight of their own: looking first keeps them from getting storage.
    if (!node->findCell(plug)) return 1.0f;
    return hx::Engine::current().scene().evaluate(plug).value().mFloat;
}
void MPxDeformerNode::setUseExistingConnectionWhenSetEditing(bool) {}
