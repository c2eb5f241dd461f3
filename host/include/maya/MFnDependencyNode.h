#ifndef _MFnDependencyNode
#define _MFnDependencyNode
//
// MFnDependencyNode: names, type and plugs of a node.
//
#if defined __cplusplus

#include <maya/MFnBase.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MPlug.h>

class MPxNode;

class OPENMAYA_EXPORT MFnDependencyNode : public MFnBase
{
    declareMFn(MFnDependencyNode, MFnBase)

public:
    MObject attribute(const MString& attrName, MStatus* ReturnStatus = NULL) const;
    unsigned int attributeCount(MStatus* ReturnStatus = NULL) const;
    MObject attribute(unsigned int index, MStatus* ReturnStatus = NULL) const;
    bool hasAttribute(const MString& name, MStatus* ReturnStatus = NULL) const;
    MPlug findPlug(const MObject& attr, MStatus* ReturnStatus = NULL) const;
    MPlug findPlug(const MString& attrName, MStatus* ReturnStatus = NULL) const;
    MPlug findPlug(const MObject& attr, bool wantNetworkedPlug, MStatus* ReturnStatus = NULL) const;
    MPlug findPlug(const MString& attrName, bool wantNetworkedPlug, MStatus* ReturnStatus = NULL) const;
    MString name(MStatus* ReturnStatus = NULL) const;
    MString setName(const MString& name, MStatus* ReturnStatus = NULL);
    MTypeId typeId(MStatus* ReturnStatus = NULL) const;
    MString typeName(MStatus* ReturnStatus = NULL) const;
    MPxNode* userNode(MStatus* ReturnStatus = NULL) const;
};

#endif /* __cplusplus */
#endif /* _MFnDependencyNode */
