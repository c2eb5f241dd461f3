#ifndef _MDoubleArray
#define _MDoubleArray
//
// MDoubleArray: a growable array of double.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>

class OPENMAYA_EXPORT MDoubleArray
{
    declareMArray(MDoubleArray, double)

    MDoubleArray(unsigned int initialSize, double initialValue = 0.0);
    MStatus get(double dest[]) const;
    MStatus get(float dest[]) const;
};

#endif /* __cplusplus */
#endif /* _MDoubleArray */
