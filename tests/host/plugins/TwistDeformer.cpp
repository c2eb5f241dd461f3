//
// TwistDeformer.cpp
//
// twistDeformer: twists geometry about the y axis. A point at height y turns by
//     envelope * weight * angle * y
// radians, where angle is the twist per unit of height and weight the point's painted
// weight. Written as a host user writes a deformer, in the host's C++98 dialect.
//
#include <maya/MFnPlugin.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MItGeometry.h>
#include <maya/MPxDeformerNode.h>

#include <math.h>

class twistDeformer : public MPxDeformerNode
{
public:
    twistDeformer() {}
    virtual ~twistDeformer() {}

    static void* creator();
    static MStatus initialize();

    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex);

    static MTypeId id;
    static MObject angle; // the twist per unit of height
};

MTypeId twistDeformer::id(0x70101);
MObject twistDeformer::angle;

void* twistDeformer::creator()
{
    return new twistDeformer();
}

MStatus twistDeformer::initialize()
{
    MFnUnitAttribute unitFn;
    angle = unitFn.create("angle", "ang", MFnUnitAttribute::kAngle, 0.0);
    unitFn.setKeyable(true);
    MStatus status = addAttribute(angle);
    if (!status) return status;
    return attributeAffects(angle, outputGeom);
}

MStatus twistDeformer::deform(MDataBlock& block, MItGeometry& iter, const MMatrix&, unsigned int multiIndex)
{
    MStatus status;
    MDataHandle envelopeData = block.inputValue(envelope, &status);
    if (!status) return status;
    const float env = envelopeData.asFloat();
    const double perUnit = block.inputValue(angle, &status).asAngle().asRadians();
    if (!status) return status;

    for (; !iter.isDone(); iter.next()) {
        MPoint pt = iter.position();
        const float weight = weightValue(block, multiIndex, iter.index());
        const double turn = env * weight * perUnit * pt.y;
        const double c = cos(turn), s = sin(turn);
        const double x = pt.x * c - pt.z * s;
        const double z = pt.x * s + pt.z * c;
        pt.x = x;
        pt.z = z;
        iter.setPosition(pt);
    }
    return status;
}

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any");
    return plugin.registerNode("twistDeformer", twistDeformer::id, twistDeformer::creator, twistDeformer::initialize,
                               MPxNode::kDeformerNode);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    return plugin.deregisterNode(twistDeformer::id);
}
