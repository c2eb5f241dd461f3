#ifndef _MFloatPointArray
#define _MFloatPointArray
//
// MFloatPointArray: a growable array of MFloatPoint.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>
#include <maya/MFloatPoint.h>

class OPENMAYA_EXPORT MFloatPointArray
{
    declareMArray(MFloatPointArray, MFloatPoint)

    MFloatPointArray(unsigned int initialSize, const MFloatPoint& initialValue = MFloatPoint::origin);
    MStatus get(float dest[][4]) const;
};

#endif /* __cplusplus */
#endif /* _MFloatPointArray */
