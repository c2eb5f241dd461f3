#include <maya/MDagModifier.h>
#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MSelectionList.h>

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

// This host keeps no painted weights: every point has full weight.
float MPxDeformerNode::weightValue(MDataBlock&, unsigned int, unsigned int) { return 1.0f; }
void MPxDeformerNode::setUseExistingConnectionWhenSetEditing(bool) {}
