#ifndef _MPlugArray
#define _MPlugArray
// MPlugArray: a growable array of MPlug, as MPlug::connectedTo fills it. Declared with the other arrays.
#include <maya/MArrays.h>
#endif /* _MPlugArray */
