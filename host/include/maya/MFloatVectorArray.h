#ifndef _MFloatVectorArray
#define _MFloatVectorArray
//
// MFloatVectorArray: a growable array of MFloatVector.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>
#include <maya/MFloatVector.h>

class OPENMAYA_EXPORT MFloatVectorArray
{
    declareMArray(MFloatVectorArray, MFloatVector)

    MFloatVectorArray(unsigned int initialSize, const MFloatVector& initialValue = MFloatVector::zero);
    MStatus get(float dest[][3]) const;
};

#endif /* __cplusplus */
#endif /* _MFloatVectorArray */
