#ifndef _MPlugArray
#define _MPlugArray
//
// MPlugArray: a growable array of MPlug, as MPlug::connectedTo fills it.
//
#if defined __cplusplus

#include <maya/MArrayMembers.h>
#include <maya/MPlug.h>

class OPENMAYA_EXPORT MPlugArray
{
    declareMArray(MPlugArray, MPlug)

    MPlugArray(unsigned int initialSize, const MPlug& initialValue);
};

#endif /* __cplusplus */
#endif /* _MPlugArray */
