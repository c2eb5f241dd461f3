#ifndef _MFnStringData
#define _MFnStringData
//
// MFnStringData: data objects holding one string, the default of a string attribute
// (MFnTypedAttribute::create(..., MFnData::kString, data)).
//
#if defined __cplusplus

#include <maya/MFnData.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MFnStringData : public MFnData
{
    declareMFn(MFnStringData, MFnData)

public:
    MObject create(const MString& str, MStatus* ReturnStatus = NULL);
    MObject create(MStatus* ReturnStatus = NULL);
    MString string(MStatus* ReturnStatus = NULL) const;
    MStatus set(const MString& newString);
};

#endif /* __cplusplus */
#endif /* _MFnStringData */
