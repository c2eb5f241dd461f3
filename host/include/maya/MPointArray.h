#ifndef _MPointArray
#define _MPointArray
//
// MPointArray: a growable array of MPoint.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>
#include <maya/MPoint.h>

class OPENMAYA_EXPORT MPointArray
{
    declareMArray(MPointArray, MPoint)

    MPointArray(unsigned int initialSize, const MPoint& initialValue = MPoint::origin);
    MStatus get(double dest[][4]) const;
    MStatus get(float dest[][4]) const;
};

#endif /* __cplusplus */
#endif /* _MPointArray */
