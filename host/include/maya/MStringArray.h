#ifndef _MStringArray
#define _MStringArray
//
// MStringArray: a growable array of MString.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MStringArray
{
    declareMArray(MStringArray, MString)

    MStringArray(unsigned int initialSize, const MString& initialValue);
};

#endif /* __cplusplus */
#endif /* _MStringArray */
