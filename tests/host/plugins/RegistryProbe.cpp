//
// RegistryProbe: a plug-in whose initializePlugin tries the registrations a host must
// refuse and records each outcome for the tests (status codes, in call order).
//
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>

extern "C" {
PLUGIN_EXPORT int hxProbeResults[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
PLUGIN_EXPORT int hxProbeInitializeCalls = 0;
}

class probeNode : public MPxNode
{
public:
    static void* creator() { return new probeNode; }
    static MStatus initialize()
    {
        ++hxProbeInitializeCalls;
        MFnNumericAttribute nAttr;
        value = nAttr.create("value", "v", MFnNumericData::kInt, 1);
        addAttribute(value);
        // A second attribute with a name already taken must be refused.
        MObject clash = nAttr.create("other", "v", MFnNumericData::kInt, 1);
        hxProbeResults[5] = addAttribute(clash).statusCode();
        return MS::kSuccess;
    }
    static MStatus failingInitialize() { return MS::kFailure; }
    static MObject value;
};

MObject probeNode::value;

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0");
    hxProbeResults[0] =
        plugin.registerNode("probeNode", MTypeId(0x70100), probeNode::creator, probeNode::initialize).statusCode();
    hxProbeResults[1] =
        plugin.registerNode("probeNode", MTypeId(0x70101), probeNode::creator, probeNode::initialize).statusCode();
    hxProbeResults[2] =
        plugin.registerNode("probeOther", MTypeId(0x70100), probeNode::creator, probeNode::initialize).statusCode();
    hxProbeResults[3] =
        plugin.registerNode("probeFailing", MTypeId(0x70102), probeNode::creator, probeNode::failingInitialize)
            .statusCode();
    hxProbeResults[4] = plugin.deregisterNode(MTypeId(0x7FFFF)).statusCode();
    return MS::kSuccess;
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    return plugin.deregisterNode(MTypeId(0x70100));
}
