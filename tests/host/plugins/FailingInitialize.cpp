//
// FailingInitialize: registers one node type, then reports failure from initializePlugin.
// The host must leave nothing of it registered.
//
#include <maya/MFnPlugin.h>

class leftoverNode : public MPxNode
{
public:
    static void* creator() { return new leftoverNode; }
    static MStatus initialize() { return MS::kSuccess; }
};

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0");
    plugin.registerNode("leftoverNode", MTypeId(0x70200), leftoverNode::creator, leftoverNode::initialize);
    return MS::kFailure;
}

MStatus uninitializePlugin(MObject)
{
    return MS::kSuccess;
}
