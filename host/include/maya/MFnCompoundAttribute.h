#ifndef _MFnCompoundAttribute
#define _MFnCompoundAttribute
//
// MFnCompoundAttribute: creates attributes made of child attributes. Children are added
// before the compound is added to a node type; a plug of the compound holds its children's
// values.
//
#if defined __cplusplus

#include <maya/MFnAttribute.h>

class OPENMAYA_EXPORT MFnCompoundAttribute : public MFnAttribute
{
    declareMFn(MFnCompoundAttribute, MFnAttribute)

public:
    MObject create(const MString& fullName, const MString& briefName, MStatus* ReturnStatus = NULL);
    MStatus addChild(const MObject& child);
    MStatus removeChild(const MObject& child);
    unsigned int numChildren(MStatus* ReturnStatus = NULL) const;
    MObject child(unsigned int index, MStatus* ReturnStatus = NULL) const;
};

#endif /* __cplusplus */
#endif /* _MFnCompoundAttribute */
