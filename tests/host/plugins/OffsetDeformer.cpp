//
// OffsetDeformer.cpp
//
// offsetDeformer: moves geometry along the y axis of a locator's space, by
//     envelope * weight * distance
// where weight is the point's painted weight. The deformer command's accessory set-up
// creates the locator and connects its matrix, so moving and turning the locator steers
// the offset. Written as a host user writes a deformer, in the host's C++98 dialect.
//
#include <maya/MDagModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MIOStream.h>
#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>

class offsetDeformer : public MPxDeformerNode
{
public:
    static void* creator() { return new offsetDeformer; }
    static MStatus initialize();

    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex);
    virtual MObject& accessoryAttribute() const;
    virtual MStatus accessoryNodeSetup(MDagModifier& cmd);

    static MTypeId id;
    static MObject offsetMatrix; // the locator's placement
    static MObject distance;
};

MTypeId offsetDeformer::id(0x70102);
MObject offsetDeformer::offsetMatrix;
MObject offsetDeformer::distance;

MStatus offsetDeformer::initialize()
{
    MFnMatrixAttribute matrixFn;
    offsetMatrix = matrixFn.create("offsetMatrix", "om");
    matrixFn.setStorable(false);
    matrixFn.setConnectable(true);

    MFnUnitAttribute unitFn;
    distance = unitFn.create("distance", "dst", MDistance(1.0, MDistance::kCentimeters));
    unitFn.setKeyable(true);

    MStatus status = addAttribute(offsetMatrix);
    if (status) status = addAttribute(distance);
    if (status) status = attributeAffects(offsetMatrix, outputGeom);
    if (status) status = attributeAffects(distance, outputGeom);
    return status;
}

MStatus offsetDeformer::deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned int multiIndex)
{
    MStatus status;
    const float env = block.inputValue(envelope, &status).asFloat();
    if (!status) return status;
    const double along = block.inputValue(distance, &status).asDistance().asCentimeters();
    if (!status) return status;
    const MMatrix space = block.inputValue(offsetMatrix, &status).asMatrix();
    if (!status) return status;
    const MMatrix toSpace = space.inverse();

    for (; !iter.isDone(); iter.next()) {
        MPoint pt = iter.position();
        pt *= toSpace;
        pt.y += env * weightValue(block, multiIndex, iter.index()) * along;
        pt *= space;
        iter.setPosition(pt);
    }
    return status;
}

MObject& offsetDeformer::accessoryAttribute() const
{
    return offsetMatrix;
}

// A locator (the host hands back the transform above it) whose matrix drives offsetMatrix.
MStatus offsetDeformer::accessoryNodeSetup(MDagModifier& cmd)
{
    MStatus status;
    MObject locator = cmd.createNode("locator", MObject::kNullObj, &status);
    if (!status) return status;
    MFnDependencyNode locatorFn(locator);
    MString attrName;
    attrName.set("matrix");
    MObject matrixAttr = locatorFn.attribute(attrName, &status);
    if (!status) return status;
    return cmd.connect(locator, matrixAttr, thisMObject(), offsetMatrix);
}

MStatus initializePlugin(MObject obj)
{
    MStatus status;
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any", &status);
    CHECK_MSTATUS_AND_RETURN_IT(status);
    status = plugin.registerNode("offsetDeformer", offsetDeformer::id, offsetDeformer::creator,
                                 offsetDeformer::initialize, MPxNode::kDeformerNode);
    CHECK_MSTATUS(status);
    return status;
}

MStatus uninitializePlugin(MObject obj)
{
    MStatus status = MFnPlugin(obj).deregisterNode(offsetDeformer::id);
    CHECK_MSTATUS(status);
    return status;
}
