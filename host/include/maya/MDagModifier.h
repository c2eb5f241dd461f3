#ifndef _MDagModifier
#define _MDagModifier
//
// MDagModifier: an MDGModifier that also creates DAG nodes under a parent and reparents.
//
#if defined __cplusplus

#include <maya/MDGModifier.h>

class OPENMAYA_EXPORT MDagModifier : public MDGModifier
{
public:
    MDagModifier();
    virtual ~MDagModifier();

    // These hide the MDGModifier overloads: to pass a status, pass the parent too.
    MObject createNode(const MTypeId& typeId, const MObject& parent = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject createNode(const MString& type, const MObject& parent = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MStatus reparentNode(const MObject& node, const MObject& newParent = MObject::kNullObj);

private:
    MDagModifier(const MDagModifier&);
    MDagModifier& operator=(const MDagModifier&);
};

#endif /* __cplusplus */
#endif /* _MDagModifier */
