#ifndef _MVectorArray
#define _MVectorArray
//
// MVectorArray: a growable array of MVector.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>
#include <maya/MVector.h>

class OPENMAYA_EXPORT MVectorArray
{
    declareMArray(MVectorArray, MVector)

    MVectorArray(unsigned int initialSize, const MVector& initialValue = MVector::zero);
    MStatus get(double dest[][3]) const;
    MStatus get(float dest[][3]) const;
};

#endif /* __cplusplus */
#endif /* _MVectorArray */
