//
// WrongVersion: a plug-in built for a later API than this host provides.
//
#define MNoVersionString
#include <maya/MFnPlugin.h>

extern "C" {
PLUGIN_EXPORT char MApiVersion[] = "201602";
}

MStatus initializePlugin(MObject)
{
    return MS::kSuccess;
}

MStatus uninitializePlugin(MObject)
{
    return MS::kSuccess;
}
