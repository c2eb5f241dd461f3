//
// ArrayLift: a deformer that moves its points as one array, as large deformers do: every
// point out of the iterator with allPositions, "lift" added to y (in world space when
// "inWorld" is on, else in the object's own), and every point back with setAllPositions.
// Written against the host's public API only, in the host's C++98 dialect.
//
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MItGeometry.h>
#include <maya/MPointArray.h>
#include <maya/MPxDeformerNode.h>

class arrayLift : public MPxDeformerNode
{
public:
    static void* creator() { return new arrayLift; }
    static MStatus initialize();
    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex);

    static MTypeId id;
    static MObject lift, inWorld;
};

MTypeId arrayLift::id(0x70010);
MObject arrayLift::lift, arrayLift::inWorld;

MStatus arrayLift::initialize()
{
    MFnNumericAttribute nAttr;
    lift = nAttr.create("lift", "lf", MFnNumericData::kDouble, 0.0);
    inWorld = nAttr.create("inWorld", "iw", MFnNumericData::kBoolean, 0);
    MStatus status = addAttribute(lift);
    if (status) status = addAttribute(inWorld);
    if (status) status = attributeAffects(lift, outputGeom);
    if (status) status = attributeAffects(inWorld, outputGeom);
    return status;
}

MStatus arrayLift::deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned int)
{
    const double by = block.inputValue(lift).asDouble();
    const MSpace::Space space = block.inputValue(inWorld).asBool() ? MSpace::kWorld : MSpace::kObject;
    MPointArray points;
    MStatus status = iter.allPositions(points, space);
    if (!status) return status;
    for (unsigned int i = 0; i < points.length(); ++i) points[i].y += by;
    return iter.setAllPositions(points, space);
}

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any");
    return plugin.registerNode("arrayLift", arrayLift::id, arrayLift::creator, arrayLift::initialize,
                               MPxNode::kDeformerNode);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    return plugin.deregisterNode(arrayLift::id);
}
