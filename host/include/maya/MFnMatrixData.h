#ifndef _MFnMatrixData
#define _MFnMatrixData
//
// MFnMatrixData: data objects holding one matrix, as matrix plugs give and take them
// (MPlug::getValue(MObject&), MPlug::setValue(MObject&)).
//
#if defined __cplusplus

#include <maya/MFnData.h>
#include <maya/MMatrix.h>

class OPENMAYA_EXPORT MFnMatrixData : public MFnData
{
    declareMFn(MFnMatrixData, MFnData)

public:
    MObject create(const MMatrix& in, MStatus* ReturnStatus = NULL);
    MObject create(MStatus* ReturnStatus = NULL);
    // The data's matrix (the identity when the set is not attached to matrix data).
    const MMatrix& matrix(MStatus* ReturnStatus = NULL) const;
    MStatus set(const MMatrix& matrix);
};

#endif /* __cplusplus */
#endif /* _MFnMatrixData */
