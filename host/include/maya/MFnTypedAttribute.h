#ifndef _MFnTypedAttribute
#define _MFnTypedAttribute
//
// MFnTypedAttribute: creates attributes that carry a data object (arrays, meshes, ...).
//
#if defined __cplusplus

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MTypeId.h>

class OPENMAYA_EXPORT MFnTypedAttribute : public MFnAttribute
{
    declareMFn(MFnTypedAttribute, MFnAttribute)

public:
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   MObject defaultData = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject create(const MString& fullName, const MString& briefName, const MTypeId& id,
                   MObject defaultData = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    // Obsolete form, kept for old sources: a fourth argument of type MStatus* selects it.
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type, MStatus* ReturnStatus);

    MFnData::Type attrType(MStatus* ReturnStatus = NULL) const;
    MStatus setDefault(const MObject& defaultData);
    MStatus getDefault(MObject& defaultData);
};

#endif /* __cplusplus */
#endif /* _MFnTypedAttribute */
