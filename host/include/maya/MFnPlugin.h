#ifndef _MFnPlugin
#define _MFnPlugin
//
// MFnPlugin: what a plug-in's initializePlugin/uninitializePlugin use to register and
// deregister its node types. Including it defines MApiVersion (see MApiVersion.h).
//
#if defined __cplusplus

#include <maya/MFnBase.h>
#include <maya/MApiVersion.h>
#include <maya/MPxNode.h>
#include <maya/MPxData.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#define PLUGIN_COMPANY "Autodesk"

class OPENMAYA_EXPORT MFnPlugin : public MFnBase
{
public:
    MFnPlugin();
    MFnPlugin(MObject& object, const char* vendor = "Unknown", const char* version = "Unknown",
              const char* requiredApiVersion = "Any", MStatus* ReturnStatus = 0L);
    virtual ~MFnPlugin();
    virtual MFn::Type type() const;
    static const char* className();

    MStatus registerNode(const MString& typeName, const MTypeId& typeId, MCreatorFunction creatorFunction,
                         MInitializeFunction initFunction, MPxNode::Type type = MPxNode::kDependNode,
                         const MString* classification = NULL);
    MStatus deregisterNode(const MTypeId& typeId);

    MString vendor(MStatus* ReturnStatus = NULL) const;
    MString version(MStatus* ReturnStatus = NULL) const;
    MString apiVersion(MStatus* ReturnStatus = NULL) const;
    MString name(MStatus* ReturnStatus = NULL) const;
    MString loadPath(MStatus* ReturnStatus = NULL) const;

private:
    MFnPlugin(const MFnPlugin&);
    MFnPlugin& operator=(const MFnPlugin&);
    MFnPlugin* operator&() const;
};

#endif /* __cplusplus */
#endif /* _MFnPlugin */
