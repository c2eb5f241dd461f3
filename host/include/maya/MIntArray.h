#ifndef _MIntArray
#define _MIntArray
//
// MIntArray: a growable array of int.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>

class OPENMAYA_EXPORT MIntArray
{
    declareMArray(MIntArray, int)

    MIntArray(unsigned int initialSize, int initialValue = 0);
    MStatus get(int dest[]) const;
};

#endif /* __cplusplus */
#endif /* _MIntArray */
