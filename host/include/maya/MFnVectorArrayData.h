#ifndef _MFnVectorArrayData
#define _MFnVectorArrayData
//
// MFnVectorArrayData: creates and reads data objects holding an array of vectors.
//
#if defined __cplusplus

#include <maya/MFnData.h>
#include <maya/MVectorArray.h>

class OPENMAYA_EXPORT MFnVectorArrayData : public MFnData
{
    declareMFn(MFnVectorArrayData, MFnData)

public:
    MObject create(const MVectorArray& in, MStatus* ReturnStatus = NULL);
    MObject create(MStatus* ReturnStatus = NULL);
    MVectorArray array(MStatus* ReturnStatus = NULL);
    unsigned int length(MStatus* ReturnStatus = NULL) const;
    MStatus set(const MVectorArray& newArray);
    MStatus copyTo(MVectorArray& dest) const;
};

#endif /* __cplusplus */
#endif /* _MFnVectorArrayData */
