//
// TypeSquatter: a plug-in that registers one plain node type under SQUATTED_NAME with the
// type id SQUATTED_ID, so that a plug-in loaded after it finds that name or id taken.
// Built twice: as LocatorNameTaken ("noiseLocator") and as DeformerIdTaken (id 0xA1).
//
#include <maya/MFnPlugin.h>
#include <maya/MPxNode.h>

class squatter : public MPxNode
{
public:
    static void* creator() { return new squatter; }
    static MStatus initialize() { return MS::kSuccess; }
};

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0");
    return plugin.registerNode(SQUATTED_NAME, MTypeId(SQUATTED_ID), squatter::creator, squatter::initialize);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    return plugin.deregisterNode(MTypeId(SQUATTED_ID));
}
