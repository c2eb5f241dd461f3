//
// ValueSources: nodes that feed the hxNoise nodes values a scene of the host's own nodes
// cannot give them.
//   numberSource     an int and a float with no limits, to drive inputs past the limits
//                    that setAttr holds (a connected value reaches compute unclamped).
//   emptyCurveSource a vector-array output that holds no data object at all.
//
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>

class numberSource : public MPxNode
{
public:
    static void* creator() { return new numberSource; }
    static MStatus initialize()
    {
        MFnNumericAttribute nAttr;
        intValue = nAttr.create("intValue", "iv", MFnNumericData::kInt, 0);
        nAttr.setKeyable(true);
        addAttribute(intValue);
        floatValue = nAttr.create("floatValue", "fv", MFnNumericData::kFloat, 0);
        nAttr.setKeyable(true);
        addAttribute(floatValue);
        return MS::kSuccess;
    }
    static MObject intValue, floatValue;
};

MObject numberSource::intValue, numberSource::floatValue;

class emptyCurveSource : public MPxNode
{
public:
    static void* creator() { return new emptyCurveSource; }
    static MStatus initialize()
    {
        MFnTypedAttribute tAttr;
        curve = tAttr.create("curve", "crv", MFnData::kVectorArray); // no default data
        tAttr.setWritable(false);
        tAttr.setStorable(false);
        addAttribute(curve);
        return MS::kSuccess;
    }
    static MObject curve;
};

MObject emptyCurveSource::curve;

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0");
    MStatus status =
        plugin.registerNode("numberSource", MTypeId(0x70310), numberSource::creator, numberSource::initialize);
    if (status)
        status = plugin.registerNode("emptyCurveSource", MTypeId(0x70311), emptyCurveSource::creator,
                                     emptyCurveSource::initialize);
    return status;
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    MStatus status = plugin.deregisterNode(MTypeId(0x70311));
    if (status) status = plugin.deregisterNode(MTypeId(0x70310));
    return status;
}
