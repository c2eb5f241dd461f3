#ifndef _MFnMatrixAttribute
#define _MFnMatrixAttribute
//
// MFnMatrixAttribute: creates attributes holding a 4x4 matrix.
//
#if defined __cplusplus

#include <maya/MFnAttribute.h>

class MMatrix;
class MFloatMatrix;

class OPENMAYA_EXPORT MFnMatrixAttribute : public MFnAttribute
{
    declareMFn(MFnMatrixAttribute, MFnAttribute)

public:
    enum Type {
        kFloat = 0,
        kDouble = 1
    };

    MObject create(const MString& fullName, const MString& briefName, Type matrixType = kDouble,
                   MStatus* ReturnStatus = NULL);
    MStatus setDefault(const MMatrix& matrix);
    MStatus getDefault(MMatrix& matrix);
    MStatus setDefault(const MFloatMatrix& matrix);
    MStatus getDefault(MFloatMatrix& matrix);
};

#endif /* __cplusplus */
#endif /* _MFnMatrixAttribute */
